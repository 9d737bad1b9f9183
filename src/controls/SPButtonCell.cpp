#include "controls/SPButtonCell.h"

#include <QPainter>

#include "controls/FocusMark.h"
#include "controls/ImageStrip.h"
#include "controls/SPButton.h"

namespace {

constexpr qreal kFocusedOpacity = 0.7;

int selectTwoFrames(const SPButtonLook& look) {
    return look.on ? 1 : 0;
}

int selectFourFrames(const SPButtonLook& look) {
    const int previous = look.previousIndex;
    if (look.buttonType != SPButtonCell::eButtonType_Switch &&
        look.buttonType != SPButtonCell::eButtonType_Momentary)
        return previous;
    if (!look.enabled)
        return previous == 1 ? 0 : previous;
    if (look.buttonType == SPButtonCell::eButtonType_Momentary) {
        if (look.pressed)
            return 2;
        return look.pointerInside ? 1 : 3;
    }
    if (look.on)
        return 3;
    if (look.pressed)
        return previous == 3 ? 3 : 2;
    return look.pointerInside ? 1 : 0;
}

int selectSixFrames(const SPButtonLook& look) {
    const int previous = look.previousIndex;
    if (!look.enabled) {
        if (previous == 2)
            return 5;
        return previous == 1 ? 0 : previous;
    }
    if (look.pressed) {
        if (look.on)
            return previous == 3 ? 3 : 4;
        return previous == 4 ? 4 : 3;
    }
    if (look.on)
        return look.pointerInside ? 2 : 5;
    return look.pointerInside ? 1 : 0;
}

}  // namespace

int SPButtonCell::selectFrame(const SPButtonLook& look) {
    switch (look.divideNum) {
        case 2:
            return selectTwoFrames(look);
        case 4:
            return selectFourFrames(look);
        case 6:
            return selectSixFrames(look);
        default:
            return -1;
    }
}

bool SPButtonCell::drawWithFrame(QPainter& painter, const QRect& bounds) {
    const QImage& strip = m_button.image();
    if (strip.isNull() || m_ImageDivideNum <= 0)
        return false;
    SPButtonLook look;
    look.divideNum = m_ImageDivideNum;
    look.buttonType = m_buttonType;
    look.enabled = m_button.isEnabled();
    look.on = m_button.isChecked();
    look.pressed = m_button.isDown();
    look.pointerInside = m_button.isBorderVisible();
    look.previousIndex = m_index;
    m_index = selectFrame(look);

    painter.save();
    painter.setClipRect(bounds);
    // The button the keyboard works on: a click gives no focus to mark.
    const qreal opacity = velk::controls::showsFocusMark(m_button) ? kFocusedOpacity : 1.0;
    velk::controls::drawStripFrame(painter, strip, m_ImageDivideNum, m_index, bounds, opacity);
    painter.restore();
    return true;
}
