#pragma once

#include <QAbstractButton>
#include <QImage>

#include "controls/ControlWords.h"
#include "controls/SPButtonCell.h"

// A push button or switch drawn from a strip of 2, 4 or 6 frames, with a hover frame while the
// pointer is over it. Clicking and state stay QAbstractButton's (a switch is checkable).
class SPButton : public QAbstractButton {
    Q_OBJECT
public:
    // A non-zero tag is the strip's frame count; such a button follows the pointer for its hover
    // frame. Every button takes the focus from the keyboard (Tab), never from a click, so that the
    // panels work without a mouse and a click leaves the text being edited alone.
    explicit SPButton(QWidget* parent = nullptr, int tag = 0);

    SPButtonCell& cell() { return m_cell; }
    int tag() const { return m_tag; }

    void setImage(const QImage& strip);
    const QImage& image() const { return m_image; }
    // Names the button and words its states (off 0, on 1) for the user and assistive technology.
    void setWords(ControlWords words);

    // The hover test: the pointer lies over the button, and no modal window of another window
    // holds the input.
    bool isBorderVisible() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void paintPlainButton(QPainter& painter);
    void redrawForPointer();

    SPButtonCell m_cell{*this};
    ControlWords m_words;
    QImage m_image;
    int m_tag = 0;
};
