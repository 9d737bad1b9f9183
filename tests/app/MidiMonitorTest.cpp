// The MIDI monitor against the simulated amplifier: what it lists while open, and that it watches
// nothing while closed or paused.
#include <QClipboard>
#include <QPushButton>

#include "SimulatedEditorTest.h"
#include "app/MidiMonitorWindowController.h"

namespace {

using velk::sim::HeadModel;

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
