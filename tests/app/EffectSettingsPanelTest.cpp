// The effect settings panels of the editor against the built-in simulated head: clicks at the
// centres of the controls' frames, and what reaches the head's effect block.
#include <QElapsedTimer>
#include <QLabel>
#include <QTabWidget>

#include "SimulatedEditorTest.h"
#include "app/EffectSettingsWindowController.h"
#include "app/PanelLayout.h"
#include "app/PanelView.h"
#include "controls/SPButton.h"
#include "controls/SPDialControl.h"
#include "strings/StringTable.h"

namespace {

using velk::sim::HeadModel;
using velk::sim::Request;
namespace effect = velk::layout::effect;

// Bytes of the effect block, counted from the amp's first byte.
constexpr int kBoosterByte = 1, kFxLoopByte = 2, kReverbByte = 3, kNoiseGateByte = 4;

class EffectSettingsPanelTest : public velk::test::SimulatedEditorTest {
protected:
    // The editor connected to a head of this model, with its state read and the window on show.
    void connect(HeadModel model) {
        launchAndRead(model);
        window.show();
    }
    EffectSettingsWindowController& panel(int amp) { return *controller.effectSettings(amp); }

    // Clicks where the user sees the control of `frame` on the panel of `amp`.
    void clickAt(int amp, const velk::layout::SPFrame& frame) {
        QWidget* view = panel(amp).view();
        controller.tabView()->setCurrentWidget(view);
        const QPoint centre = velk::layout::qtRect(frame).center();
        QWidget* target = view->childAt(centre);
        ASSERT_NE(target, nullptr);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(view, centre));
    }
    uint8_t headByte(int amp, int byte) const {
        return amplifier->head().state().effectBlock[amp * 8 + byte];
    }
    bool driveUntilHeadHas(int amp, int byte, int value) {
        return driveUntil([&] { return headByte(amp, byte) == value; });
    }
};

// The indicator of the amp is shown, lit for Amp II, only on the dual head.
TEST_F(EffectSettingsPanelTest, eachControlChangesTheEffectBlockOfItsAmp) {
    connect(HeadModel::Dual);
    for (int amp : {0, 1}) {
        EXPECT_TRUE(panel(amp).ampChLabel()->isVisibleTo(panel(amp).view())) << amp;
        EXPECT_EQ(panel(amp).ampChLabel()->isChecked(), amp == 1);
    }
    const auto click = [this](int amp, velk::layout::SPFrame frame) {
        return [this, amp, frame] { clickAt(amp, frame); };
    };
    // The change, its amp, how the user makes it, and the byte and value the head then holds.
    const std::tuple<const char*, int, std::function<void()>, int, int> changes[] = {
        {"green booster", 0, click(0, effect::kFrame_Booster_Green_Sw), kBoosterByte, 1},
        {"amber booster", 1, click(1, effect::kFrame_Booster_Amber_Sw), kBoosterByte, 2},
        {"hall reverb", 0, click(0, effect::kFrame_Reverb_Hall_Sw), kReverbByte, 3},
        {"plate reverb", 1, click(1, effect::kFrame_Reverb_Plate_Sw), kReverbByte, 1},
        {"room reverb", 1, click(1, effect::kFrame_Reverb_Room_Sw), kReverbByte, 2},
        {"FX loop on", 1, click(1, effect::kFrame_Fx_Loop_Sw), kFxLoopByte, 1},
        {"FX loop off", 1, click(1, effect::kFrame_Fx_Loop_Sw), kFxLoopByte, 0},
        {"noise gate clicked high", 0, click(0, effect::kFrame_Noise_Gate_Knob), kNoiseGateByte, 3},
        {"noise gate down a step by key", 0,
         [this] { QTest::keyClick(panel(0).noiseGateKnob(), Qt::Key_Down); }, kNoiseGateByte, 2},
        {"spring reverb by space", 0, [this] { QTest::keyClick(panel(0).reverbSw(0), Qt::Key_Space); },
         kReverbByte, 0},
    };
    for (const auto& [name, amp, act, byte, value] : changes) {
        const uint8_t otherAmp = headByte(1 - amp, byte);
        act();
        EXPECT_TRUE(driveUntilHeadHas(amp, byte, value)) << name;
        EXPECT_EQ(headByte(1 - amp, byte), otherAmp) << name << ": the other amp";
    }
    EXPECT_EQ(panel(0).boosterLabel()->text(), velk::strings::text("BoosterGreenLabel"));
    EXPECT_FALSE(panel(0).boosterSw(0)->isChecked());
    EXPECT_EQ(amplifier->head().receivedCount(Request::EffectParameter), std::size(changes));
}

