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

// The frame a widget drawn from a numbered strip shows at `at`.
inline int shownFrame(QWidget& widget, QPoint at = {10, 5}) {
    return qRed(widget.grab().toImage().pixel(at)) - 10;
}

}  // namespace velk::test
