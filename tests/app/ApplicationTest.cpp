// The application object, its delegate, its main queue and its command line.
#include <gtest/gtest.h>
#include <QException>
#include <QThread>
#include <chrono>
#include <string>
#include <thread>

#include "AppTestSupport.h"
#include "app/AppDelegate.h"
#include "app/LaunchOptions.h"
#include "app/MainQueue.h"
#include "common/GenericException.h"
#include "common/MIDIManager.h"
#include "common/VelkManager.h"
#include "strings/StringTable.h"

namespace {

using velk::app::gMain_queue;
using velk::strings::text;

struct ToolkitFailure : QException {
    void raise() const override { throw *this; }
    ToolkitFailure* clone() const override { return new ToolkitFailure(*this); }
    const char* what() const noexcept override { return "the toolkit gave up"; }
};

// An object whose handling of a user event throws what the test asks for.
class Thrower : public QObject {
public:
    std::function<void()> fail;
    int handled = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++handled;
        if (fail)
            fail();
        return true;
    }
};

TEST(VelkUtilityApp, exceptionOfAnEventHandlerIsLoggedAndTheNextEventIsHandled) {
    velk::test::editorApplication();
    Thrower receiver;
    const auto deliver = [&receiver] {
        QEvent event(QEvent::User);
        return QCoreApplication::sendEvent(&receiver, &event);
    };
    const std::pair<std::function<void()>, std::string> failures[] = {
        {[] { throw mstd::CGenericException(1004, 0, ""); }, "C++ Exception Caught\n"},
        {[] { throw 42; }, "C++ Exception Caught\n"},
        {[] { throw ToolkitFailure(); },
         "NSException Caught (anonymous namespace)::ToolkitFailure:the toolkit gave up\n"},
    };
    for (const auto& [fail, logged] : failures) {
        receiver.fail = fail;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(deliver());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), logged);
    }
    receiver.fail = nullptr;
    EXPECT_TRUE(deliver());
    EXPECT_EQ(receiver.handled, 4);
}

TEST(MainQueue, workRunsInOrderOnTheGuiThreadWhenItsLoopTurnsAndNeverAfterItsReceiverIsGone) {
    velk::test::editorApplication();
    QObject receiver;
    auto* gone = new QObject;
    std::vector<int> order;
    QThread* ranOn = nullptr;
    std::thread poster([&] {
        gMain_queue.async(gone, [&] { order.push_back(-1); });
        for (int i = 0; i < 3; ++i)
            gMain_queue.async(&receiver, [&, i] {
                order.push_back(i);
                ranOn = QThread::currentThread();
            });
    });
    poster.join();
    EXPECT_TRUE(order.empty()) << "nothing runs before the GUI thread turns its event loop";
    delete gone;
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(ranOn, QCoreApplication::instance()->thread());
}

