#include "controls/SPScroller.h"

#include <gtest/gtest.h>
#include <QPainter>
#include <QStyleOptionSlider>

#include "helper/QtTestApp.h"

namespace {

// A strip whose frames are told apart by their red channel: frame i is filled with red = 10 + i.
QImage numberedStrip(int frames, int width, int frameHeight) {
    QImage strip(width, frames * frameHeight, QImage::Format_ARGB32);
    QPainter painter(&strip);
    for (int i = 0; i < frames; ++i)
        painter.fillRect(0, i * frameHeight, width, frameHeight, QColor(10 + i, 0, 200));
    return strip;
}

TEST(Scroller, framedImageSitsAtTheRightOfItsPartOnePixelShortOfTheEdge) {
    velk::test::application();
    QImage canvas(30, 40, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        SPScroller::drawImage(painter, numberedStrip(4, 11, 13), QRect(5, 10, 20, 13), 2, 4);
    }
    const int left = 5 + 20 - 11 - 2;  // the frame is 12 pixels wide, ending one pixel inside the part
    EXPECT_EQ(canvas.pixelColor(left - 1, 16), QColor(Qt::white));
    EXPECT_EQ(qRed(canvas.pixel(left, 16)), 12);
    EXPECT_EQ(qRed(canvas.pixel(left + 11, 16)), 12);
    EXPECT_EQ(canvas.pixelColor(left + 12, 16), QColor(Qt::white));
    EXPECT_EQ(canvas.pixelColor(left + 5, 9), QColor(Qt::white)) << "nothing above the part";
    EXPECT_EQ(canvas.pixelColor(left + 5, 23), QColor(Qt::white)) << "nothing below the part";
}

class ScrollerRendering : public testing::Test {
protected:
    void SetUp() override {
        scroller.resize(14, 200);
        scroller.setRange(0, 100);
        scroller.setPageStep(25);
        scroller.setValue(50);
    }
    QRect part(QStyle::SubControl control) {
        QStyleOptionSlider option;
        option.initFrom(&scroller);
        option.orientation = Qt::Vertical;
        option.minimum = scroller.minimum();
        option.maximum = scroller.maximum();
        option.sliderPosition = option.sliderValue = scroller.value();
        option.pageStep = scroller.pageStep();
        option.singleStep = scroller.singleStep();
        return scroller.style()->subControlRect(QStyle::CC_ScrollBar, &option, control, &scroller);
    }
    // The scroller drawn over a transparent background.
    QImage render() {
        QImage image(scroller.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        scroller.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        return image;
    }

    QApplication& app = velk::test::application();
    SPScroller scroller;
};

TEST_F(ScrollerRendering, drawsArrowsAndKnobButNoSlot) {
    const QImage image = render();
    const QRect knob = part(QStyle::SC_ScrollBarSlider);
    ASSERT_FALSE(knob.isEmpty());
    EXPECT_GT(qAlpha(image.pixel(knob.center())), 0) << "the knob's middle piece";
    EXPECT_GT(qAlpha(image.pixel(knob.center().x(), knob.top() + 2)), 0) << "the knob's top piece";
    const QRect slotAbove = part(QStyle::SC_ScrollBarSubPage);
    ASSERT_FALSE(slotAbove.isEmpty());
    EXPECT_EQ(qAlpha(image.pixel(slotAbove.center())), 0) << "the slot shows what lies behind";
    const QRect upArrow = part(QStyle::SC_ScrollBarSubLine);
    ASSERT_FALSE(upArrow.isEmpty()) << "the application style gives scrollers arrows";
    bool drawn = false;
    for (int x = upArrow.left(); x <= upArrow.right(); ++x)
        drawn = drawn || qAlpha(image.pixel(x, upArrow.center().y())) > 0;
    EXPECT_TRUE(drawn) << "the decrement arrow";
}

}  // namespace
