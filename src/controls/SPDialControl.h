#pragma once

#include <QAbstractSlider>
#include <QByteArray>
#include <QImage>
#include <QPointer>

#include "controls/ControlWords.h"
#include "controls/SPDialControlCell.h"

// The rotary knob of the editor panels: shows its value as one frame of a strip of knob pictures
// and turns by dragging, the keyboard (arrows, Home, End, Page Up, Page Down) and the scroll wheel.
// Every user change is written into the bound model property and then announced with `action`.
class SPDialControl : public QAbstractSlider {
    Q_OBJECT
public:
    // The strip that every dial created afterwards starts with.
    static void setDefaultImage(const QImage& image, int divide);

    explicit SPDialControl(QWidget* parent = nullptr);

    SPDialControlCell& cell() { return m_cell; }
    const SPDialControlCell& cell() const { return m_cell; }

    // Sizes the dial to one frame of the strip (top-left kept) and draws from it.
    void setImage(const QImage& image);
    void setMaxDegree(double degrees) { m_cell.setMaxDegree(degrees); }
    void setCenterPoint(QPointF point) { m_cell.setCenterPoint(point); }
    // Names the dial and words its values for the user and assistive technology.
    void setWords(ControlWords words);

    // Binds the dial's value to an integer property with a NOTIFY signal, both ways: a change of
    // the property moves the knob, a user change writes the property.
    void bindValue(QObject* model, const char* propertyName);
    // Writes the value into the bound property when it differs there, then sends the action.
    void notifyValueToModelObject();
    // Ends a drag in progress; the rest of it is ignored.
    void cancelTracking() { m_tracking = false; }

    // Whether a press at `point` lands on this dial rather than on a sibling drawn over it.
    bool isTopmostAt(QPointF point) const;

    QSize sizeHint() const override;

signals:
    void action(SPDialControl* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private slots:
    void updateFromBoundValue();

private:
    void paintPlainDial(QPainter& painter);
    void paintFocusMark(QPainter& painter) const;
    void keyPressedForSlider(QKeyEvent* event);

    SPDialControlCell m_cell{*this};
    ControlWords m_words;
    QPointer<QObject> m_boundObject;
    QByteArray m_boundProperty;
    bool m_tracking = false;
    QPointF m_lastPoint;
};
