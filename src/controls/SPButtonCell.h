#pragma once

#include <QRect>

class QPainter;
class SPButton;

// What decides the frame an image button shows.
struct SPButtonLook {
    int divideNum = 4;
    int buttonType = 0;  // 4-frame strips: 0 switch-like, 1 momentary
    bool enabled = true;
    bool on = false;
    bool pressed = false;
    bool pointerInside = false;
    int previousIndex = -1;
};

// The frame selection and drawing of an image button. The strip holds 2, 4 or 6 frames:
// 2 frames are off/on; 4 frames of a switch are off, hover, pressed, on, of a momentary button
// unused, hover, pressed, normal; 6 frames are off, off-hover, on-hover, off-pressed, on-pressed, on.
class SPButtonCell {
public:
    enum EButtonType : int { eButtonType_Switch = 0, eButtonType_Momentary = 1 };

    // The frame to show; -1 shows nothing. Reads the previous frame so that a pressed frame stays
    // steady while the state flips during a click.
    static int selectFrame(const SPButtonLook& look);

    explicit SPButtonCell(SPButton& button) : m_button(button) {}

    void setImageDivideNum(int count) { m_ImageDivideNum = count; }
    int imageDivideNum() const { return m_ImageDivideNum; }
    // The drawing type of 4-frame strips; the button's own behaviour (checkable or not) is untouched.
    void setButtonType(int type) { m_buttonType = type; }
    int buttonType() const { return m_buttonType; }
    // The frame shown by the last drawing; -1 for none.
    int index() const { return m_index; }

    // Chooses the frame for the button's present look and draws it; false when the button has no
    // strip, so that it draws itself plainly.
    bool drawWithFrame(QPainter& painter, const QRect& bounds);

private:
    SPButton& m_button;
    int m_ImageDivideNum = 4;
    int m_buttonType = eButtonType_Switch;
    int m_index = -1;
};
