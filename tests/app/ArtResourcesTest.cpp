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

std::pair<SPArt, QSize> sized(SPArt art, SPFrame frame) {
    return {art, {frame.width, frame.height}};
}
// A control's art and frame share its name in the panel's layout.
#define SIZED(panel, control) sized(panel::kArt_##control, panel::kFrame_##control)

// Checks `art` and, unless `frame` is empty, that its frames have that size.
void expectEmbedded(SPArt art, QSize frame) {
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

TEST(ArtResources, everyStripIsEmbeddedWithItsFramesAtTheControlsSizeAndTheFaceplatesAtThePanels) {
    velk::test::editorApplication();
    for (const auto& [art, frame] :
         {SIZED(effect, Amp_Ch_Label), SIZED(effect, Fx_Loop_Sw), SIZED(effect, Noise_Gate_Knob),
          SIZED(effect, Booster_White_Sw), SIZED(effect, Booster_Green_Sw), SIZED(effect, Booster_Amber_Sw),
          SIZED(effect, Reverb_Spring_Sw), SIZED(effect, Reverb_Plate_Sw), SIZED(effect, Reverb_Room_Sw),
          SIZED(effect, Reverb_Hall_Sw), SIZED(speaker, Amp_Ch_Label), SIZED(speaker, Gain_Knob),
          SIZED(speaker, Install_Btn), SIZED(speaker, Folder_Btn), SIZED(speaker, Bypass_Sw)})
        expectEmbedded(art, frame);
    for (const SPArt& art :
         {kArt_Default_Knob, SPArt{SPScroller::kImageUpArrow, SPScroller::kArrowFrames},
          SPArt{SPScroller::kImageDnArrow, SPScroller::kArrowFrames}, SPArt{SPScroller::kImageBarTop, 1},
          SPArt{SPScroller::kImageBarMiddle, 1}, SPArt{SPScroller::kImageBarBottom, 1}})
        expectEmbedded(art, {});
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
