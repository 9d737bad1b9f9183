#include "app/art/ArtCatalog.h"

#include "app/PanelLayout.h"
#include "app/art/ArtKit.h"
#include "app/art/KnobArt.h"
#include "app/art/PanelArt.h"
#include "app/art/ScrollerArt.h"
#include "app/art/SwitchArt.h"
#include "controls/SPScroller.h"
#include "strings/StringTable.h"

namespace velk::art {

namespace {

using velk::layout::SPArt;
using velk::layout::SPFrame;
using velk::strings::text;

QSize sizeOf(const SPFrame& frame) {
    return {frame.width, frame.height};
}

ArtPiece piece(const SPArt& art, std::function<QImage(qreal)> paint) {
    return {QString::fromLatin1(art.image), art.slices, std::move(paint)};
}

ArtPiece typeSwitch(const SPArt& art, const SPFrame& frame, const char* nameKey, const QColor& led) {
    return piece(art, [=](qreal scale) { return paintTypeSwitch(sizeOf(frame), text(nameKey), led, scale); });
}

void addEffectSettings(std::vector<ArtPiece>& pieces) {
    using namespace velk::layout::effect;
    pieces.push_back({QString::fromLatin1(kImage_Base), 1, paintEffectSettingsBase});
    pieces.push_back(piece(kArt_Amp_Ch_Label, [](qreal scale) {
        return paintAmpBadge(sizeOf(kFrame_Amp_Ch_Label), text("Art_AmpI"), text("Art_AmpII"), scale);
    }));
    pieces.push_back(piece(kArt_Fx_Loop_Sw, [](qreal scale) {
        return paintFxLoopSwitch(sizeOf(kFrame_Fx_Loop_Sw), text("Art_FxLoop"), scale);
    }));
    pieces.push_back(piece(kArt_Noise_Gate_Knob, paintNoiseGateKnob));
    pieces.push_back(
        typeSwitch(kArt_Booster_White_Sw, kFrame_Booster_White_Sw, "Art_White", palette::kWhite));
    pieces.push_back(
        typeSwitch(kArt_Booster_Green_Sw, kFrame_Booster_Green_Sw, "Art_Green", palette::kGreen));
    pieces.push_back(
        typeSwitch(kArt_Booster_Amber_Sw, kFrame_Booster_Amber_Sw, "Art_Amber", palette::kAmber));
    pieces.push_back(
        typeSwitch(kArt_Reverb_Spring_Sw, kFrame_Reverb_Spring_Sw, "Art_Spring", palette::kBlue));
    pieces.push_back(typeSwitch(kArt_Reverb_Plate_Sw, kFrame_Reverb_Plate_Sw, "Art_Plate", palette::kBlue));
    pieces.push_back(typeSwitch(kArt_Reverb_Room_Sw, kFrame_Reverb_Room_Sw, "Art_Room", palette::kBlue));
    pieces.push_back(typeSwitch(kArt_Reverb_Hall_Sw, kFrame_Reverb_Hall_Sw, "Art_Hall", palette::kBlue));
}

void addSpeakerSimulation(std::vector<ArtPiece>& pieces) {
    using namespace velk::layout::speaker;
    pieces.push_back({QString::fromLatin1(kImage_Base), 1, paintSpeakerSimulationBase});
    pieces.push_back(piece(kArt_Amp_Ch_Label, [](qreal scale) {
        return paintAmpBadge(sizeOf(kFrame_Amp_Ch_Label), text("Art_AmpI"), text("Art_AmpII"), scale);
    }));
    pieces.push_back(piece(kArt_Gain_Knob, paintGainKnob));
    pieces.push_back(piece(kArt_Install_Btn, [](qreal scale) {
        return paintCaptionButton(sizeOf(kFrame_Install_Btn), text("Art_Install"), scale);
    }));
    pieces.push_back(piece(kArt_Folder_Btn,
                           [](qreal scale) { return paintFolderButton(sizeOf(kFrame_Folder_Btn), scale); }));
    pieces.push_back(piece(kArt_Bypass_Sw,
                           [](qreal scale) { return paintBypassSwitch(sizeOf(kFrame_Bypass_Sw), scale); }));
}

void addScroller(std::vector<ArtPiece>& pieces) {
    pieces.push_back({SPScroller::kImageUpArrow, SPScroller::kArrowFrames,
                      [](qreal scale) { return paintScrollerArrow(true, scale); }});
    pieces.push_back({SPScroller::kImageDnArrow, SPScroller::kArrowFrames,
                      [](qreal scale) { return paintScrollerArrow(false, scale); }});
    pieces.push_back({SPScroller::kImageBarTop, 1, paintScrollerBarTop});
    pieces.push_back({SPScroller::kImageBarMiddle, 1, paintScrollerBarMiddle});
    pieces.push_back({SPScroller::kImageBarBottom, 1, paintScrollerBarBottom});
}

}  // namespace

std::vector<ArtPiece> catalog() {
    std::vector<ArtPiece> pieces;
    addEffectSettings(pieces);
    addSpeakerSimulation(pieces);
    addScroller(pieces);
    pieces.push_back(piece(velk::layout::kArt_Default_Knob, paintSmallLineKnob));
    pieces.push_back({QString::fromLatin1(velk::layout::kImage_AppIcon), 1,
                      [](qreal scale) { return paintApplicationIcon(256, scale); }});
    return pieces;
}

}  // namespace velk::art
