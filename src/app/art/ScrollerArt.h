#pragma once

#include <QImage>

// The file list scroller's pieces.
namespace velk::art {

// A 4-frame arrow strip (normal, hover, highlighted, disabled), pointing up or down.
QImage paintScrollerArrow(bool up, qreal scale);

// The knob's three pieces: rounded top, a one-pixel middle that is stretched, rounded bottom.
QImage paintScrollerBarTop(qreal scale);
QImage paintScrollerBarMiddle(qreal scale);
QImage paintScrollerBarBottom(qreal scale);

}  // namespace velk::art
