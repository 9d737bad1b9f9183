// On a screen of device pixel ratio 2 the controls draw the frames of strips drawn at twice the
// density pixel for pixel, while their size and the points they answer stay in logical pixels.
#include <gtest/gtest.h>

#include "NumberedStrip.h"
#include "controls/SPButton.h"
#include "controls/SPDialControl.h"
#include "helper/QtTestApp.h"

namespace {

using velk::test::denseNumberedStrip;

// What a screen of ratio 2 shows of the widget: twice its size in pixels.
QImage denseGrab(QWidget& widget) {
    QImage image(widget.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

// The frame shown at logical point `at` of a dense grab, or -1 when the two pixel rows there are
// not the strip's own two rows (a frame scaled rather than shown pixel for pixel).
int crispFrameAt(const QImage& grab, QPoint at) {
    const QRgb upper = grab.pixel(2 * at.x(), 2 * at.y()), lower = grab.pixel(2 * at.x(), 2 * at.y() + 1);
    if (qGreen(upper) != 0 || qGreen(lower) != 255 || qRed(upper) != qRed(lower))
        return -1;
    return qRed(upper) - 10;
}

TEST(DenseStrip, buttonsAndDialsShowTheirFramePixelForPixelAtTheirLogicalSize) {
    velk::test::application();
    SPButton button(nullptr, 4);
    button.setCheckable(true);
    button.setChecked(true);
    button.setImage(denseNumberedStrip(4));
    ASSERT_EQ(button.sizeHint(), QSize(20, 10));
    button.resize(button.sizeHint());
    EXPECT_EQ(crispFrameAt(denseGrab(button), {10, 5}), 3) << "a switch that is on";

    SPDialControl dial;
    dial.setRange(0, 100);
    dial.cell().setImageDivideNum(51);
    dial.setImage(denseNumberedStrip(51));
    ASSERT_EQ(dial.size(), QSize(20, 10));
    EXPECT_EQ(dial.cell().centre(), QPointF(10, 5)) << "the knob turns about its logical centre";
    for (auto [value, frame] : {std::pair{0, 0}, {50, 25}, {100, 50}}) {
        dial.setValue(value);
        EXPECT_EQ(crispFrameAt(denseGrab(dial), {10, 5}), frame) << "value " << value;
    }
}

}  // namespace
