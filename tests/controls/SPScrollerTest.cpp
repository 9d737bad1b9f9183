#include "controls/SPScroller.h"

#include <gtest/gtest.h>
#include <QStyleOptionSlider>

#include "helper/QtTestApp.h"

namespace {

// Tells where the style puts the scroller's parts.
class ProbedScroller : public SPScroller {
public:
    QRect part(QStyle::SubControl control) const {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return style()->subControlRect(QStyle::CC_ScrollBar, &option, control, this);
    }
};

TEST(Scroller, drawsArrowsAndKnobOverWhatLiesBehindButNoSlot) {
    velk::test::application();
    ProbedScroller scroller;
    scroller.resize(14, 200);
    scroller.setRange(0, 100);
    scroller.setPageStep(25);
    scroller.setValue(50);
    QImage image(scroller.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    scroller.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    const auto drawn = [&](int x, int y) { return qAlpha(image.pixel(x, y)) > 0; };

    const QRect knob = scroller.part(QStyle::SC_ScrollBarSlider);
    ASSERT_FALSE(knob.isEmpty());
    EXPECT_TRUE(drawn(knob.center().x(), knob.center().y())) << "the knob's middle piece";
    EXPECT_TRUE(drawn(knob.center().x(), knob.top() + 2)) << "the knob's top piece";
    const QRect slotAbove = scroller.part(QStyle::SC_ScrollBarSubPage);
    ASSERT_FALSE(slotAbove.isEmpty());
    EXPECT_FALSE(drawn(slotAbove.center().x(), slotAbove.center().y())) << "the slot shows what lies behind";
    const QRect upArrow = scroller.part(QStyle::SC_ScrollBarSubLine);
    ASSERT_FALSE(upArrow.isEmpty()) << "the application style gives scrollers arrows";
    bool arrowDrawn = false;
    for (int x = upArrow.left(); x <= upArrow.right(); ++x)
        arrowDrawn = arrowDrawn || drawn(x, upArrow.center().y());
    EXPECT_TRUE(arrowDrawn) << "the decrement arrow";
}

}  // namespace
