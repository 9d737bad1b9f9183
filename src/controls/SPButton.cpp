#include "controls/SPButton.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QStyleOptionButton>

#include "controls/FocusMark.h"
#include "controls/ImageStrip.h"

SPButton::SPButton(QWidget* parent, int tag) : QAbstractButton(parent), m_tag(tag) {
    if (m_tag != 0)
        m_cell.setImageDivideNum(m_tag);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) { m_words.applyTo(*this, on ? 1 : 0); });
}

void SPButton::setWords(ControlWords words) {
    m_words = std::move(words);
    m_words.applyTo(*this, isChecked() ? 1 : 0);
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
    return velk::controls::stripFrameSize(m_image, m_cell.imageDivideNum());
}

void SPButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_cell.drawWithFrame(painter, rect()))
        paintPlainButton(painter);
    if (velk::controls::showsFocusMark(*this))
        velk::controls::paintFocusFrame(painter, rect());
}

void SPButton::paintPlainButton(QPainter& painter) {
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
