#include "app/PanelDimmer.h"

#include <QPainter>

namespace {

// Dark enough to read as switched off, light enough to still show the settings.
const QColor kShade(0x08, 0x08, 0x0a, 130);

}  // namespace

PanelDimmer::PanelDimmer(QWidget& panel) : QWidget(&panel) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(panel.rect());
}

void PanelDimmer::setDimmed(bool dimmed) {
    setVisible(dimmed);
    if (dimmed)
        raise();
}

void PanelDimmer::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), kShade);
}
