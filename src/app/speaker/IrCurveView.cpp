#include "app/speaker/IrCurveView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "app/speaker/IrResponse.h"

namespace {

constexpr double kLowestHz = 20.0;
constexpr double kHighestHz = 20000.0;
constexpr int kPoints = 256;
// Each curve is drawn with its loudest band at 0 dB, so that cabinets compare by shape.
constexpr double kTopDB = 6.0;
constexpr double kBottomDB = -42.0;

// The faceplate's display colours: amber lettering on black glass.
const QColor kGlass(0x08, 0x08, 0x09, 215);
const QColor kGrid(0xff, 0xa8, 0x22, 40);
const QColor kCurrent(0xff, 0xa8, 0x22);
const QColor kPrevious(0xec, 0xe4, 0xcf, 80);

const std::vector<double>& plotFrequencies() {
    static const std::vector<double> frequencies =
        velk::browse::logFrequencies(kLowestHz, kHighestHz, kPoints);
    return frequencies;
}

double levelY(const QRectF& area, double dB) {
    const double clamped = std::clamp(dB, kBottomDB, kTopDB);
    return area.top() + (kTopDB - clamped) / (kTopDB - kBottomDB) * area.height();
}

// A line through `count` points, each given by its index.
template <typename PointAt>
QPainterPath polyline(size_t count, PointAt at) {
    QPainterPath path;
    for (size_t i = 0; i < count; ++i) {
        if (i == 0)
            path.moveTo(at(i));
        else
            path.lineTo(at(i));
    }
    return path;
}

}  // namespace

IrCurveView::IrCurveView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
}

void IrCurveView::showImpulse(const Coefficients& coefficients) {
    if (m_current.coefficients)
        m_previous = std::move(m_current);
    m_current.coefficients = coefficients;
    m_current.levels = velk::browse::magnitudeResponseDB(coefficients, plotFrequencies());
    const double loudest = *std::max_element(m_current.levels.begin(), m_current.levels.end());
    for (double& level : m_current.levels)
        level -= loudest;
    update();
}

void IrCurveView::setBypass(bool bypass) {
    m_bypass = bypass;
    update();
}

void IrCurveView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_waveform = !m_waveform;
    update();
}

QRectF IrCurveView::plotArea() const {
    return QRectF(rect()).adjusted(6, 6, -6, -6);
}

void IrCurveView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 0), 1.0));
    painter.setBrush(kGlass);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    const QRectF area = plotArea();
    paintGrid(painter, area);
    if (m_bypass) {
        painter.setPen(QPen(kCurrent, 1.6));
        const double y = m_waveform ? area.center().y() : levelY(area, 0.0);
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        return;
    }
    if (m_waveform) {
        if (m_previous.coefficients)
            paintWaveform(painter, area, *m_previous.coefficients, kPrevious);
        if (m_current.coefficients)
            paintWaveform(painter, area, *m_current.coefficients, kCurrent);
        return;
    }
    paintResponse(painter, area, m_previous.levels, kPrevious);
    paintResponse(painter, area, m_current.levels, kCurrent);
}

void IrCurveView::paintGrid(QPainter& painter, const QRectF& area) const {
    painter.setPen(QPen(kGrid, 1.0));
    if (m_waveform) {
        painter.drawLine(QPointF(area.left(), area.center().y()), QPointF(area.right(), area.center().y()));
        return;
    }
    // Decades across, 12 dB steps down.
    for (double hz : {100.0, 1000.0, 10000.0}) {
        const double x =
            area.left() + std::log(hz / kLowestHz) / std::log(kHighestHz / kLowestHz) * area.width();
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    for (double dB = 0.0; dB >= kBottomDB; dB -= 12.0)
        painter.drawLine(QPointF(area.left(), levelY(area, dB)), QPointF(area.right(), levelY(area, dB)));
}

void IrCurveView::paintResponse(QPainter& painter, const QRectF& area, const std::vector<double>& levels,
                                const QColor& colour) const {
    if (levels.empty())
        return;
    const double step = area.width() / (levels.size() - 1);
    painter.setPen(QPen(colour, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(polyline(
        levels.size(), [&](size_t i) { return QPointF(area.left() + step * i, levelY(area, levels[i])); }));
}

void IrCurveView::paintWaveform(QPainter& painter, const QRectF& area, const Coefficients& coefficients,
                                const QColor& colour) const {
    const double step = area.width() / (coefficients.size() - 1);
    const double halfHeight = area.height() / 2;
    painter.setPen(QPen(colour, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(polyline(coefficients.size(), [&](size_t i) {
        return QPointF(area.left() + step * i, area.center().y() - coefficients[i] / 32768.0 * halfHeight);
    }));
}
