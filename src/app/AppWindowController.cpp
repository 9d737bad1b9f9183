#include "app/AppWindowController.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/AppDelegate.h"
#include "app/AppWindow.h"
#include "app/EffectSettingsWindowController.h"
#include "app/MainQueue.h"
#include "app/PanelLayout.h"
#include "app/PanelView.h"
#include "app/Preference.h"
#include "app/RectText.h"
#include "app/speaker/SpeakerSimulationWindowController.h"
#include "common/MIDIManager.h"
#include "strings/StringTable.h"

namespace {

using velk::strings::text;

constexpr qreal kWaitingOpacity = 0.5;

// Tabs in the faceplates' colours: cream lettering, the chosen panel underlined in amber.
constexpr const char* kTabBarLook = R"(
    QTabBar::tab {
        background: #1c1c1f; color: #9c9688; font-weight: bold;
        padding: 6px 16px; margin-right: 3px;
        border: 1px solid #0a0a0b; border-bottom: none;
        border-top-left-radius: 5px; border-top-right-radius: 5px;
    }
    QTabBar::tab:selected { background: #2a2a2e; color: #ece4cf; border-bottom: 2px solid #ffa822; }
    QTabBar::tab:hover:!selected { color: #ece4cf; }
)";

// Runs on the device manager's threads: hands the event to the GUI thread and nothing else.
void _VelkEventCallback(EVelkEventID event, int32_t data, void* userData) {
    auto* controller = static_cast<AppWindowController*>(userData);
    velk::app::gMain_queue.async(controller,
                                 [controller, event, data] { controller->receiveVelkEvent(event, data); });
}

}  // namespace

AppWindowController::AppWindowController(AppWindow& window)
    : m_window(window),
      m_TabForBivo{text("Tab_EffectSettingsAmpI"), text("Tab_EffectSettingsAmpII"),
                   text("Tab_SpeakerSimulationAmpI"), text("Tab_SpeakerSimulationAmpII")} {
    buildLayout();
    connect(&m_window, &AppWindow::closing, this, &AppWindowController::windowWillClose);
}

AppWindowController::~AppWindowController() {
    // Without a MIDI port manager the device manager is gone too (it ends first), and asking for
    // it would create a new one.
    if (m_listening && CMIDIManager::instance())
        CVelkManager::instance()->removeListenerCallback(_VelkEventCallback);
}

void AppWindowController::awakeFromNib() {
    restoreWindowPosition();
    CVelkManager* manager = CVelkManager::instance();
    for (EffectSettingsWindowController* panel : m_EffectSettings)
        panel->awakeFromNib();
    for (QWidget* panel : {m_SpeakerSimulationViewI, m_SpeakerSimulationViewII})
        static_cast<SpeakerSimulationWindowController*>(panel)->awakeFromNib();
    manager->addListenerCallback(_VelkEventCallback, this);
    m_listening = true;
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    changeModel(kSingleAmpHead);
    showSearching();
}

void AppWindowController::changeModel(int32_t model) {
    if (model == m_modelType)
        return;
    m_modelType = model;
    m_TabView->clear();
    m_TabView->addTab(m_EffectSettingsViewI, m_TabForBivo[0]);
    if (model == kDualAmpHead)
        m_TabView->addTab(m_EffectSettingsViewII, m_TabForBivo[1]);
    m_TabView->addTab(m_SpeakerSimulationViewI, m_TabForBivo[2]);
    if (model == kDualAmpHead)
        m_TabView->addTab(m_SpeakerSimulationViewII, m_TabForBivo[3]);
    if (m_startTab < m_TabView->count())
        m_TabView->setCurrentIndex(m_startTab);
}

void AppWindowController::receiveVelkEvent(EVelkEventID event, int32_t data) {
    CVelkManager* manager = CVelkManager::instance();
    switch (event) {
        case eVelkEvent_Error:
            AppDelegate::displayError(data);
            break;
        case eVelkEvent_Connected:
            m_mainVersion = 0;
            changeModel(data);
            manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
            showConnection(false);
            break;
        case eVelkEvent_NotConnected:
            manager->sendRequest(eVelkRequest_Open, 0, 0);
            if (!m_portsOpen)
                showSearching();
            break;
        case eVelkEvent_MainVersion:
            m_mainVersion = data;
            manager->enableFxLoopConnection(CVelkManager::fxLoopConnectionExists(m_modelType, data));
            manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
            showConnection(false);
            break;
        // The status line follows the rest of the connection; the tabs do not.
        case eVelkEvent_Opened:
            m_portsOpen = true;
            showStatus(text("Status_Opened"));
            break;
        case eVelkEvent_Disconnected:
            m_portsOpen = false;
            m_mainVersion = 0;
            showStatus(text("Status_Disconnected"));
            break;
        case eVelkEvent_AllDataReceived:
            showConnection(true);
            emit allDataReceived();
            break;
        default:
            break;
    }
}

void AppWindowController::waitIndicatorStart() {
    auto* dimming = new QGraphicsOpacityEffect(m_TabView);
    dimming->setOpacity(kWaitingOpacity);
    m_TabView->setGraphicsEffect(dimming);
    m_waitIndicator->show();
}

void AppWindowController::waitIndicatorStop() {
    m_TabView->setGraphicsEffect(nullptr);
    m_waitIndicator->hide();
}

void AppWindowController::windowWillClose() {
    if (m_listening) {
        CVelkManager::instance()->removeListenerCallback(_VelkEventCallback);
        m_listening = false;
    }
    // A minimised or hidden window keeps the position it had when it was last seen.
    if (m_window.isVisible() && !m_window.isMinimized()) {
        Preference& preference = Preference::sharedInstance();
        // The origin inside the frame, as it is restored: the frame's size is the desktop's.
        preference.setM_WindowRect(velk::app::rectToText(m_window.geometry()));
        preference.save();
    }
    QCoreApplication::quit();
}

QString AppWindowController::statusText() const {
    return m_statusLine->text();
}

void AppWindowController::buildLayout() {
    auto* central = new QWidget(&m_window);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 8, 8, 4);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_TabView = new QTabWidget(central);
    m_TabView->setDocumentMode(true);
    m_TabView->setObjectName(QStringLiteral("m_TabView"));
    m_TabView->tabBar()->setStyleSheet(QString::fromLatin1(kTabBarLook));
    layout->addWidget(m_TabView);
    m_window.setCentralWidget(central);

