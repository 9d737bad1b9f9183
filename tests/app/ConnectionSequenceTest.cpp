// The main window against the built-in simulated amplifier on the in-process MIDI hub, with the
// device manager running as in the editor: the connection sequence, the tabs it builds, and the
// errors it shows.
#include <gtest/gtest.h>
#include <QTabWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "app/AppDelegate.h"
#include "app/AppWindow.h"
#include "app/AppWindowController.h"
#include "app/SimulatedAmplifier.h"
#include "common/VelkManager.h"
#include "strings/StringTable.h"

namespace {

using velk::sim::HeadModel;
using velk::sim::Request;
using velk::strings::text;

// The search repeats every 3 s and a reply may take up to 5 s: allow for both, and a busy machine.
constexpr int kPatienceMs = 15000;

class ConnectionSequenceTest : public testing::Test {
protected:
    void TearDown() override {
        if (controller)
            controller->windowWillClose();
        delegate.applicationWillTerminate();
        controller.reset();
        amplifier.reset();
        velk::test::clearPreferenceStore();
    }

    // Starts the editor as the program does, against a head of this model and firmware.
    void launch(HeadModel model, uint16_t mainVersion = SimulatedAmplifier::kDefaultMainVersion,
                bool plugged = true) {
        amplifier = std::make_unique<SimulatedAmplifier>(model, mainVersion);
        if (!plugged)
            amplifier->head().unplug();
        controller = std::make_unique<AppWindowController>(window);
        connect(*controller);
        controller->awakeFromNib();
        delegate.applicationDidFinishLaunching();
    }
    void connect(AppWindowController& c) {
        QObject::connect(&c, &AppWindowController::allDataReceived, [this] { ++stateReads; });
    }
    bool waitForStateRead(int count = 1) {
        return QTest::qWaitFor([&] { return stateReads >= count; }, kPatienceMs);
    }

    VelkUtilityApp& app = velk::test::editorApplication();
    velk::test::AnsweringPresenter user;
    AppDelegate delegate;
    AppWindow window;
    std::unique_ptr<SimulatedAmplifier> amplifier;
    std::unique_ptr<AppWindowController> controller;
    int stateReads = 0;
};

TEST_F(ConnectionSequenceTest, dualAmpHeadIsFoundAskedForItsVersionAndReadWhole) {
    launch(HeadModel::Dual);
    ASSERT_TRUE(waitForStateRead());
    EXPECT_EQ(controller->model(), 2);
    EXPECT_EQ(controller->tabView()->count(), 4);
    velk::sim::AmpSimulator& head = amplifier->head();
    EXPECT_EQ(head.receivedCount(Request::MainVersion), 1);
    EXPECT_EQ(head.receivedCount(Request::Dump), 11) << "effect block and ten IR headers";
    EXPECT_TRUE(CVelkManager::instance()->isEnableFxLoopConnection());
    EXPECT_EQ(controller->statusText(), text("Status_ReadyDual").arg(110));
    EXPECT_TRUE(user.alerts.empty());
}

TEST_F(ConnectionSequenceTest, singleAmpHeadKeepsTwoTabsAndNeverOffersTheLoopConnection) {
    launch(HeadModel::Single);
    ASSERT_TRUE(waitForStateRead());
    EXPECT_EQ(controller->model(), 1);
    EXPECT_EQ(controller->tabView()->count(), 2);
    EXPECT_EQ(amplifier->head().receivedCount(Request::Dump), 6);
    EXPECT_FALSE(CVelkManager::instance()->isEnableFxLoopConnection());
}

TEST_F(ConnectionSequenceTest, olderDualAmpFirmwareDoesNotOfferTheLoopConnection) {
    launch(HeadModel::Dual, 41);
    ASSERT_TRUE(waitForStateRead());
    EXPECT_FALSE(CVelkManager::instance()->isEnableFxLoopConnection());
}

TEST_F(ConnectionSequenceTest, amplifierSwitchedOnLaterIsFoundByTheRepeatedSearch) {
    launch(HeadModel::Dual, SimulatedAmplifier::kDefaultMainVersion, false);
    QTest::qWait(500);
    EXPECT_EQ(controller->tabView()->count(), 2) << "no amplifier yet: the single-amp tabs";
    EXPECT_EQ(controller->statusText(), text("Status_Searching"));
    ASSERT_EQ(amplifier->head().plug(), 0);
    ASSERT_TRUE(waitForStateRead()) << "the window opens the ports again after each failed search";
    EXPECT_EQ(controller->tabView()->count(), 4);
}

TEST_F(ConnectionSequenceTest, silentAmplifierShowsTheTimeoutAndIsSearchedAgain) {
    launch(HeadModel::Dual);
    ASSERT_TRUE(waitForStateRead());
    amplifier->head().setSilent(true);
    CVelkManager::instance()->sendRequest(eVelkRequest_MainVersion, 0, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !user.alerts.empty(); }, kPatienceMs));
    EXPECT_EQ(user.alerts.front().messageText, text("Err_Timeout"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return controller->statusText() == text("Status_Disconnected"); }, 2000));
    amplifier->head().setSilent(false);
    EXPECT_TRUE(waitForStateRead(2)) << "connected and read again";
}

}  // namespace
