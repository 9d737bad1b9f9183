// Every image the panels and controls draw from is among the embedded resources, under its name,
// with its frame count and with frames of the size of the control that shows them.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/PanelLayout.h"
#include "controls/ImageStrip.h"
#include "controls/SPScroller.h"

namespace {

using namespace velk::layout;

struct StripCase {
    SPArt art;
    QSize frame;  // empty: any size
};
void PrintTo(const StripCase& c, std::ostream* os) {
    *os << c.art.image;
}

QSize sizeOf(const SPFrame& frame) {
    return {frame.width, frame.height};
}

class ArtStripTest : public testing::TestWithParam<StripCase> {
protected:
    void SetUp() override { velk::test::editorApplication(); }
};

TEST_P(ArtStripTest, isEmbeddedWithItsFramesAtTheControlsSize) {
    const StripCase& c = GetParam();
    const QImage strip = velk::controls::resourceImage(c.art.image);
    ASSERT_FALSE(strip.isNull()) << "missing";
    EXPECT_EQ(strip.height() % c.art.slices, 0)
        << strip.height() << " pixels for " << c.art.slices << " frames";
    if (!c.frame.isEmpty()) {
        EXPECT_EQ(QSize(strip.width(), strip.height() / c.art.slices), c.frame);
    }
    EXPECT_TRUE(strip.hasAlphaChannel()) << "controls show the faceplate around them";
}

INSTANTIATE_TEST_SUITE_P(
    EffectSettings, ArtStripTest,
    testing::Values(StripCase{effect::kArt_Amp_Ch_Label, sizeOf(effect::kFrame_Amp_Ch_Label)},
                    StripCase{effect::kArt_Fx_Loop_Sw, sizeOf(effect::kFrame_Fx_Loop_Sw)},
                    StripCase{effect::kArt_Noise_Gate_Knob, sizeOf(effect::kFrame_Noise_Gate_Knob)},
                    StripCase{effect::kArt_Booster_White_Sw, sizeOf(effect::kFrame_Booster_White_Sw)},
                    StripCase{effect::kArt_Booster_Green_Sw, sizeOf(effect::kFrame_Booster_Green_Sw)},
                    StripCase{effect::kArt_Booster_Amber_Sw, sizeOf(effect::kFrame_Booster_Amber_Sw)},
                    StripCase{effect::kArt_Reverb_Spring_Sw, sizeOf(effect::kFrame_Reverb_Spring_Sw)},
                    StripCase{effect::kArt_Reverb_Plate_Sw, sizeOf(effect::kFrame_Reverb_Plate_Sw)},
                    StripCase{effect::kArt_Reverb_Room_Sw, sizeOf(effect::kFrame_Reverb_Room_Sw)},
                    StripCase{effect::kArt_Reverb_Hall_Sw, sizeOf(effect::kFrame_Reverb_Hall_Sw)}));

INSTANTIATE_TEST_SUITE_P(
    SpeakerSimulation, ArtStripTest,
    testing::Values(StripCase{speaker::kArt_Amp_Ch_Label, sizeOf(speaker::kFrame_Amp_Ch_Label)},
                    StripCase{speaker::kArt_Gain_Knob, sizeOf(speaker::kFrame_Gain_Knob)},
                    StripCase{speaker::kArt_Install_Btn, sizeOf(speaker::kFrame_Install_Btn)},
                    StripCase{speaker::kArt_Folder_Btn, sizeOf(speaker::kFrame_Folder_Btn)},
                    StripCase{speaker::kArt_Bypass_Sw, sizeOf(speaker::kFrame_Bypass_Sw)}));

INSTANTIATE_TEST_SUITE_P(Controls, ArtStripTest,
                         testing::Values(StripCase{kArt_Default_Knob, {}},
                                         StripCase{{SPScroller::kImageUpArrow, SPScroller::kArrowFrames}, {}},
                                         StripCase{{SPScroller::kImageDnArrow, SPScroller::kArrowFrames}, {}},
                                         StripCase{{SPScroller::kImageBarTop, 1}, {}},
                                         StripCase{{SPScroller::kImageBarMiddle, 1}, {}},
                                         StripCase{{SPScroller::kImageBarBottom, 1}, {}}));

TEST(ArtResources, faceplatesHaveThePanelsSize) {
    velk::test::editorApplication();
    for (const char* name : {effect::kImage_Base, speaker::kImage_Base}) {
        const QImage base = velk::controls::resourceImage(name);
        EXPECT_EQ(base.size(), kPanelSize) << name;
    }
}

TEST(ArtResources, knobFramesDiffer) {
    velk::test::editorApplication();
    const QImage knob = velk::controls::resourceImage(speaker::kArt_Gain_Knob.image);
    const int frame = knob.height() / speaker::kArt_Gain_Knob.slices;
    EXPECT_NE(knob.copy(0, 0, knob.width(), frame), knob.copy(0, 40 * frame, knob.width(), frame))
        << "the pointer turns from the first position to the last";
}

}  // namespace
