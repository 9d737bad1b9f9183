// The main window against the built-in simulated amplifier on the in-process MIDI hub, with the
// device manager running as in the editor: the connection sequence, the tabs it builds, and the
// errors it shows. The device manager runs on a clock the test moves, except in one real-time run.
#include <QMenuBar>
#include <QTabWidget>

#include "SimulatedEditorTest.h"
#include "app/SimulatorMenu.h"
#include "common/MIDIManager.h"
#include "strings/StringTable.h"

namespace {

using velk::sim::HeadModel;
using velk::strings::text;

using ConnectionSequenceTest = velk::test::SimulatedEditorTest;

struct Head {
    HeadModel model;
    bool realTime;
};
void PrintTo(const Head& h, std::ostream* os) {
    *os << (h.model == HeadModel::Dual ? "dual" : "single") << (h.realTime ? " in real time" : "");
}

class HeadConnectionTest : public ConnectionSequenceTest, public testing::WithParamInterface<Head> {};

TEST_P(HeadConnectionTest, headIsFoundAskedForItsVersionAndReadWhole) {
    const bool dual = GetParam().model == HeadModel::Dual;
    realTime = GetParam().realTime;
    launch(GetParam().model);
    ASSERT_TRUE(driveUntilStateRead());
    EXPECT_EQ(controller.model(), dual ? 2 : 1);
    EXPECT_EQ(controller.tabView()->count(), dual ? 4 : 2);
    EXPECT_EQ(amplifier->head().receivedCount(velk::sim::Request::MainVersion), 1);
    EXPECT_EQ(amplifier->head().receivedCount(velk::sim::Request::Dump), dual ? 11 : 6)
        << "the effect block and the header of each of the amps' IR slots";
    EXPECT_EQ(CVelkManager::instance()->isEnableFxLoopConnection(), dual) << "firmware 110";
    EXPECT_EQ(controller.statusText(), text(dual ? "Status_ReadyDual" : "Status_ReadySingle").arg(110));
    EXPECT_TRUE(user.alerts.empty());
}

INSTANTIATE_TEST_SUITE_P(Heads, HeadConnectionTest,
                         testing::Values(Head{HeadModel::Dual, true}, Head{HeadModel::Single, false}));

TEST_F(ConnectionSequenceTest, amplifierSwitchedOnLaterIsFoundByTheRepeatedSearch) {
    launch(HeadModel::Dual, false);
    EXPECT_FALSE(driveUntilStateRead(1, 3500)) << "no amplifier, no connection";
    EXPECT_EQ(controller.tabView()->count(), 2) << "the single-amp tabs";
    EXPECT_EQ(controller.statusText(), text("Status_NoDevice").arg("VelkSolvo/"))
        << "says how to go on: choose another device, or try the simulated head";
    ASSERT_EQ(amplifier->head().plug(), 0);
    ASSERT_TRUE(driveUntilStateRead()) << "the window opens the ports again after each failed search";
    EXPECT_EQ(controller.tabView()->count(), 4);
}

TEST_F(ConnectionSequenceTest, silentAmplifierShowsTheTimeoutAndIsSearchedAgain) {
    launchAndRead(HeadModel::Dual);
    amplifier->head().setSilent(true);
    CVelkManager::instance()->sendRequest(eVelkRequest_MainVersion, 0, 0);
    ASSERT_TRUE(driveUntil([&] { return !user.alerts.empty(); }));
    EXPECT_EQ(user.alerts.front().messageText, text("Err_Timeout"));
    ASSERT_TRUE(driveUntil([] { return !CVelkManager::instance()->isConnected(); }, 2000))
        << "the time-out drops the connection";
    amplifier->head().setSilent(false);
    EXPECT_TRUE(driveUntilStateRead(2)) << "connected and read again";
}

TEST_F(ConnectionSequenceTest, simulatorMenuUnplugsTheHeadAndPlugsItInAgain) {
    launchAndRead(HeadModel::Dual);
    QMenuBar menuBar;
    addSimulatorMenu(menuBar, *amplifier);
    const QList<QAction*> entries = menuBar.actions().front()->menu()->actions();
    ASSERT_EQ(entries.size(), 2);
    QAction* unplug = entries[0];
    QAction* plug = entries[1];
    EXPECT_TRUE(unplug->isEnabled() && !plug->isEnabled());
    unplug->trigger();
    EXPECT_FALSE(amplifier->head().isPlugged());
    EXPECT_TRUE(!unplug->isEnabled() && plug->isEnabled());
    ASSERT_TRUE(driveUntil([] { return !CVelkManager::instance()->isConnected(); }, 8000))
        << "the editor sees the amplifier go";
    plug->trigger();
    EXPECT_TRUE(driveUntilStateRead(2)) << "and finds it again";
}

TEST_F(ConnectionSequenceTest, withoutMidiServiceTheStatusSaysWhatToStart) {
    mstd::setProcessClock(&clock);
    CMIDIManager::setServiceProvider([] { return std::shared_ptr<midi::MidiService>(); });
    controller.awakeFromNib();
    EXPECT_EQ(controller.statusText(), text("Status_NoMidiService").arg("no MIDI service provided"));
    CMIDIManager::setServiceProvider(nullptr);
}

}  // namespace
