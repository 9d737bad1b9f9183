#include "controls/SPDialControl.h"

#include <QKeyEvent>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>
#include <QStylePainter>
#include <QWheelEvent>
#include <algorithm>
#include <optional>

#include "controls/FocusMark.h"
#include "controls/ImageStrip.h"

namespace {

struct DefaultStrip {
    QImage image;
    int divide = 1;
};

DefaultStrip& defaultStrip() {
    static DefaultStrip strip;
    return strip;
}

std::optional<QMetaProperty> boundProperty(const QObject* object, const QByteArray& name) {
    if (!object)
        return std::nullopt;
    const int index = object->metaObject()->indexOfProperty(name.constData());
    if (index < 0)
        return std::nullopt;
    return object->metaObject()->property(index);
}

constexpr qreal kFocusRingInset = 2.0;

bool shiftHeld(const QInputEvent* event) {
    return event->modifiers().testFlag(Qt::ShiftModifier);
}

}  // namespace

void SPDialControl::setDefaultImage(const QImage& image, int divide) {
    defaultStrip().image = image;
    defaultStrip().divide = divide;
}

SPDialControl::SPDialControl(QWidget* parent) : QAbstractSlider(parent) {
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::valueChanged, this, [this](int value) { m_words.applyTo(*this, value); });
    const DefaultStrip& strip = defaultStrip();
    if (!strip.image.isNull() && strip.divide > 0) {
        m_cell.setImageDivideNum(strip.divide);
        setImage(strip.image);
    }
}

void SPDialControl::setImage(const QImage& image) {
    if (!image.isNull() && m_cell.imageDivideNum() >= 1) {
        resize(velk::controls::stripFrameSize(image, m_cell.imageDivideNum()));
        updateGeometry();
    }
    m_cell.setImage(image);
    update();
}

void SPDialControl::setWords(ControlWords words) {
    m_words = std::move(words);
    m_words.applyTo(*this, value());
}

void SPDialControl::bindValue(QObject* model, const char* propertyName) {
    if (m_boundObject)
        disconnect(m_boundObject, nullptr, this, nullptr);
    m_boundObject = model;
    m_boundProperty = propertyName;
    const std::optional<QMetaProperty> property = boundProperty(model, m_boundProperty);
    if (!property)
        return;
    if (property->hasNotifySignal()) {
        const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("updateFromBoundValue()"));
        connect(model, property->notifySignal(), this, slot);
    }
    updateFromBoundValue();
}

void SPDialControl::notifyValueToModelObject() {
    if (!isEnabled())
        return;
    if (const std::optional<QMetaProperty> property = boundProperty(m_boundObject, m_boundProperty)) {
        const float held = property->read(m_boundObject).toFloat();
        if (held != static_cast<float>(value()))
            property->write(m_boundObject, QVariant(static_cast<float>(value())));
    }
    emit action(this);
}

bool SPDialControl::isTopmostAt(QPointF point) const {
    const QWidget* parent = parentWidget();
    if (!parent)
        return rect().contains(point.toPoint());
    return parent->childAt(mapToParent(point.toPoint())) == this;
}

QSize SPDialControl::sizeHint() const {
    const QImage& strip = m_cell.image();
    if (strip.isNull() || m_cell.imageDivideNum() < 1)
        return QAbstractSlider::sizeHint();
    return velk::controls::stripFrameSize(strip, m_cell.imageDivideNum());
}

void SPDialControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_cell.drawWithFrame(painter, rect()))
        paintPlainDial(painter);
    if (velk::controls::showsFocusMark(*this))
        paintFocusMark(painter);
}

void SPDialControl::paintFocusMark(QPainter& painter) const {
    // The widest ring about the knob's axis that stays inside the dial.
    const QPointF centre = m_cell.centre();
    const qreal reach = std::min({centre.x(), centre.y(), width() - centre.x(), height() - centre.y()});
    velk::controls::paintFocusRing(painter, centre, reach - kFocusRingInset);
}

void SPDialControl::paintPlainDial(QPainter& painter) {
    QStyleOptionSlider option;
    option.initFrom(this);
    option.minimum = minimum();
    option.maximum = maximum();
    option.sliderPosition = value();
    option.sliderValue = value();
    option.subControls = QStyle::SC_All;
    style()->drawComplexControl(QStyle::CC_Dial, &option, &painter, this);
}

void SPDialControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    // The press may already announce a change, and whoever hears it may cancel the drag.
    m_lastPoint = event->position();
    m_tracking = true;
    if (!m_cell.startTrackingAt(m_lastPoint)) {
        m_tracking = false;
        event->ignore();
    }
}

void SPDialControl::mouseMoveEvent(QMouseEvent* event) {
    if (!m_tracking)
        return;
    m_tracking = m_cell.continueTracking(m_lastPoint, event->position(), shiftHeld(event));
    m_lastPoint = event->position();
}

void SPDialControl::mouseReleaseEvent(QMouseEvent*) {
    m_tracking = false;
}

void SPDialControl::keyPressEvent(QKeyEvent* event) {
    bool increase = false;
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Right:
            increase = true;
            break;
        case Qt::Key_Down:
        case Qt::Key_Left:
            increase = false;
            break;
        default:
            keyPressedForSlider(event);
            return;
    }
    m_cell.setValueByUser(m_cell.calcIncDecValue(increase, shiftHeld(event)));
}

void SPDialControl::keyPressedForSlider(QKeyEvent* event) {
    // Home, End, Page Up and Page Down turn the knob as the slider knows them; the amplifier must
    // hear of that as of any other turn.
    const int before = value();
    QAbstractSlider::keyPressEvent(event);
    if (value() != before)
        notifyValueToModelObject();
}

void SPDialControl::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (!isEnabled() || delta == 0) {
        event->ignore();
        return;
    }
    m_cell.setValueByUser(m_cell.calcIncDecValue(delta > 0, shiftHeld(event)));
}

void SPDialControl::updateFromBoundValue() {
    if (const std::optional<QMetaProperty> property = boundProperty(m_boundObject, m_boundProperty))
        setValue(property->read(m_boundObject).toInt());
}