    using namespace velk::layout;
    for (int amp = 0; amp < 2; ++amp)
        m_EffectSettings[amp] = new EffectSettingsWindowController(m_window, amp, m_TabView);
    m_EffectSettingsViewI = m_EffectSettings[0]->view();
    m_EffectSettingsViewII = m_EffectSettings[1]->view();
    m_SpeakerSimulationViewI = new SpeakerSimulationWindowController(0, *this, m_TabView);
    m_SpeakerSimulationViewII = new SpeakerSimulationWindowController(1, *this, m_TabView);
    for (QWidget* view :
         {m_EffectSettingsViewI, m_EffectSettingsViewII, m_SpeakerSimulationViewI, m_SpeakerSimulationViewII})
        view->hide();

    m_statusLine = new QLabel(&m_window);
    m_waitIndicator = new QProgressBar(&m_window);
    m_waitIndicator->setRange(0, 0);  // busy: no progress to show, only that something happens
    m_waitIndicator->setTextVisible(false);
    m_waitIndicator->setFixedWidth(140);
    m_waitIndicator->hide();
    m_window.statusBar()->addWidget(m_statusLine, 1);
    m_window.statusBar()->addPermanentWidget(m_waitIndicator);
    m_window.statusBar()->setSizeGripEnabled(false);
    m_window.statusBar()->setContentsMargins(8, 0, 8, 2);
    m_window.setWindowTitle(text("AppName"));
    // The faceplates have one size: the window is as large as they are, and never larger.
    m_window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_window.setWindowFlag(Qt::CustomizeWindowHint);
    m_window.setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}

void AppWindowController::restoreWindowPosition() {
    const QString& stored = Preference::sharedInstance().m_WindowRect();
    if (stored.isNull())
        return;
    // Only the position: the window's size is its panels'. A screen since unplugged keeps the
    // window where the desktop puts it.
    const QPoint origin = velk::app::rectFromText(stored).topLeft();
    if (QGuiApplication::screenAt(origin))
        m_window.setGeometry(QRect(origin, m_window.size()));
}

void AppWindowController::showStatus(const QString& status) {
    m_statusLine->setText(status);
}

void AppWindowController::showSearching() {
    const CMIDIManager* midi = CMIDIManager::instance();
    if (midi && !midi->service())
        showStatus(
            text("Status_NoMidiService").arg(QString::fromStdString(midi->serviceUnavailableReason())));
    else
        showStatus(text("Status_NoDevice")
                       .arg(QString::fromStdString(CVelkManager::instance()->getDeviceModelText())));
}

void AppWindowController::showConnection(bool ready) {
    const bool dual = m_modelType == kDualAmpHead;
    if (m_mainVersion == 0) {
        showStatus(text(dual ? "Status_ConnectedDual" : "Status_ConnectedSingle"));
        return;
    }
    const char* key = ready ? (dual ? "Status_ReadyDual" : "Status_ReadySingle")
                            : (dual ? "Status_ReadingDual" : "Status_ReadingSingle");
    showStatus(text(key).arg(m_mainVersion));
}
