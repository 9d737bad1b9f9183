#include "app/AppWindowController.h"

#include <gtest/gtest.h>
#include <QGraphicsEffect>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "app/AppWindow.h"
#include "app/Preference.h"
#include "common/MIDIManager.h"
#include "common/VelkManager.h"
#include "strings/StringTable.h"

namespace {

using velk::strings::text;

// A main window on a device manager that is never started: what the window posts stays queued.
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

    QStringList tabLabels() const {
        QStringList labels;
        for (int i = 0; i < controller.tabView()->count(); ++i)
            labels << controller.tabView()->tabText(i);
        return labels;
    }
    QList<QWidget*> tabPages() const {
        QList<QWidget*> pages;
        for (int i = 0; i < controller.tabView()->count(); ++i)
            pages << controller.tabView()->widget(i);
        return pages;
    }

    VelkUtilityApp& app = velk::test::editorApplication();
    velk::test::AnsweringPresenter user;
    AppWindow window;
    AppWindowController controller{window};
};

TEST_F(ControllerTest, startsWithTheSingleAmpTabs) {
    EXPECT_EQ(controller.model(), 0);
    controller.awakeFromNib();
    EXPECT_EQ(controller.model(), 1);
    EXPECT_EQ(tabLabels(), (QStringList{text("Tab_EffectSettingsAmpI"), text("Tab_SpeakerSimulationAmpI")}));
    EXPECT_EQ(tabPages(),
              (QList<QWidget*>{controller.effectSettingsView(0), controller.speakerSimulationView(0)}));
}

TEST_F(ControllerTest, dualAmpHeadShowsFourTabsInOrder) {
    controller.awakeFromNib();
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    EXPECT_EQ(controller.model(), 2);
    EXPECT_EQ(tabLabels(),
              (QStringList{text("Tab_EffectSettingsAmpI"), text("Tab_EffectSettingsAmpII"),
                           text("Tab_SpeakerSimulationAmpI"), text("Tab_SpeakerSimulationAmpII")}));
    EXPECT_EQ(tabPages(),
              (QList<QWidget*>{controller.effectSettingsView(0), controller.effectSettingsView(1),
                               controller.speakerSimulationView(0), controller.speakerSimulationView(1)}));
}

TEST_F(ControllerTest, sameModelAgainLeavesTheTabsAlone) {
    controller.awakeFromNib();
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    controller.tabView()->setCurrentIndex(3);
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    EXPECT_EQ(controller.tabView()->currentIndex(), 3);
}

TEST_F(ControllerTest, singleAmpHeadAfterADualOneDropsTheAmpIITabs) {
    controller.awakeFromNib();
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    controller.receiveVelkEvent(eVelkEvent_Connected, 1);
    EXPECT_EQ(tabPages(),
              (QList<QWidget*>{controller.effectSettingsView(0), controller.speakerSimulationView(0)}));
    EXPECT_NE(controller.effectSettingsView(1), nullptr) << "the panels outlive their tabs";
}

TEST_F(ControllerTest, disconnectionKeepsTheTabsOfTheLastModel) {
    controller.awakeFromNib();
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    controller.receiveVelkEvent(eVelkEvent_Disconnected, 0);
    EXPECT_EQ(controller.model(), 2);
    EXPECT_EQ(controller.tabView()->count(), 4);
}

TEST_F(ControllerTest, panelsHaveTheirArtworksSize) {
    for (int amp : {0, 1}) {
        EXPECT_EQ(controller.effectSettingsView(amp)->size(), QSize(940, 580));
        EXPECT_EQ(controller.speakerSimulationView(amp)->size(), QSize(940, 580));
    }
}

struct VersionCase {
    int32_t model;
    int32_t version;
    bool available;
};
void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << (c.model == 2 ? "dual" : "single") << " v" << c.version
        << (c.available ? " available" : " unavailable");
}

