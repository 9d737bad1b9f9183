// The settings window against the simulated amplifier: what it lets the user change on each head,
// what it keeps of the channel choice, the reset of the stored impulse responses, and the MIDI
// device choice.
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "SimulatedEditorTest.h"
#include "app/MainMenu.h"
#include "app/PreferenceWindowController.h"
#include "app/RadioMatrix.h"
#include "sim/VirtualDevicePorts.h"

namespace {

using velk::sim::HeadModel;
using velk::sim::Request;

constexpr int kCancelTag = 0;
constexpr int kRightChannelRow = 1;

class PreferenceWindowTest : public velk::test::SimulatedEditorTest {
protected:
    // Opens the dialog from the menu, runs `whileOpen` in it and ends it with the tag it returns.
    void runDialog(const std::function<int()>& whileOpen) {
        QObject::connect(
            &settings, &PreferenceWindowController::opened, &settings,
            [&] { settings.finishAction(whileOpen()); }, Qt::SingleShotConnection);
        QObject::connect(
            &menu, &MainMenu::settingsRequested, &settings, [&] { result = settings.startAction(); },
            Qt::SingleShotConnection);
        menu.settingsAction()->trigger();
    }
    // Send, return, channel, reset, OK.
    using Enabled = std::array<bool, 5>;
    Enabled enabled() const {
        return {settings.sendMatrix()->button(0)->isEnabled(),
                settings.returnMatrix()->button(0)->isEnabled(),
                settings.channelMatrix()->button(0)->isEnabled(), settings.resetButton()->isEnabled(),
                settings.okButton()->isEnabled()};
    }

    MainMenu& menu = *new MainMenu(window);
    PreferenceWindowController settings{&window};
    int result = -1;
};

TEST_F(PreferenceWindowTest, singleHeadOffersNoLoopConnectionAndOnlyOkKeepsTheChosenChannel) {
    launchAndRead(HeadModel::Single);
    for (auto [tag, storedChannel] : {std::pair<int, qint64>{kCancelTag, 0},
                                      {2, 0},
                                      {PreferenceWindowController::kOkTag, kRightChannelRow}}) {
        runDialog([&] {
            EXPECT_TRUE(settings.window()->isModal());
            EXPECT_EQ(enabled(), (Enabled{false, false, true, true, true}));
            settings.channelMatrix()->button(kRightChannelRow)->click();
            return tag;
        });
        EXPECT_EQ(result, tag);
        Preference::sharedInstance().load();
        EXPECT_EQ(Preference::sharedInstance().m_PrimaryCh(), storedChannel) << "ended by " << tag;
    }
}

// A declined reset sends nothing; a confirmed one waits for the head, then reads it twice (the
// messages are checked on JACK by tests/xvfb/settings_dialog.sh).
TEST_F(PreferenceWindowTest, resetIsConfirmedThenWaitsForTheHeadAndReadsItTwice) {
    launchAndRead(HeadModel::Dual);
    user.answer = 1;
    runDialog([&] {
        settings.resetButton()->click();
        EXPECT_EQ(enabled(), (Enabled{true, true, true, true, true}));
        return kCancelTag;
    });
    ASSERT_EQ(user.alerts.size(), 1u);
    EXPECT_EQ(amplifier->head().receivedCount(Request::InitIrData), 0);
    user.answer = 0;
    amplifier->head().editState([](velk::sim::AmpState& state) {
        state.effectBlock[5] = 2;  // send connection
        state.effectBlock[6] = 1;  // return connection
    });
    runDialog([&] {
        settings.resetButton()->click();
        EXPECT_EQ(enabled(), (Enabled{false, false, false, false, false}));
        EXPECT_TRUE(driveUntilStateRead(3)) << "read twice";
        EXPECT_EQ(enabled(), (Enabled{true, true, true, true, true}));
        return PreferenceWindowController::kOkTag;
    });
    EXPECT_EQ(amplifier->head().receivedCount(Request::InitIrData), 1);
    EXPECT_EQ(settings.sendMatrix()->selectedRow(), 2);
    EXPECT_EQ(settings.returnMatrix()->selectedRow(), 1);
}

TEST_F(PreferenceWindowTest, choosingAnotherDeviceReconnectsToIt) {
    launchAndRead(HeadModel::Dual);
    velk::sim::AmpSimulator other(std::make_unique<velk::sim::VirtualDevicePorts>(amplifier->hub()),
                                  {HeadModel::Single, 110, "Bench/Other"});
    ASSERT_EQ(other.plug(), 0);
    runDialog([&] {
        QComboBox* device = settings.midiDeviceChoice();
        EXPECT_TRUE(driveUntil([&] { return device->findText("Bench/Other") >= 0; }))
            << "the list follows the devices present";
        device->setEditText("Bench/");
        emit device->lineEdit()->editingFinished();
        EXPECT_TRUE(driveUntil([&] { return controller.model() == 1 && stateReads >= 2; }));
        return kCancelTag;
    });
    EXPECT_EQ(other.receivedCount(Request::Dump), 6);
    Preference::sharedInstance().load();
    EXPECT_EQ(Preference::sharedInstance().m_MidiDeviceText(), "Bench/");
}

TEST_F(PreferenceWindowTest, aboutTellsVersionLicenceAndHome) {
    launch(HeadModel::Dual, false);
    menu.aboutAction()->trigger();
    ASSERT_EQ(user.alerts.size(), 1u);
    EXPECT_TRUE(user.alerts[0].informativeText.contains(QStringLiteral(PROJECT_VERSION)));
}

}  // namespace
