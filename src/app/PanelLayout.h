#pragma once

#include <QRect>
#include <QSize>

// Where the controls of the two editor panels sit and what they are drawn from. Frames are given
// as (x, y, width, height) with the origin at the panel's bottom-left corner, as the artwork was
// laid out; `qtRect` turns them into widget geometry.
namespace velk::layout {

struct SPFrame {
    int x, y, width, height;
};

// Both panels share one size, so that the main window's tabs do not jump.
inline constexpr QSize kPanelSize{940, 580};

constexpr QRect qtRect(const SPFrame& frame, int parentHeight = kPanelSize.height()) {
    return {frame.x, parentHeight - frame.y - frame.height, frame.width, frame.height};
}

// One image-drawn control: its strip and its frame count.
struct SPArt {
    const char* image;
    int slices;
};

// Effect settings panel.
namespace effect {
inline constexpr const char* kImage_Base = "EFFSET_BASE/EFFSET_BASE.png";
inline constexpr SPArt kArt_Amp_Ch_Label{"EFFSET_BASE/EFFSET_amptype.png", 2};
inline constexpr SPArt kArt_Fx_Loop_Sw{"EFFSET_BASE/EFFSET_fxloop.png", 6};
inline constexpr SPArt kArt_Noise_Gate_Knob{"EFFSET_BASE/EFFSET_noisegate.png", 4};
inline constexpr SPArt kArt_Booster_White_Sw{"EFFSET_BASE/EFFSET_boost_white.png", 4};
inline constexpr SPArt kArt_Booster_Green_Sw{"EFFSET_BASE/EFFSET_boost_green.png", 4};
inline constexpr SPArt kArt_Booster_Amber_Sw{"EFFSET_BASE/EFFSET_boost_amber.png", 4};
inline constexpr SPArt kArt_Reverb_Spring_Sw{"EFFSET_BASE/EFFSET_reverb_spring.png", 4};
inline constexpr SPArt kArt_Reverb_Plate_Sw{"EFFSET_BASE/EFFSET_reverb_plate.png", 4};
inline constexpr SPArt kArt_Reverb_Room_Sw{"EFFSET_BASE/EFFSET_reverb_room.png", 4};
inline constexpr SPArt kArt_Reverb_Hall_Sw{"EFFSET_BASE/EFFSET_reverb_hall.png", 4};

inline constexpr SPFrame kFrame_Amp_Ch_Label{104, 499, 69, 30};
inline constexpr SPFrame kFrame_Fx_Loop_Sw{314, 424, 223, 71};
inline constexpr SPFrame kFrame_Noise_Gate_Knob{732, 412, 155, 141};
inline constexpr SPFrame kFrame_Booster_Label{48, 210, 257, 38};
inline constexpr SPFrame kFrame_Booster_White_Sw{69, 28, 71, 122};
inline constexpr SPFrame kFrame_Booster_Green_Sw{140, 28, 71, 122};
inline constexpr SPFrame kFrame_Booster_Amber_Sw{211, 28, 71, 122};
inline constexpr SPFrame kFrame_Reverb_Label{522, 210, 321, 38};
inline constexpr SPFrame kFrame_Reverb_Spring_Sw{545, 28, 71, 122};
inline constexpr SPFrame kFrame_Reverb_Plate_Sw{616, 28, 71, 122};
inline constexpr SPFrame kFrame_Reverb_Room_Sw{687, 28, 71, 122};
inline constexpr SPFrame kFrame_Reverb_Hall_Sw{758, 28, 72, 122};

// The noise gate is a four-position selector turning 120 degrees around a point off its centre.
inline constexpr double kNoiseGateMaxDegree = 120.0;
inline constexpr QPoint kNoiseGateCenter{112, 108};
}  // namespace effect

// Speaker simulation panel.
namespace speaker {
inline constexpr const char* kImage_Base = "VAZEV_BASE/VAZEV_BASE.png";
inline constexpr SPArt kArt_Amp_Ch_Label{"VAZEV_BASE/VAZEV_amptype.png", 2};
inline constexpr SPArt kArt_Gain_Knob{"VAZEV_BASE/VAZEV_gain_knob.png", 41};
inline constexpr SPArt kArt_Install_Btn{"VAZEV_BASE/VAZEV_install_btn.png", 4};
inline constexpr SPArt kArt_Folder_Btn{"VAZEV_BASE/VAZEV_responce_btn.png", 4};
inline constexpr SPArt kArt_Bypass_Sw{"VAZEV_BASE/VAZEV_bypass_sw.png", 6};

inline constexpr SPFrame kFrame_Amp_Ch_Label{66, 435, 56, 25};
inline constexpr SPFrame kFrame_Amp_Type_Label{258, 440, 148, 17};
inline constexpr SPFrame kFrame_IrName_Text{90, 406, 316, 17};
inline constexpr SPFrame kFrame_IrGain_Label{432, 406, 61, 17};
inline constexpr SPFrame kFrame_Gain_Label{829, 351, 60, 14};
inline constexpr SPFrame kFrame_Gain_Knob{792, 229, 136, 113};
inline constexpr SPFrame kFrame_Install_Btn{270, 180, 75, 69};
inline constexpr SPFrame kFrame_Folder_Btn{675, 340, 36, 37};
inline constexpr SPFrame kFrame_Folder_Label{391, 312, 389, 18};
inline constexpr SPFrame kFrame_File_Table{391, 93, 373, 192};
inline constexpr SPFrame kFrame_Bypass_Sw{824, 80, 69, 95};
}  // namespace speaker

// The knob every dial starts with.
inline constexpr SPArt kArt_Default_Knob{"knob-small-line.png", 51};

// The application's icon, also installed for the desktop.
inline constexpr const char* kImage_AppIcon = "velk-vovezid.png";

}  // namespace velk::layout
