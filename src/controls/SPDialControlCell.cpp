#include "controls/SPDialControlCell.h"

#include <QPainter>
#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <numbers>

#include "controls/ImageStrip.h"
#include "controls/LogarithmicScale.h"
#include "controls/SPDialControl.h"

namespace {

std::atomic<int> s_behavior{SPDialControlCell::eBehavior_Absolute};

constexpr double kDefaultMaxDegree = 330.0;
// 150 degrees: where the sweep starts, counter-clockwise from the top.
constexpr float kSweepStart = 2.6179938f;
// A drag that would move the knob by half its travel or more crossed the gap between the ends.
constexpr int kJumpPercent = 50;

// A slider value from a float; whatever cannot be one (NaN from a degenerate sweep) is refused.
bool toSliderValue(float value, int& out) {
    if (!std::isfinite(value))
        return false;
    out = static_cast<int>(std::clamp<double>(value, INT_MIN, INT_MAX));
    return true;
}

}  // namespace

void SPDialControlCell::setBehavior(int behavior) {
    if (behavior < 2)
        s_behavior = behavior;
}

int SPDialControlCell::behavior() {
    return s_behavior;
}

SPDialControlCell::SPDialControlCell(SPDialControl& control) : m_control(control) {}

void SPDialControlCell::setImage(const QImage& image) {
    m_image = image;
}

void SPDialControlCell::setCenterPoint(QPointF point) {
    m_CenterPoint = point;
    m_UseCenterPoint = true;
}

QPointF SPDialControlCell::centre() const {
    return m_UseCenterPoint ? m_CenterPoint : QPointF(m_control.width() / 2.0, m_control.height() / 2.0);
}

float SPDialControlCell::calcAbsValueFrom(QPointF point) {
    if (m_MaxDegree < 1.0)
        m_MaxDegree = kDefaultMaxDegree;
    const double sweepEnd = m_MaxDegree / 360.0 * 2.0 * std::numbers::pi - std::numbers::pi;
    const QPointF centre = this->centre();
    // Zero straight above the centre, growing clockwise (y points down).
    const float angle =
        std::atan2(static_cast<float>(point.x() - centre.x()), static_cast<float>(-(point.y() - centre.y())));
    return static_cast<float>((angle + kSweepStart) / (sweepEnd + kSweepStart));
}

float SPDialControlCell::calcIncDecValue(bool increase, bool shiftHeld) const {
    const float range = static_cast<float>(m_control.maximum()) - static_cast<float>(m_control.minimum());
    const float value = static_cast<float>(m_control.value());
    if (range > 100.0f && !shiftHeld) {
        if (usesLogarithmicScale()) {
            const float fraction =
                transValueToLogarithmicValue(m_control.value(), m_control.maximum(), m_control.minimum());
            return valueOfFraction(increase ? fraction + 0.01f : fraction - 0.01f);
        }
        const float step = std::trunc(range / 100.0f + 0.5f);
        return increase ? value + step : value - step;
    }
    return increase ? value + 1.0f : value - 1.0f;
}

int SPDialControlCell::frameIndex() const {
    return static_cast<int>(static_cast<float>(m_ImageDivideNum - 1) * valueFraction() + 0.5f);
}

bool SPDialControlCell::drawWithFrame(QPainter& painter, const QRect& bounds) const {
    if (m_image.isNull() || m_ImageDivideNum <= 0)
        return false;
    painter.save();
    painter.setClipRect(bounds);
    velk::controls::drawStripFrame(painter, m_image, m_ImageDivideNum, frameIndex(), bounds);
    painter.restore();
    return true;
}

bool SPDialControlCell::startTrackingAt(QPointF point) {
    if (!m_control.isEnabled() || !m_control.isTopmostAt(point))
        return false;
    if (s_behavior == eBehavior_Incremental)
        return true;
    // A click without a drag turns the knob too, so it is announced like any other change.
    setValueByUser(valueOfFraction(calcAbsValueFrom(point)));
    return true;
}

bool SPDialControlCell::continueTracking(QPointF lastPoint, QPointF currentPoint, bool shiftHeld) {
    if (!m_control.isEnabled())
        return false;
    float newValue = static_cast<float>(m_control.value());
    if (s_behavior == eBehavior_Incremental) {
        if (currentPoint.y() != lastPoint.y())
            newValue = calcIncDecValue(lastPoint.y() > currentPoint.y(), shiftHeld);
    } else {
        const float current = valueFraction();
        const float pointed = calcAbsValueFrom(currentPoint);
        const float jump = std::trunc(100.0f * current - 100.0f * pointed);
        if (std::fabs(jump) < kJumpPercent)
            newValue = valueOfFraction(pointed);
    }
    setValueByUser(newValue);
    return true;
}

bool SPDialControlCell::usesLogarithmicScale() const {
    // A logarithmic scale needs a positive minimum; any other dial stays linear.
    return m_Logarithm && m_control.minimum() > 0;
}

float SPDialControlCell::valueFraction() const {
    const int min = m_control.minimum();
    const int max = m_control.maximum();
    if (max == min)
        return 0.0f;
    if (usesLogarithmicScale())
        return transValueToLogarithmicValue(m_control.value(), max, min);
    return (static_cast<float>(m_control.value()) - static_cast<float>(min)) /
           (static_cast<float>(max) - static_cast<float>(min));
}

float SPDialControlCell::valueOfFraction(float fraction) const {
    const int min = m_control.minimum();
    const int max = m_control.maximum();
    if (usesLogarithmicScale())
        return velk::controls::logarithmicValueOfFraction(fraction, max, min);
    return static_cast<float>(min) + fraction * (static_cast<float>(max) - static_cast<float>(min));
}

void SPDialControlCell::setValueByUser(float value) {
    int sliderValue = 0;
    if (!toSliderValue(std::floor(value + 0.5f), sliderValue))
        return;
    const int before = m_control.value();
    m_control.setValue(sliderValue);
    if (m_control.value() != before)
        m_control.notifyValueToModelObject();
}
