#include "app/PreferenceWindowController.h"

#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/AlertPresenter.h"
#include "app/MainQueue.h"
#include "app/MidiConnection.h"
#include "app/Preference.h"
#include "app/RadioMatrix.h"
#include "strings/StringTable.h"

namespace {

using velk::app::RadioMatrix;
using velk::strings::text;

constexpr int kCancelTag = 0;
// The channel row that asks for each stereo file: any stored value other than left or right.
constexpr int kAskChannelRow = 2;
constexpr int kDeviceRefreshMS = 1000;
// The service choices, as stored and as offered, in this order.
constexpr const char* kServices[] = {"auto", "alsa", "jack"};
constexpr const char* kServiceTitles[] = {"Settings_MidiServiceAuto", "Settings_MidiServiceAlsa",
                                          "Settings_MidiServiceJack"};

// Runs on the device manager's threads: hands the event to the GUI thread and nothing else.
void _VelkEventCallback(EVelkEventID event, int32_t data, void* userData) {
    auto* controller = static_cast<PreferenceWindowController*>(userData);
    velk::app::gMain_queue.async(controller,
                                 [controller, event, data] { controller->receiveVelkEvent(event, data); });
}

QStringList texts(std::initializer_list<const char*> keys) {
    QStringList result;
    for (const char* key : keys)
        result.append(text(key));
    return result;
}

QStringList connectionRows() {
    return texts({"Settings_ConnectionAmpI", "Settings_ConnectionAmpII", "Settings_ConnectionBoth"});
}

QGroupBox* titledBox(const char* key, QWidget* parent) {
    return new QGroupBox(text(key), parent);
}

int channelRow(qint64 primaryChannel) {
    return primaryChannel == 0 || primaryChannel == 1 ? static_cast<int>(primaryChannel) : kAskChannelRow;
}

}  // namespace

PreferenceWindowController::PreferenceWindowController(QWidget* parent)
    : QObject(parent), m_PreferenceWindow(new QDialog(parent)) {
    buildLayout();
    m_deviceRefresh.setInterval(kDeviceRefreshMS);
    connect(&m_deviceRefresh, &QTimer::timeout, this, &PreferenceWindowController::refreshDevices);
}

PreferenceWindowController::~PreferenceWindowController() {
    stopListening();
}

int PreferenceWindowController::startAction() {
    CVelkManager::instance()->addListenerCallback(_VelkEventCallback, this);
    m_listening = true;
    m_Channel->setEnabled(true);
    Preference& preference = Preference::sharedInstance();
    preference.load();
    m_Channel->selectRow(channelRow(preference.m_PrimaryCh()));
    showMidiChoice();
    updateControls();
    enableControls(true);
    m_deviceRefresh.start();
    QTimer::singleShot(0, this, &PreferenceWindowController::opened);
    const int result = m_PreferenceWindow->exec();
    m_deviceRefresh.stop();
    // Closed by the window manager or Escape rather than a button: stop listening all the same.
    stopListening();
    m_PreferenceWindow->hide();
    if (result == kOkTag) {
        preference.setM_PrimaryCh(m_Channel->selectedRow());
        preference.save();
    }
    return result;
}

void PreferenceWindowController::finishAction(int tag) {
    stopListening();
    m_PreferenceWindow->done(tag);
}

void PreferenceWindowController::reset() {
    velk::app::Alert alert;
    alert.style = velk::app::Alert::Style::Warning;
    alert.messageText = text("ResetIRDataTitle");
    alert.informativeText = text("ResetIRDataMessage");
    alert.buttons = {text("OK"), text("Cancel")};
    if (velk::app::alertPresenter().runModal(alert) != 0)
        return;
    // Nothing may be touched while the amplifier rewrites its memory, not even OK.
    enableControls(false);
    CVelkManager::instance()->sendRequest(eVelkRequest_InitFIRData, 0, 0);
}

void PreferenceWindowController::selectSend() {
    CVelkManager::instance()->sendRequest(eVelkRequest_SendConnection, m_Send->selectedRow(), 0);
}

void PreferenceWindowController::selectReturn() {
    CVelkManager::instance()->sendRequest(eVelkRequest_ReturnConnection, m_Return->selectedRow(), 0);
}

void PreferenceWindowController::enableControls(bool enable) {
    CVelkManager* manager = CVelkManager::instance();
    const bool connected = manager->isConnected();
    const bool connectionSettable = connected && manager->isEnableFxLoopConnection() && enable;
    m_Send->setEnabled(connectionSettable);
    m_Return->setEnabled(connectionSettable);
    m_Channel->setEnabled(enable);
    m_ResetBtn->setEnabled(connected && enable);
    m_OkBtn->setEnabled(enable);
}

void PreferenceWindowController::updateControls() {
    FxLoopConnection connection{};
    CVelkManager::instance()->getFxLoopConnection(connection);
    m_Send->selectRow(connection.sendConnection);
    m_Return->selectRow(connection.returnConnection);
}

void PreferenceWindowController::receiveVelkEvent(EVelkEventID event, int32_t) {
    switch (event) {
        case eVelkEvent_Error:
        case eVelkEvent_Connected:
        case eVelkEvent_Disconnected:
            enableControls(true);
            break;
        case eVelkEvent_AllDataReceived:
            updateControls();
            enableControls(true);
            break;
        case eVelkEvent_FIRDataInitialized:
            CVelkManager::instance()->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
            enableControls(true);
            break;
        default:
            break;
    }
}

