// The main window against the built-in simulated amplifier on the in-process MIDI hub, with the
// device manager running as in the editor: the connection sequence, the tabs it builds, and the
// errors it shows, and the MIDI monitor that lists the traffic. The device manager runs on a clock
// the test moves.
#include <QClipboard>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>

#include "SimulatedEditorTest.h"
#include "app/MidiMonitorWindowController.h"
#include "app/SimulatorMenu.h"
#include "common/MIDIManager.h"
#include "strings/StringTable.h"

namespace {

using velk::sim::HeadModel;
using velk::strings::text;

using ConnectionSequenceTest = velk::test::SimulatedEditorTest;

// How the device manager finds and reads each model is tests/sim/EditorConnectionTest.cpp's business,
// and the exact messages of a read are checked on JACK by tests/xvfb: here, what the window makes of it.
TEST_F(ConnectionSequenceTest, headPluggedInFromTheSimulatorMenuIsFoundByTheRepeatedSearch) {
    launch(HeadModel::Dual, false);
    QMenuBar menuBar;
    addSimulatorMenu(menuBar, *amplifier);
    const QList<QAction*> entries = menuBar.actions().front()->menu()->actions();
    ASSERT_EQ(entries.size(), 2);
    QAction* unplug = entries[0];
    QAction* plug = entries[1];
    EXPECT_TRUE(!unplug->isEnabled() && plug->isEnabled());
    EXPECT_FALSE(driveUntilStateRead(1, 3500)) << "no amplifier, no connection";
    EXPECT_EQ(controller.statusText(), text("Status_NoDevice").arg("VelkSolvo/"))
        << "says how to go on: choose another device, or try the simulated head";
    plug->trigger();
    ASSERT_TRUE(driveUntilStateRead()) << "the window opens the ports again after each failed search";
    EXPECT_EQ(controller.statusText(), text("Status_ReadyDual").arg(110));
    EXPECT_TRUE(user.alerts.empty());
    EXPECT_TRUE(unplug->isEnabled() && !plug->isEnabled());
    unplug->trigger();
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

class MidiMonitorTest : public velk::test::SimulatedEditorTest {
protected:
    // Asks for the whole state again and waits until the monitor has listed its last reply.
    bool readStateWatched() {
        const int before = stateReads;
        CVelkManager::instance()->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
        return driveUntil([&] {
            monitor.updateTraffic();
            return stateReads > before;
        });
    }

    MidiMonitorWindowController monitor;  // before the device manager, as in the editor
};

TEST_F(MidiMonitorTest, listsBothWaysInWordsOnlyWhileOpenAndNotPaused) {
    launchAndRead(HeadModel::Dual);
    monitor.updateTraffic();
    EXPECT_TRUE(monitor.trafficText().isEmpty()) << "closed, it keeps nothing";

    monitor.showWindow();
    ASSERT_TRUE(readStateWatched());
    monitor.updateTraffic();
    const QString open = monitor.trafficText();
    EXPECT_TRUE(open.contains(" out F0 43 7D 20 58 48 44 32 55 54 49 4C F7  dump request UTIL"))
        << qPrintable(open);
    EXPECT_TRUE(open.contains(QRegularExpression(" in  F0 43 7D 00 .* F7  dump FHR4"))) << qPrintable(open);

    monitor.window()->findChild<QPushButton*>()->click();  // pause
    EXPECT_FALSE(monitor.isWatching());
    ASSERT_TRUE(readStateWatched());
    EXPECT_EQ(monitor.trafficText(), open) << "paused";

    monitor.OnClickedCopyBtn();
    EXPECT_EQ(QApplication::clipboard()->text(), open);
    monitor.window()->close();
    monitor.OnClickedPauseBtn(false);
    EXPECT_FALSE(monitor.isWatching()) << "closed";
}

}  // namespace
