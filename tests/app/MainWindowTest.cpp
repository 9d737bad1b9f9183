// The main window and its controller, on a device manager that is never started: what the
// window posts stays queued.
#include <gtest/gtest.h>
#include <QGraphicsEffect>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "app/AppWindow.h"
#include "app/AppWindowController.h"
#include "app/MainMenu.h"
#include "app/RectText.h"
#include "common/MIDIManager.h"
#include "strings/StringTable.h"

namespace {

using velk::strings::text;

// Return outside a text field goes on as usual: the speaker panel's tests open a folder with it.
TEST(AppWindow, returnOrEnterEndsTextEditingAndGoesNoFurtherWhileOtherKeysPass) {
    velk::test::editorApplication();
    AppWindow window;
    auto* field = new QLineEdit;
    window.setCentralWidget(field);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    QSignalSpy finished(field, &QLineEdit::editingFinished);
    QSignalSpy returned(field, &QLineEdit::returnPressed);
    QTest::keyClicks(field, "Cab 4x12");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(field->hasFocus());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(returned.count(), 0) << "the key was not delivered to the field, so goes no further";
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(field->hasFocus()) << "keypad Enter too";
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A);
    EXPECT_EQ(field->text(), QStringLiteral("Cab 4x12a")) << "other keys pass";
    field->setReadOnly(true);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(field->hasFocus()) << "a read-only field is not being edited";
}

// The editor's window on a first-run settings store, left empty again afterwards.
class FirstRunTest : public testing::Test {
protected:
    void SetUp() override {
        velk::test::clearPreferenceStore();
        Preference::sharedInstance().load();
    }
    void TearDown() override { velk::test::clearPreferenceStore(); }

    VelkUtilityApp& app = velk::test::editorApplication();
    velk::test::AnsweringPresenter user;
};

class ControllerTest : public FirstRunTest {
protected:
    void TearDown() override {
        controller.windowWillClose();
        CVelkManager::terminate();
        FirstRunTest::TearDown();
    }

    // The tabs as label and page, in order.
    using Tab = std::pair<QString, QWidget*>;
    std::vector<Tab> tabs() const {
        std::vector<Tab> shown;
        for (int i = 0; i < controller.tabView()->count(); ++i)
            shown.emplace_back(controller.tabView()->tabText(i), controller.tabView()->widget(i));
        return shown;
    }
    Tab effect(int amp) const {
        return {text(amp ? "Tab_EffectSettingsAmpII" : "Tab_EffectSettingsAmpI"),
                controller.effectSettingsView(amp)};
    }
    Tab speaker(int amp) const {
        return {text(amp ? "Tab_SpeakerSimulationAmpII" : "Tab_SpeakerSimulationAmpI"),
                controller.speakerSimulationView(amp)};
    }

    AppWindow window;
    AppWindowController controller{window};
};

TEST_F(ControllerTest, tabsStartTabAndStatusLineFollowTheDeviceManager) {
    EXPECT_EQ(controller.model(), 0);
    controller.setStartTab(3);
    controller.awakeFromNib();
    EXPECT_EQ(tabs(), (std::vector<Tab>{effect(0), speaker(0)})) << "single-amp tabs until a head answers";
    EXPECT_EQ(controller.tabView()->currentIndex(), 0) << "the start tab is not among them";
    EXPECT_FALSE(controller.statusText().isEmpty());
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    EXPECT_EQ(tabs(), (std::vector<Tab>{effect(0), effect(1), speaker(0), speaker(1)}));
    EXPECT_EQ(controller.tabView()->currentWidget(), controller.speakerSimulationView(1)) << "the start tab";
    EXPECT_EQ(controller.statusText(), text("Status_ConnectedDual"));
    controller.tabView()->setCurrentIndex(1);
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    EXPECT_EQ(controller.tabView()->currentIndex(), 1) << "the same model again leaves the tabs alone";
    controller.receiveVelkEvent(eVelkEvent_MainVersion, 110);
    EXPECT_EQ(controller.statusText(), text("Status_ReadingDual").arg(110));
    controller.receiveVelkEvent(eVelkEvent_AllDataReceived, 0);
    EXPECT_EQ(controller.statusText(), text("Status_ReadyDual").arg(110));
    controller.receiveVelkEvent(eVelkEvent_Disconnected, 0);
    EXPECT_EQ(controller.statusText(), text("Status_Disconnected"));
    EXPECT_EQ(controller.model(), 2) << "a disconnection keeps the tabs of the last model";
    EXPECT_EQ(controller.tabView()->count(), 4);
    controller.receiveVelkEvent(eVelkEvent_Connected, 1);
    EXPECT_EQ(tabs(), (std::vector<Tab>{effect(0), speaker(0)}));
    controller.receiveVelkEvent(eVelkEvent_MainVersion, 110);
    controller.receiveVelkEvent(eVelkEvent_AllDataReceived, 0);
    EXPECT_EQ(controller.statusText(), text("Status_ReadySingle").arg(110));
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    EXPECT_EQ(tabs(), (std::vector<Tab>{effect(0), effect(1), speaker(0), speaker(1)}))
        << "the panels outlive their tabs";
}