class FxLoopConnectionTest : public ControllerTest, public testing::WithParamInterface<VersionCase> {};

TEST_P(FxLoopConnectionTest, mainVersionDecidesWhetherTheSettingIsAvailable) {
    controller.awakeFromNib();
    controller.receiveVelkEvent(eVelkEvent_Connected, GetParam().model);
    CVelkManager::instance()->enableFxLoopConnection(!GetParam().available);
    controller.receiveVelkEvent(eVelkEvent_MainVersion, GetParam().version);
    EXPECT_EQ(CVelkManager::instance()->isEnableFxLoopConnection(), GetParam().available);
}

INSTANTIATE_TEST_SUITE_P(Versions, FxLoopConnectionTest,
                         testing::Values(VersionCase{2, 41, false}, VersionCase{2, 42, true},
                                         VersionCase{2, 45, true}, VersionCase{2, 49, true},
                                         VersionCase{2, 50, false}, VersionCase{2, 109, false},
                                         VersionCase{2, 110, true}, VersionCase{2, 16383, true},
                                         VersionCase{1, 42, false}, VersionCase{1, 49, false},
                                         VersionCase{1, 110, false}));

TEST_F(ControllerTest, errorEventShowsTheErrorsMessage) {
    controller.awakeFromNib();
    controller.receiveVelkEvent(eVelkEvent_Error, 1004);
    ASSERT_EQ(user.alerts.size(), 1u);
    EXPECT_EQ(user.alerts.front().messageText, text("Err_Timeout"));
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

TEST_F(ControllerTest, closingAVisibleWindowStoresItsPosition) {
    controller.awakeFromNib();
    window.move(123, 45);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QPoint shown = window.pos();
    window.close();
    const QString stored = PreferenceStore().value(QStringLiteral("WindowRect")).toString();
    EXPECT_EQ(stored, QStringLiteral("{{%1, %2}, {%3, %4}}")
                          .arg(shown.x())
                          .arg(shown.y())
                          .arg(window.width())
                          .arg(window.height()));
}

TEST_F(ControllerTest, closingAHiddenWindowStoresNothing) {
    controller.awakeFromNib();
    controller.windowWillClose();
    EXPECT_FALSE(PreferenceStore().contains(QStringLiteral("WindowRect")));
}

TEST_F(ControllerTest, storedPositionIsRestoredButNotTheSize) {
    Preference::sharedInstance().setM_WindowRect(QStringLiteral("{{210, 130}, {5, 5}}"));
    const QSize laidOut = window.size();
    controller.awakeFromNib();
    EXPECT_EQ(window.pos(), QPoint(210, 130));
    EXPECT_EQ(window.size(), laidOut);
}

TEST_F(ControllerTest, unreadableStoredPositionMovesTheWindowToTheOrigin) {
    Preference::sharedInstance().setM_WindowRect(QStringLiteral("not a rectangle"));
    window.move(300, 300);
    controller.awakeFromNib();
    EXPECT_EQ(window.pos(), QPoint(0, 0));
}

TEST_F(ControllerTest, statusLineTellsWhatTheEditorDoes) {
    controller.awakeFromNib();
    EXPECT_FALSE(controller.statusText().isEmpty());
    controller.receiveVelkEvent(eVelkEvent_Connected, 2);
    EXPECT_EQ(controller.statusText(), text("Status_ConnectedDual"));
    controller.receiveVelkEvent(eVelkEvent_MainVersion, 110);
    EXPECT_EQ(controller.statusText(), text("Status_ReadingDual").arg(110));
    controller.receiveVelkEvent(eVelkEvent_AllDataReceived, 0);
    EXPECT_EQ(controller.statusText(), text("Status_ReadyDual").arg(110));
    controller.receiveVelkEvent(eVelkEvent_Disconnected, 0);
    EXPECT_EQ(controller.statusText(), text("Status_Disconnected"));
}

}  // namespace

namespace {

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
