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

ArtPiece piece(const SPArt& art, std::function<QImage()> paint) {
    return {QString::fromLatin1(art.image), art.slices, std::move(paint)};
}

ArtPiece typeSwitch(const SPArt& art, const SPFrame& frame, const char* nameKey, const QColor& led) {
    return piece(art, [=] { return paintTypeSwitch(sizeOf(frame), text(nameKey), led); });
}

void addEffectSettings(std::vector<ArtPiece>& pieces) {
    using namespace velk::layout::effect;
    pieces.push_back({QString::fromLatin1(kImage_Base), 1, paintEffectSettingsBase});
    pieces.push_back(piece(kArt_Amp_Ch_Label, [] {
        return paintAmpBadge(sizeOf(kFrame_Amp_Ch_Label), text("Art_AmpI"), text("Art_AmpII"));
    }));
    pieces.push_back(piece(kArt_Fx_Loop_Sw,
                           [] { return paintFxLoopSwitch(sizeOf(kFrame_Fx_Loop_Sw), text("Art_FxLoop")); }));
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
    pieces.push_back(piece(kArt_Amp_Ch_Label, [] {
        return paintAmpBadge(sizeOf(kFrame_Amp_Ch_Label), text("Art_AmpI"), text("Art_AmpII"));
    }));
    pieces.push_back(piece(kArt_Gain_Knob, paintGainKnob));
    pieces.push_back(piece(kArt_Install_Btn, [] {
        return paintCaptionButton(sizeOf(kFrame_Install_Btn), text("Art_Install"));
    }));
    pieces.push_back(piece(kArt_Folder_Btn, [] { return paintFolderButton(sizeOf(kFrame_Folder_Btn)); }));
    pieces.push_back(piece(kArt_Bypass_Sw, [] { return paintBypassSwitch(sizeOf(kFrame_Bypass_Sw)); }));
}

void addScroller(std::vector<ArtPiece>& pieces) {
    pieces.push_back(
        {SPScroller::kImageUpArrow, SPScroller::kArrowFrames, [] { return paintScrollerArrow(true); }});
    pieces.push_back(
        {SPScroller::kImageDnArrow, SPScroller::kArrowFrames, [] { return paintScrollerArrow(false); }});
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
    pieces.push_back(
        {QString::fromLatin1(velk::layout::kImage_AppIcon), 1, [] { return paintApplicationIcon(256); }});
    return pieces;
}

}  // namespace velk::art
