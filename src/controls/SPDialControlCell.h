#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>

class QPainter;
class SPDialControl;

// The drawing, pointer tracking and value arithmetic of one dial. The value, minimum and maximum
// live in the dial (a QAbstractSlider), which keeps the value within its limits.
class SPDialControlCell {
public:
    // How a drag turns every dial of the application.
    enum EBehavior : int {
        eBehavior_Absolute = 0,     // the knob follows the angle of the pointer
        eBehavior_Incremental = 1,  // vertical dragging steps the value
    };
    static void setBehavior(int behavior);  // values of 2 and above are ignored
    static int behavior();

    explicit SPDialControlCell(SPDialControl& control);

    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }
    void setImageDivideNum(int count) { m_ImageDivideNum = count; }
    int imageDivideNum() const { return m_ImageDivideNum; }
    void setLogarithm(bool logarithm) { m_Logarithm = logarithm; }
    bool logarithm() const { return m_Logarithm; }
    void setMaxDegree(double degrees) { m_MaxDegree = degrees; }
    double maxDegree() const { return m_MaxDegree; }
    void setCenterPoint(QPointF point);
    void resetCenterPoint() { m_UseCenterPoint = false; }
    // Where the knob turns about: the custom centre, else the middle of the dial.
    QPointF centre() const;

    // The sweep fraction of a point in the dial's coordinates: 0 at 150 degrees counter-clockwise
    // from the top, 1 at the end of the sweep. Not clamped.
    float calcAbsValueFrom(QPointF point);
    // The value one step up or down; Shift always gives unit steps. Not clamped.
    float calcIncDecValue(bool increase, bool shiftHeld) const;

    // The frame of the strip that shows the current value.
    int frameIndex() const;
    // Draws that frame over `bounds`; false when there is no strip to draw from.
    bool drawWithFrame(QPainter& painter, const QRect& bounds) const;

    // Sets the dial to a value the user chose, rounded to the nearest whole number, and announces
    // it once when the dial's value really changed: a value beyond a limit stops at the limit,
    // which may be no change at all. A result that is no number (a degenerate sweep) changes nothing.
    void setValueByUser(float value);

    bool startTrackingAt(QPointF point);
    bool continueTracking(QPointF lastPoint, QPointF currentPoint, bool shiftHeld);

private:
    bool usesLogarithmicScale() const;
    float valueFraction() const;
    float valueOfFraction(float fraction) const;

    SPDialControl& m_control;
    QImage m_image;
    int m_ImageDivideNum = 1;
    bool m_Logarithm = false;
    double m_MaxDegree = 0.0;
    bool m_UseCenterPoint = false;
    QPointF m_CenterPoint;
};
