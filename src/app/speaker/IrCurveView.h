#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

#include "common/FIRCOE.h"

// The speaker panel's view of the auditioned impulse response: its magnitude response over
// 20 Hz - 20 kHz on a log axis, or on a click its 2048 coefficients. The file auditioned before
// stays as a faint curve for comparison; bypass draws the flat line the amplifier then plays.
class IrCurveView : public QWidget {
    Q_OBJECT
public:
    using Coefficients = std::array<int16_t, FIRCOE::kCoefficientCount>;

    explicit IrCurveView(QWidget* parent = nullptr);

    // A newly auditioned file; the one shown until now becomes the faint curve.
    void showImpulse(const Coefficients& coefficients);
    void setBypass(bool bypass);
    bool isBypass() const { return m_bypass; }
    bool showsWaveform() const { return m_waveform; }

    // The curves as drawn, in dB below their loudest band at the view's frequencies; empty when
    // there is none.
    const std::vector<double>& currentLevels() const { return m_current.levels; }
    const std::vector<double>& previousLevels() const { return m_previous.levels; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Curve {
        std::optional<Coefficients> coefficients;
        std::vector<double> levels;
    };

    QRectF plotArea() const;
    void paintGrid(QPainter& painter, const QRectF& area) const;
    void paintResponse(QPainter& painter, const QRectF& area, const std::vector<double>& levels,
                       const QColor& colour) const;
    void paintWaveform(QPainter& painter, const QRectF& area, const Coefficients& coefficients,
                       const QColor& colour) const;

    Curve m_current;
    Curve m_previous;
    bool m_bypass = false;
    bool m_waveform = false;
};
