// Every image the panels and controls draw from is among the embedded resources, under its name,
// with its frame count and with frames of the size of the control that shows them.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/PanelLayout.h"
#include "app/PanelView.h"
#include "controls/ImageStrip.h"
#include "controls/SPDialControl.h"
#include "controls/SPScroller.h"

namespace {

using namespace velk::layout;
using velk::controls::resourceImage;

struct Strip {
    SPArt art;
    QSize frame;  // empty: any size
};

Strip sized(SPArt art, SPFrame frame) {
    return {art, {frame.width, frame.height}};
}

TEST(ArtResources, everyStripIsEmbeddedWithItsFramesAtTheControlsSize) {
    velk::test::editorApplication();
    const Strip strips[] = {sized(effect::kArt_Amp_Ch_Label, effect::kFrame_Amp_Ch_Label),
                            sized(effect::kArt_Fx_Loop_Sw, effect::kFrame_Fx_Loop_Sw),
                            sized(effect::kArt_Noise_Gate_Knob, effect::kFrame_Noise_Gate_Knob),
                            sized(effect::kArt_Booster_White_Sw, effect::kFrame_Booster_White_Sw),
                            sized(effect::kArt_Booster_Green_Sw, effect::kFrame_Booster_Green_Sw),
                            sized(effect::kArt_Booster_Amber_Sw, effect::kFrame_Booster_Amber_Sw),
                            sized(effect::kArt_Reverb_Spring_Sw, effect::kFrame_Reverb_Spring_Sw),
                            sized(effect::kArt_Reverb_Plate_Sw, effect::kFrame_Reverb_Plate_Sw),
                            sized(effect::kArt_Reverb_Room_Sw, effect::kFrame_Reverb_Room_Sw),
                            sized(effect::kArt_Reverb_Hall_Sw, effect::kFrame_Reverb_Hall_Sw),
                            sized(speaker::kArt_Amp_Ch_Label, speaker::kFrame_Amp_Ch_Label),
                            sized(speaker::kArt_Gain_Knob, speaker::kFrame_Gain_Knob),
                            sized(speaker::kArt_Install_Btn, speaker::kFrame_Install_Btn),
                            sized(speaker::kArt_Folder_Btn, speaker::kFrame_Folder_Btn),
                            sized(speaker::kArt_Bypass_Sw, speaker::kFrame_Bypass_Sw),
                            {kArt_Default_Knob, {}},
                            {{SPScroller::kImageUpArrow, SPScroller::kArrowFrames}, {}},
                            {{SPScroller::kImageDnArrow, SPScroller::kArrowFrames}, {}},
                            {{SPScroller::kImageBarTop, 1}, {}},
                            {{SPScroller::kImageBarMiddle, 1}, {}},
                            {{SPScroller::kImageBarBottom, 1}, {}}};
    for (const auto& [art, frame] : strips) {
        const QImage strip = resourceImage(art.image);
        EXPECT_FALSE(strip.isNull()) << art.image << " is missing";
        EXPECT_EQ(strip.height() % art.slices, 0)
            << art.image << ": " << strip.height() << " pixels for " << art.slices << " frames";
        if (!frame.isEmpty()) {
            EXPECT_EQ(QSize(strip.width(), strip.height() / art.slices), frame) << art.image;
        }
        EXPECT_TRUE(strip.hasAlphaChannel()) << art.image << ": controls show the faceplate around them";
        const QImage dense = resourceImage(art.image, 2);
        EXPECT_EQ(dense.size(), strip.size() * 2) << art.image << " at twice the density";
        EXPECT_EQ(dense.devicePixelRatio(), 2.0) << art.image;
    }
}

TEST(ArtResources, faceplatesHaveThePanelsSizeAndKnobFramesDiffer) {
    velk::test::editorApplication();
    for (const char* name : {effect::kImage_Base, speaker::kImage_Base})
        EXPECT_EQ(resourceImage(name).size(), kPanelSize) << name;
    const QImage knob = resourceImage(speaker::kArt_Gain_Knob.image);
    const int frame = knob.height() / speaker::kArt_Gain_Knob.slices;
    EXPECT_NE(knob.copy(0, 0, knob.width(), frame), knob.copy(0, 40 * frame, knob.width(), frame))
        << "the pointer turns from the first position to the last";
}

// CTest runs this once more on a screen of device pixel ratio 2 (QT_SCALE_FACTOR=2).
TEST(ArtResources, aDenseScreenShowsTheDenseArtPixelForPixel) {
    const VelkUtilityApp& app = velk::test::editorApplication();
    if (app.devicePixelRatio() != 2)
        GTEST_SKIP() << "needs a screen of device pixel ratio 2";
    const auto opaquePart = [](const QImage& image) {  // inside the faceplate's rim, in image pixels
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied).copy(20, 20, 1840, 1120);
    };
    const QImage shown = PanelView(speaker::kImage_Base).grab().toImage();
    ASSERT_EQ(shown.size(), kPanelSize * 2);
    EXPECT_EQ(opaquePart(shown), opaquePart(resourceImage(speaker::kImage_Base, 2)));
    // The default knob at its last position: that frame of the dense strip, pixel for pixel.
    SPDialControl dial;
    dial.setValue(dial.maximum());
    QImage knobShown(dial.size() * 2, QImage::Format_ARGB32_Premultiplied);
    knobShown.setDevicePixelRatio(2);
    knobShown.fill(Qt::transparent);
    dial.render(&knobShown, QPoint(), QRegion(), QWidget::RenderFlags());
    const QImage knob = resourceImage(kArt_Default_Knob.image, 2).convertToFormat(knobShown.format());
    const int last = kArt_Default_Knob.slices - 1;
    EXPECT_EQ(knobShown, knob.copy(velk::controls::stripFrameRect(knob, kArt_Default_Knob.slices, last)));
}

}  // namespace