// The GUI thread takes the work in while the thread that posted it goes on, without waiting on the
// event loop's wake-up: under ThreadSanitizer, only the queue's own lock stands between them.
TEST(MainQueue, workFromAThreadThatGoesOnArrivesWithWhatItCaptured) {
    velk::test::editorApplication();
    QObject receiver;
    const std::string sent(64, 'x');
    std::string seen;
    std::thread poster([&] { gMain_queue.async(&receiver, [&seen, text = sent] { seen = text; }); });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (seen.empty() && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::sendPostedEvents();
    poster.join();
    EXPECT_EQ(seen, sent);
}

// Runs `whileOpen` inside the first alert it shows, as events that arrive while the user reads it,
// turning the alert's own event loop; answers every alert at once.
class UserReadingSlowly : public velk::test::AnsweringPresenter {
public:
    std::function<void()> whileOpen;
    int open = 0, mostOpenAtOnce = 0;

    int runModal(const velk::app::Alert& alert) override {
        mostOpenAtOnce = std::max(mostOpenAtOnce, ++open);
        if (auto reading = std::exchange(whileOpen, nullptr))
            reading();
        QCoreApplication::processEvents();
        --open;
        return AnsweringPresenter::runModal(alert);
    }
};

TEST(MainQueue, workPostedWhileAnAlertIsOpenRunsAfterItInOrderAndARepeatOfItIsDropped) {
    velk::test::editorApplication();
    UserReadingSlowly user;
    QObject receiver;
    std::vector<int> order;
    const auto post = [&](std::function<void()> work) {
        std::thread([&] { gMain_queue.async(&receiver, work); }).join();
    };
    user.whileOpen = [&] {
        for (int i = 0; i < 3; ++i)
            post([&, i] { order.push_back(i); });
        post([] { AppDelegate::displayError(1004); });
        post([&] { order.push_back(3); });
        post([] { AppDelegate::displayError(999); });
        post([] { AppDelegate::displayError(1004); });
        QCoreApplication::processEvents();
        EXPECT_TRUE(order.empty()) << "held while the alert is open";
    };
    AppDelegate::displayError(1004);
    EXPECT_TRUE(order.empty()) << "the code that asked for the alert goes on first";
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
    std::vector<QString> shown;
    for (const velk::app::Alert& alert : user.alerts) {
        shown.push_back(alert.messageText);
        EXPECT_EQ(alert.style, velk::app::Alert::Style::Critical);
        EXPECT_EQ(alert.buttons.size(), 1);
    }
    EXPECT_EQ(shown, (std::vector<QString>{text("Err_Timeout"), text("Err_Unknown")}))
        << "the time-out repeated while its alert was open is shown once; a code without text says so";
    EXPECT_TRUE(user.alerts.back().informativeText.contains("999"));
    EXPECT_EQ(user.mostOpenAtOnce, 1) << "never an alert on top of another";
}

TEST(LaunchOptions, readsTheHeadTheServiceAndTheScreenshotFileAndRefusesUnknownOnesWithAReason) {
    velk::test::editorApplication();
    QString error;
    const auto parse = [&error](const QStringList& arguments) {
        return LaunchOptions::parse(QStringList{"velk-vovezid"} + arguments, error);
    };
    // value() throws where an option is refused.
    const LaunchOptions plain = parse({}).value();
    EXPECT_FALSE(plain.simulate || plain.midi || !plain.screenshot.isEmpty() || plain.tab)
        << "a real amplifier on the automatic service, first tab";
    // tests/xvfb start the editor with --midi jack on a chosen --tab.
    const LaunchOptions options = parse({"--simulate=single", "--screenshot", "a.png"}).value();
    EXPECT_EQ(options.simulate, velk::sim::HeadModel::Single);
    EXPECT_EQ(options.screenshot, QStringLiteral("a.png"));
    const QString block = QStringLiteral("00010103020000000002000103000000");
    EXPECT_EQ(parse({"--simulate", "dual", "--effect-block", block})->effectBlock->at(11), 1);
    for (const QStringList& wrong :
         {QStringList{"--simulate", "triple"}, QStringList{"--midi", "coremidi"}, QStringList{"--tab", "5"},
          QStringList{"--tab", "0"}, QStringList{"--tab", "two"}, QStringList{"--effect-block", block},
          QStringList{"--effect-block", QString(block).replace(2, 2, "80"), "--simulate", "dual"},
          QStringList{"--effect-block", "zz" + block.mid(2), "--simulate", "dual"}}) {
        EXPECT_FALSE(parse(wrong));
        EXPECT_TRUE(error.contains(wrong[1])) << error.toStdString();
    }
    EXPECT_FALSE(parse({"--no-such-option"}));
    EXPECT_TRUE(error.contains("no-such-option")) << error.toStdString();
}

TEST(AppDelegate, loadsThePreferencesWhenCreatedAndSavesThemAfterLaunchAtQuit) {
    velk::test::editorApplication();
    velk::test::clearPreferenceStore();
    PreferenceStore().setValue("PrimaryCh", 2);
    AppDelegate delegate;
    EXPECT_EQ(Preference::sharedInstance().m_PrimaryCh(), 2);
    delegate.applicationDidFinishLaunching();
    Preference::sharedInstance().setM_PrimaryCh(1);
    delegate.applicationWillTerminate();
    EXPECT_EQ(PreferenceStore().value("PrimaryCh").toInt(), 1);
    velk::test::clearPreferenceStore();
}

}  // namespace
