#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>

namespace velk::test {

// A strip whose frames are told apart by their red channel: frame i is filled with red = 10 + i,
// so that no frame looks like an empty pixel.
inline QImage numberedStrip(int frames, int width = 20, int frameHeight = 10) {
    QImage strip(width, frames * frameHeight, QImage::Format_ARGB32);
    QPainter painter(&strip);
    for (int i = 0; i < frames; ++i)
        painter.fillRect(0, i * frameHeight, width, frameHeight, QColor(10 + i, 0, 200));
    return strip;
}

// The same strip drawn for a screen of device pixel ratio 2: twice the pixels each way, carrying
// its ratio, with the green channel alternating 0 and 255 from one pixel row to the next, so that
// only a frame shown pixel for pixel keeps both rows of each logical row apart.
inline QImage denseNumberedStrip(int frames, int width = 20, int frameHeight = 10) {
    QImage strip(2 * width, 2 * frames * frameHeight, QImage::Format_ARGB32);
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x)
            strip.setPixel(x, y, qRgb(10 + y / (2 * frameHeight), y % 2 * 255, 200));
    }
    strip.setDevicePixelRatio(2);
    return strip;
}

// The frame a widget drawn from a numbered strip shows at `at`.
inline int shownFrame(QWidget& widget, QPoint at = {10, 5}) {
    return qRed(widget.grab().toImage().pixel(at)) - 10;
}

}  // namespace velk::test
