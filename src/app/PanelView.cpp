#include "app/PanelView.h"

#include <QPainter>

#include "app/PanelLayout.h"
#include "controls/ImageStrip.h"

PanelView::PanelView(const char* baseImage, QWidget* parent)
    : QWidget(parent), m_base(velk::controls::resourceImage(baseImage)) {
    setFixedSize(velk::layout::kPanelSize);
}

QSize PanelView::sizeHint() const {
    return velk::layout::kPanelSize;
}

void PanelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(rect(), m_base);
}