TEST_F(EffectSettingsPanelTest, disconnectedPanelIsDimmedAndItsKnobSendsNothing) {
    launch(HeadModel::Dual, false);
    EXPECT_TRUE(panel(0).isDimmed()) << "no amplifier yet";
    EXPECT_FALSE(panel(0).fxLoopSw()->isEnabled());
    ASSERT_EQ(amplifier->head().plug(), 0);
    ASSERT_TRUE(driveUntilStateRead());
    window.show();
    EXPECT_FALSE(panel(0).isDimmed());
    panel(0).receiveVelkEvent(eVelkEvent_Disconnected, 0);
    EXPECT_TRUE(panel(0).isDimmed());
    SPDialControl& knob = *panel(0).noiseGateKnob();
    EXPECT_FALSE(knob.isEnabled());
    knob.setEnabled(true);  // as if the amplifier went away in the middle of a turn
    clickAt(0, effect::kFrame_Noise_Gate_Knob);
    EXPECT_FALSE(knob.isEnabled());
    EXPECT_EQ(knob.value(), 0) << "back to what the amplifier holds";
    CVelkManager::instance()->sendRequest(eVelkRequest_FxLoop, 0, 1);  // a change that does reach the head
    ASSERT_TRUE(driveUntilHeadHas(0, kFxLoopByte, 1));
    EXPECT_EQ(amplifier->head().receivedCount(Request::EffectParameter), 1);
}

// Clicking the type already selected keeps it on and sends nothing; a type the head reports out of
// range leaves the switches and the label as they were.
TEST_F(EffectSettingsPanelTest, selectedOrOutOfRangeBoosterTypeLeavesSwitchesAndLabelAsTheyWere) {
    connect(HeadModel::Single);
    EXPECT_FALSE(panel(0).ampChLabel()->isVisibleTo(panel(0).view()));
    clickAt(0, effect::kFrame_Booster_Green_Sw);
    clickAt(0, effect::kFrame_Booster_Green_Sw);
    ASSERT_TRUE(driveUntilHeadHas(0, kBoosterByte, 1));
    amplifier->head().editState([](velk::sim::AmpState& state) { state.effectBlock[kBoosterByte] = 3; });
    CVelkManager::instance()->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    ASSERT_TRUE(driveUntilStateRead(2));
    EXPECT_EQ(amplifier->head().receivedCount(Request::EffectParameter), 1);
    EffectData read{};
    ASSERT_TRUE(CVelkManager::instance()->getEffectData(0, read));
    ASSERT_EQ(read.boosterType, 3);
    for (int type : {0, 1, 2})
        EXPECT_EQ(panel(0).boosterSw(type)->isChecked(), type == 1) << type;
    EXPECT_EQ(panel(0).boosterLabel()->text(), velk::strings::text("BoosterGreenLabel"));
}

// The device manager holds its queue while a request waits for its reply: a click meanwhile must not
// wait with it.
TEST_F(EffectSettingsPanelTest, aSilentHeadDoesNotFreezeTheWindow) {
    connect(HeadModel::Dual);
    amplifier->head().setSilent(true);
    CVelkManager::instance()->sendRequest(eVelkRequest_MainVersion, 0, 0);
    QTest::qWait(200);
    QElapsedTimer clicking;
    clicking.start();
    // The clock keeps its real pace meanwhile, so that a click that does wait for the pass ends.
    whileTheClockRuns(1, [this] { clickAt(1, effect::kFrame_Fx_Loop_Sw); });
    EXPECT_LT(clicking.elapsed(), 1000) << "posting does not wait for the pass";
    ASSERT_TRUE(driveUntil([this] { return !user.alerts.empty(); }));
    EXPECT_EQ(user.alerts.front().messageText, velk::strings::text("Err_Timeout"));
}

}  // namespace
