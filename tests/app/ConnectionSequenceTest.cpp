// The main window against the built-in simulated amplifier on the in-process MIDI hub, with the
// device manager running as in the editor: the connection sequence, the tabs it builds, and the
// errors it shows. The device manager runs on a clock the test moves.
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

// How the device manager finds and reads each model is tests/sim/EditorConnectionTest.cpp's business,
// and the exact messages of a read are checked on JACK by tests/xvfb: here, what the window makes of it.
TEST_F(ConnectionSequenceTest, headIsFoundAndReadAndTheWindowSaysSo) {
    launchAndRead(HeadModel::Single);
    EXPECT_EQ(controller.model(), 1);
    EXPECT_EQ(controller.tabView()->count(), 2);
    EXPECT_EQ(controller.statusText(), text("Status_ReadySingle").arg(110));
    EXPECT_TRUE(user.alerts.empty());
}

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