void PreferenceWindowController::stopListening() {
    if (!m_listening)
        return;
    CVelkManager::instance()->removeListenerCallback(_VelkEventCallback);
    m_listening = false;
}

void PreferenceWindowController::buildLayout() {
    m_PreferenceWindow->setWindowTitle(text("Settings_Title"));
    m_PreferenceWindow->setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(m_PreferenceWindow);
    layout->addWidget(buildConnectionMatrices());
    layout->addWidget(buildChannelMatrix());
    layout->addWidget(buildMidiChoice());
    layout->addWidget(buildButtons());
}

QWidget* PreferenceWindowController::buildConnectionMatrices() {
    auto* row = new QWidget(m_PreferenceWindow);
    auto* columns = new QHBoxLayout(row);
    columns->setContentsMargins(0, 0, 0, 0);
    QGroupBox* send = titledBox("Settings_SendConnection", row);
    QGroupBox* ret = titledBox("Settings_ReturnConnection", row);
    m_Send = new RadioMatrix(connectionRows(), send);
    m_Return = new RadioMatrix(connectionRows(), ret);
    connect(m_Send, &QButtonGroup::idClicked, this, &PreferenceWindowController::selectSend);
    connect(m_Return, &QButtonGroup::idClicked, this, &PreferenceWindowController::selectReturn);
    columns->addWidget(send);
    columns->addWidget(ret);
    return row;
}

QWidget* PreferenceWindowController::buildChannelMatrix() {
    QGroupBox* box = titledBox("Settings_PrimaryChannel", m_PreferenceWindow);
    m_Channel =
        new RadioMatrix(texts({"Settings_ChannelLeft", "Settings_ChannelRight", "Settings_ChannelAsk"}), box);
    return box;
}

QWidget* PreferenceWindowController::buildMidiChoice() {
    QGroupBox* box = titledBox("Settings_Midi", m_PreferenceWindow);
    auto* form = new QFormLayout(box);
    m_MidiService = new QComboBox(box);
    for (const char* title : kServiceTitles)
        m_MidiService->addItem(text(title));
    m_MidiDevice = new QComboBox(box);
    m_MidiDevice->setEditable(true);
    m_MidiDevice->setInsertPolicy(QComboBox::NoInsert);
    m_MidiDevice->setToolTip(text("Settings_MidiDeviceHelp"));
    form->addRow(text("Settings_MidiService"), m_MidiService);
    form->addRow(text("Settings_MidiDevice"), m_MidiDevice);
    connect(m_MidiService, &QComboBox::activated, this, &PreferenceWindowController::changeMidiChoice);
    connect(m_MidiDevice, &QComboBox::textActivated, this, &PreferenceWindowController::changeMidiChoice);
    connect(m_MidiDevice->lineEdit(), &QLineEdit::editingFinished, this,
            &PreferenceWindowController::changeMidiChoice);
    return box;
}

QWidget* PreferenceWindowController::buildButtons() {
    auto* row = new QWidget(m_PreferenceWindow);
    auto* buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    m_ResetBtn = new QPushButton(text("Settings_ResetIRs"), row);
    auto* cancel = new QPushButton(text("Cancel"), row);
    m_OkBtn = new QPushButton(text("OK"), row);
    m_OkBtn->setDefault(true);
    buttons->addWidget(m_ResetBtn);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(m_OkBtn);
    connect(m_ResetBtn, &QPushButton::clicked, this, &PreferenceWindowController::reset);
    connect(cancel, &QPushButton::clicked, this, [this] { finishAction(kCancelTag); });
    connect(m_OkBtn, &QPushButton::clicked, this, [this] { finishAction(kOkTag); });
    return row;
}

void PreferenceWindowController::showMidiChoice() {
    const Preference& preference = Preference::sharedInstance();
    const auto stored = std::find(std::begin(kServices), std::end(kServices), preference.m_MidiService());
    m_MidiService->setCurrentIndex(stored == std::end(kServices) ? 0 : int(stored - std::begin(kServices)));
    refreshDevices();
    // What is in effect, which a simulated head may have chosen over the stored text.
    m_MidiDevice->setEditText(QString::fromStdString(CVelkManager::instance()->getDeviceModelText()));
}

// Keeps what the user is typing: only the offered names change.
void PreferenceWindowController::refreshDevices() {
    const QStringList present = velk::app::presentDeviceNames();
    QStringList offered;
    for (int i = 0; i < m_MidiDevice->count(); ++i)
        offered.append(m_MidiDevice->itemText(i));
    if (offered == present)
        return;
    const QString typed = m_MidiDevice->currentText();
    m_MidiDevice->clear();
    m_MidiDevice->addItems(present);
    m_MidiDevice->setEditText(typed);
}

void PreferenceWindowController::changeMidiChoice() {
    const QString deviceText = m_MidiDevice->currentText();
    if (deviceText.isEmpty())
        return;  // would match every port
    velk::app::changeMidiChoice(QString::fromLatin1(kServices[m_MidiService->currentIndex()]), deviceText);
}