TEST_F(ControllerTest, mainVersionDecidesWhetherTheFxLoopConnectionIsOffered) {
    controller.awakeFromNib();
    // Model, main version, and whether the connection is offered.
    const std::tuple<int32_t, int32_t, bool> cases[] = {{2, 41, false},   {2, 42, true},   {2, 49, true},
                                                        {2, 50, false},   {2, 109, false}, {2, 110, true},
                                                        {2, 16383, true}, {1, 42, false},  {1, 110, false}};
    for (auto [model, version, offered] : cases) {
        controller.receiveVelkEvent(eVelkEvent_Connected, model);
        CVelkManager::instance()->enableFxLoopConnection(!offered);
        controller.receiveVelkEvent(eVelkEvent_MainVersion, version);
        EXPECT_EQ(CVelkManager::instance()->isEnableFxLoopConnection(), offered)
            << "model " << model << " version " << version;
    }
}

// Also run under a window manager (tests/app/CMakeLists.txt).
TEST_F(ControllerTest, windowKeepsThePanelsSizeDimsThemWhileWaitingAndStoresItsFrameOnlyIfShown) {
    MainMenu& menu = *new MainMenu(window);
    controller.awakeFromNib();
    controller.windowWillClose();
    EXPECT_FALSE(PreferenceStore().contains("WindowRect")) << "hidden";
    window.move(123, 45);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QSize fixed = window.size();
    EXPECT_EQ(window.minimumSize(), fixed);
    EXPECT_EQ(window.maximumSize(), fixed);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    window.showMaximized();
    window.resize(fixed * 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.size(), fixed);
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.size(), fixed) << "four tabs of the same panels";

    EXPECT_FALSE(controller.waitIndicator()->isVisible());
    controller.waitIndicatorStart();
    EXPECT_TRUE(controller.waitIndicator()->isVisible());
    auto* dimming = qobject_cast<QGraphicsOpacityEffect*>(controller.tabView()->graphicsEffect());
    ASSERT_NE(dimming, nullptr);
    EXPECT_DOUBLE_EQ(dimming->opacity(), 0.5);
    EXPECT_TRUE(controller.tabView()->isEnabled()) << "the panels disable their own controls";
    controller.waitIndicatorStop();
    EXPECT_FALSE(controller.waitIndicator()->isVisible());
    EXPECT_EQ(controller.tabView()->graphicsEffect(), nullptr);

    const QRect shown = window.geometry();
    menu.quitAction()->trigger();
    EXPECT_EQ(PreferenceStore().value("WindowRect").toString(), velk::app::rectToText(shown));
}

class WindowPosition : public FirstRunTest {
protected:
    // One start of the editor's window, up to the moment it is on screen; then it closes.
    template <typename WhileShown>
    void run(WhileShown&& whileShown) {
        AppWindow window;
        AppWindowController controller(window);
        controller.awakeFromNib();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        whileShown(window);
        window.close();
        CVelkManager::terminate();
    }
};

TEST_F(WindowPosition, storedOriginIsRestoredButNotTheSizeNorOffEveryScreen) {
    QPoint placed;
    run([&](AppWindow& window) { placed = window.geometry().topLeft(); });
    const std::pair<const char*, std::optional<QPoint>> cases[] = {
        {"{{210, 130}, {5, 5}}", QPoint(210, 130)},
        {"{{-9000, 9000}, {5, 5}}", std::nullopt},
    };
    for (const auto& [stored, origin] : cases) {
        Preference::sharedInstance().setM_WindowRect(stored);
        run([&, stored = stored, origin = origin](AppWindow& window) {
            EXPECT_EQ(window.geometry().topLeft(), origin.value_or(placed)) << stored;
            EXPECT_NE(window.size(), QSize(5, 5));
        });
    }
    Preference::sharedInstance().setM_WindowRect("not a rectangle");
    run([](AppWindow& window) {
        EXPECT_TRUE(window.frameGeometry().contains(QPoint(0, 0))) << "in the screen's top-left corner";
    });
}

// Each start restores what the last one stored. Where the desktop draws a frame around the window
// (tests/app/CMakeLists.txt runs this under a window manager too) the origin must not move by it.
TEST_F(WindowPosition, staysPutOverRestarts) {
    Preference::sharedInstance().setM_WindowRect("{{140, 90}, {1, 1}}");
    for (int start = 1; start <= 3; ++start) {
        run([start](AppWindow& window) {
            // A window manager frames and places the window after it is mapped.
            (void)QTest::qWaitFor([&] { return window.geometry().topLeft() == QPoint(140, 90); }, 2000);
            EXPECT_EQ(window.geometry().topLeft(), QPoint(140, 90)) << "start " << start;
        });
    }
}

TEST(ControllerLifetime, controllerOutlivingTheManagersDoesNotBringThemBack) {
    velk::test::editorApplication();
    {
        AppWindow window;
        AppWindowController controller(window);
        controller.awakeFromNib();
        CVelkManager::terminate();
    }
    EXPECT_EQ(CMIDIManager::instance(), nullptr);
}

}  // namespace
