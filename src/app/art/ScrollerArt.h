#pragma once

#include <QImage>

// The file list scroller's pieces.
namespace velk::art {

// A 4-frame arrow strip (normal, hover, highlighted, disabled), pointing up or down.
QImage paintScrollerArrow(bool up);

// The knob's three pieces: rounded top, a one-pixel middle that is stretched, rounded bottom.
QImage paintScrollerBarTop();
QImage paintScrollerBarMiddle();
QImage paintScrollerBarBottom();

}  // namespace velk::art
