#include "controls/SPButton.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QStyleOptionButton>

#include "controls/ImageStrip.h"

SPButton::SPButton(QWidget* parent, int tag) : QAbstractButton(parent), m_tag(tag) {
    if (m_tag != 0)
        m_cell.setImageDivideNum(m_tag);
    setFocusPolicy(m_tag != 0 ? Qt::NoFocus : Qt::StrongFocus);
}

void SPButton::setImage(const QImage& strip) {
    m_image = strip;
    updateGeometry();
    update();
}

bool SPButton::isBorderVisible() const {
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != window())
        return false;
    return rect().contains(mapFromGlobal(QCursor::pos()));
}

QSize SPButton::sizeHint() const {
    if (m_image.isNull() || m_cell.imageDivideNum() < 1)
        return QAbstractButton::sizeHint().expandedTo({16, 16});
    return {m_image.width(), velk::controls::stripFrameHeight(m_image, m_cell.imageDivideNum())};
}

void SPButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_cell.drawWithFrame(painter, rect()))
        return;
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text();
    option.icon = icon();
    option.iconSize = iconSize();
    if (isDown())
        option.state |= QStyle::State_Sunken;
    if (isChecked())
        option.state |= QStyle::State_On;
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
}

void SPButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    redrawForPointer();
}

void SPButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    redrawForPointer();
}

void SPButton::redrawForPointer() {
    if (m_tag != 0 && isEnabled())
        repaint();
}
