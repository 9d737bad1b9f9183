// The main window and its controller, on a device manager that is never started: what the
// window posts stays queued.
#include <gtest/gtest.h>
#include <QGraphicsEffect>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "app/AppWindow.h"
#include "app/AppWindowController.h"
#include "app/PanelLayout.h"
#include "app/RectText.h"
#include "common/MIDIManager.h"
#include "strings/StringTable.h"

namespace {

using velk::strings::text;

// Counts the key presses that reach it, as a parent of the fields would see them.
class KeyCounter : public QWidget {
public:
    int presses = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        ++presses;
        event->accept();
    }
};

TEST(AppWindow, returnOrEnterEndsTextEditingAndGoesNoFurtherWhileOtherKeysPass) {
    velk::test::editorApplication();
    AppWindow window;
    auto* holder = new KeyCounter;
    auto* field = new QLineEdit(holder);
    auto* other = new QLineEdit(holder);
    window.setCentralWidget(holder);
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
    EXPECT_EQ(returned.count(), 0) << "the key was not delivered to the field";
    EXPECT_EQ(holder->presses, 0) << "nor to anything behind it";
    EXPECT_EQ(field->text(), QStringLiteral("Cab 4x12"));
    EXPECT_TRUE(window.sendingKeydownEvent());
    window.setInitialFocusWidget(other);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(other->hasFocus()) << "keypad Enter too, and the focus goes to the initial focus widget";

    QTest::keyClick(other, Qt::Key_A);
    EXPECT_EQ(other->text(), QStringLiteral("a"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.sendingKeydownEvent()) << "dropped once another key has been handled";
    holder->setFocusPolicy(Qt::StrongFocus);
    holder->setFocus();
    QTest::keyClick(holder, Qt::Key_Return);
    EXPECT_EQ(holder->presses, 1) << "Return outside a text field is delivered as usual";
    field->setReadOnly(true);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(field->hasFocus()) << "a read-only field is not being edited";
}

class ControllerTest : public testing::Test {
protected:
    void SetUp() override {
        velk::test::clearPreferenceStore();
        Preference::sharedInstance().load();
    }
    void TearDown() override {
        controller.windowWillClose();
        CVelkManager::terminate();
        velk::test::clearPreferenceStore();
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

    VelkUtilityApp& app = velk::test::editorApplication();
    velk::test::AnsweringPresenter user;
    AppWindow window;
    AppWindowController controller{window};
};

TEST_F(ControllerTest, tabsAndStatusLineFollowTheConnectedModel) {
    for (int amp : {0, 1}) {
        EXPECT_EQ(controller.effectSettingsView(amp)->size(), velk::layout::kPanelSize);
        EXPECT_EQ(controller.speakerSimulationView(amp)->size(), velk::layout::kPanelSize);
    }
    EXPECT_EQ(controller.model(), 0);
    controller.awakeFromNib();
    EXPECT_EQ(tabs(), (std::vector<Tab>{effect(0), speaker(0)})) << "single-amp tabs until a head answers";
    EXPECT_FALSE(controller.statusText().isEmpty());
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    EXPECT_EQ(tabs(), (std::vector<Tab>{effect(0), effect(1), speaker(0), speaker(1)}));
    EXPECT_EQ(controller.statusText(), text("Status_ConnectedDual"));
    controller.tabView()->setCurrentIndex(3);
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    EXPECT_EQ(controller.tabView()->currentIndex(), 3) << "the same model again leaves the tabs alone";
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
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    EXPECT_EQ(tabs(), (std::vector<Tab>{effect(0), effect(1), speaker(0), speaker(1)}))
        << "the panels outlive their tabs";
}

TEST_F(ControllerTest, startTabIsShownWheneverTheModelHasIt) {
    controller.setStartTab(3);
    controller.awakeFromNib();
    EXPECT_EQ(controller.tabView()->currentIndex(), 0) << "the single-amp head has two tabs";
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    EXPECT_EQ(controller.tabView()->currentWidget(), controller.speakerSimulationView(1));
}

TEST_F(ControllerTest, mainVersionDecidesWhetherTheFxLoopConnectionIsOffered) {
    controller.awakeFromNib();
    struct Case {
        int32_t model, version;
        bool offered;
    };
    for (const Case& c :
         {Case{2, 41, false}, Case{2, 42, true}, Case{2, 49, true}, Case{2, 50, false}, Case{2, 109, false},
          Case{2, 110, true}, Case{2, 16383, true}, Case{1, 42, false}, Case{1, 110, false}}) {
        controller.receiveVelkEvent(eVelkEvent_Connected, c.model);
        CVelkManager::instance()->enableFxLoopConnection(!c.offered);
        controller.receiveVelkEvent(eVelkEvent_MainVersion, c.version);
        EXPECT_EQ(CVelkManager::instance()->isEnableFxLoopConnection(), c.offered)
            << "model " << c.model << " version " << c.version;
    }
}

TEST_F(ControllerTest, waitIndicatorDimsThePanelsWhileShown) {
    controller.awakeFromNib();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
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
}

TEST_F(ControllerTest, closingStoresTheFrameOfAVisibleWindowOnly) {
    controller.awakeFromNib();
    controller.windowWillClose();
    EXPECT_FALSE(PreferenceStore().contains("WindowRect")) << "hidden";
    window.move(123, 45);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect shown(window.pos(), window.size());
    window.close();
    EXPECT_EQ(PreferenceStore().value("WindowRect").toString(), velk::app::rectToText(shown));
}

TEST_F(ControllerTest, storedPositionIsRestoredButNotTheSize) {
    Preference::sharedInstance().setM_WindowRect("{{210, 130}, {5, 5}}");
    const QSize laidOut = window.size();
    controller.awakeFromNib();
    EXPECT_EQ(window.pos(), QPoint(210, 130));
    EXPECT_EQ(window.size(), laidOut);
}

TEST_F(ControllerTest, unreadableStoredPositionMovesTheWindowToTheOrigin) {
    Preference::sharedInstance().setM_WindowRect("not a rectangle");
    window.move(300, 300);
    controller.awakeFromNib();
    EXPECT_EQ(window.pos(), QPoint(0, 0));
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
