// The speaker panel's controls: what a selected file, the bypass switch, the gain knob, the
// install button and the IR name field post to the amplifier, the displays, the enable rules,
// the waiting state and the events.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/AlertPresenter.h"
#include "app/AppDelegate.h"
#include "app/AppWindowController.h"
#include "app/Preference.h"
#include "app/speaker/FileTableView.h"
#include "app/speaker/IrCurveView.h"
#include "app/speaker/SpeakerSimulationWindowController.h"
#include "common/ErrorCodes.h"
#include "common/FIRFile.h"
#include "common/GenericException.h"
#include "common/MIDIManager.h"
#include "common/StringUtil.h"
#include "controls/SPButton.h"
#include "controls/SPDialControl.h"
#include "strings/StringTable.h"

namespace {

using velk::strings::text;

// The amplifier needs a moment after leaving a preview before it takes a new name.
constexpr int kRenamePauseMS = 200;
constexpr int kIrNameLimit = 63;

QString gainText(double dB) {
    return QString::asprintf("%5.1f dB", dB);
}

// The file name without its last extension, as the IR name is made from it.
std::string withoutExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

// ---- A selected file

void SpeakerSimulationWindowController::selectFile(const CFileItem& item) {
    try {
        readCoe(m_FirCoe.coe, m_FolderPath, item.m_FileName);
        CFIRFile::makeFirName(m_FirCoe.name, withoutExtension(item.m_DisplayName).c_str());
        IrCurveView::Coefficients shown;
        std::copy(std::begin(m_FirCoe.coe), std::end(m_FirCoe.coe), shown.begin());
        m_IrCurve->showImpulse(shown);
        previewFirCoe();
        turnBypassOff();
    } catch (const mstd::CGenericException& exception) {
        AppDelegate::displayError(exception.getErrorCode());
        deselectAllFiles();
    } catch (...) {
        std::fprintf(stderr, "%s\n", "Exception caught!");
    }
}

void SpeakerSimulationWindowController::readCoe(int16_t* coefficients, const QString& folderPath,
                                                const std::string& fileName) {
    const std::string path = folderPath.toStdString() + "/" + fileName;
    CFIRFile file;
    file.open(path.c_str());
    int channel = 0;
    if (file.getChannels() >= 2) {
        const qint64 primary = Preference::sharedInstance().m_PrimaryCh();
        channel = primary == 0 || primary == 1 ? static_cast<int>(primary) : askPrimaryCh();
    }
    file.read(coefficients, channel);
    file.close();
}

int32_t SpeakerSimulationWindowController::askPrimaryCh() {
    velk::app::Alert alert;
    alert.messageText = text("AskPrimaryCh_Message");
    alert.informativeText = text("AskPrimaryCh_Info");
    alert.buttons = {text("AskPrimaryCh_Button_L_CH"), text("AskPrimaryCh_Button_R_CH")};
    return velk::app::alertPresenter().runModal(alert) == 1 ? 1 : 0;
}

// Streams the selected file's record, with the knob's gain, into the amp's play buffer.
void SpeakerSimulationWindowController::previewFirCoe() {
    m_FirCoe.gain = CVelkManager::shortGain(m_Gain);
    waitCursor(true);
    post(eVelkRequest_FIRCOE, 0,
         [record = m_FirCoe](CVelkManager& manager) { manager.setSpeakerTabFIRCOE(record); });
}

// ---- Controls

void SpeakerSimulationWindowController::OnClickedInstallBtn() {
    post(eVelkRequest_FIRDataWrite);
}

void SpeakerSimulationWindowController::OnClickedBypassSw() {
    m_IrCurve->setBypass(m_Bypass_Sw->isChecked());
    if (m_Bypass_Sw->isChecked()) {
        waitCursor(true);
        post(eVelkRequest_Bypass);
    } else if (isFileSelected()) {
        previewFirCoe();
    } else {
        post(eVelkRequest_ChangeFIR);
        enableControls();
    }
}

void SpeakerSimulationWindowController::turnBypassOff() {
    m_Bypass_Sw->setChecked(false);
    m_IrCurve->setBypass(false);
}

void SpeakerSimulationWindowController::OnChangeGainKnob() {
    if (!isEnableGainKnob()) {
        m_Gain_Knob->cancelTracking();
        m_Gain_Knob->setEnabled(false);
        return;
    }
    updateGainLabel();
    post(eVelkRequest_FIRGain, CVelkManager::shortGain(m_Gain));
}

bool SpeakerSimulationWindowController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_IrName_Text) {
        if (event->type() == QEvent::FocusIn)
            controlTextDidBeginEditing();
        else if (event->type() == QEvent::FocusOut)
            controlTextDidEndEditing();
    }
    return PanelView::eventFilter(watched, event);
}

void SpeakerSimulationWindowController::controlTextDidBeginEditing() {
    if (m_IrName_Text_String_Before.isNull())
        m_IrName_Text_String_Before = m_IrName_Text->text();
}

void SpeakerSimulationWindowController::controlTextDidEndEditing() {
    if (m_IrName_Text_String_Before.isNull())
        return;
    endEditingIrNameText();
    m_IrName_Text_String_Before = QString();
}

void SpeakerSimulationWindowController::endEditingIrNameText() {
    trimIrNameText();
    if (m_IrName_Text->text().isEmpty())
        m_IrName_Text->setText(m_IrName_Text_String_Before);
    if (m_IrName_Text->text() == m_IrName_Text_String_Before)
        return;
    deselectAllFiles();
    turnBypassOff();
    post(eVelkRequest_ChangeFIR);
    // The pause runs on a timer, so that the window keeps drawing meanwhile.
    QTimer::singleShot(kRenamePauseMS, this, [this, name = m_IrName_Text->text()] { sendIrName(name); });
}

void SpeakerSimulationWindowController::trimIrNameText() {
    if (m_IrName_Text->text().isEmpty())
        return;
    const QByteArray typed = m_IrName_Text->text().toUtf8();
    char name[FIRCOE::kNameSize] = {};
    mstd::adjustUTF8String(name, kIrNameLimit, typed.constData(), static_cast<int32_t>(typed.size()));
    m_IrName_Text->setText(QString::fromUtf8(name));
}

void SpeakerSimulationWindowController::sendIrName(const QString& name) {
    std::array<char, FIRCOE::kNameSize> staged{};
    const QByteArray bytes = name.toUtf8();
    std::memcpy(staged.data(), bytes.constData(), std::min<size_t>(bytes.size(), kIrNameLimit));
    post(eVelkRequest_FIRName, 0,
         [staged](CVelkManager& manager) { manager.setSpeakerTabIrName(staged.data()); });
    post(eVelkRequest_FIRDataWrite);
}

void SpeakerSimulationWindowController::post(eVelkRequestEvent kind, int32_t argument,
                                             const std::function<void(CVelkManager&)>& stage) {
    // Once the managers are gone (the application quits), asking for one would make a new one.
    if (!CMIDIManager::instance())
        return;
    CVelkManager& manager = *CVelkManager::instance();
    if (stage)
        stage(manager);
    manager.sendRequest(kind, m_AmpCh, argument);
}

// ---- Displays

void SpeakerSimulationWindowController::updateControls() {
    updateAmpChLabel();
    updateAmpTypeLabel();
    updateIrNameText();
    updateIrGainLabel();
    updateGainLabel();
}

void SpeakerSimulationWindowController::updateAmpChLabel() {
    m_Amp_Ch_Label->setVisible(m_Model == kDualAmpHead);
    m_Amp_Ch_Label->setChecked(m_AmpCh != 0);
}

void SpeakerSimulationWindowController::updateAmpTypeLabel() {
    const int ampType = CVelkManager::instance()->getAmpType(m_AmpCh);
    if (ampType < 0 || ampType >= static_cast<int>(m_AmpTypeId.size()))
        return;
    m_Amp_Type_Label->setText(text(m_AmpTypeId[static_cast<size_t>(ampType)]));
    deselectAllFiles();
    turnBypassOff();
}

void SpeakerSimulationWindowController::updateIrNameText() {
    FIRCOE playing;
    if (CVelkManager::instance()->getPlayBuffer(m_AmpCh, playing))
        m_IrName_Text->setText(QString::fromUtf8(
            playing.name, static_cast<qsizetype>(strnlen(playing.name, sizeof playing.name))));
}

void SpeakerSimulationWindowController::updateIrGainLabel() {
    FIRCOE playing;
    if (!CVelkManager::instance()->getPlayBuffer(m_AmpCh, playing))
        return;
    const double dB = CVelkManager::doubleGain(playing.gain);
    m_IrGain_Label->setText(gainText(std::trunc(dB * 10) / 10));
}

void SpeakerSimulationWindowController::updateGainLabel() {
    m_Gain = CVelkManager::gainIndex2dB(m_Gain_Knob_Value);
    m_Gain_Label->setText(gainText(m_Gain));
}

// ---- Enable rules and waiting

bool SpeakerSimulationWindowController::isEnableGainKnob() const {
    return isReady() && isFileSelected() && !m_Bypass_Sw->isChecked();
}

void SpeakerSimulationWindowController::enableControls() {
    const bool ready = isReady();
    m_Amp_Type_Label->setEnabled(ready);
    m_IrName_Text->setEnabled(ready);
    m_Gain_Label->setEnabled(isEnableGainKnob());
    m_Gain_Knob->setEnabled(isEnableGainKnob());
    m_Folder_Btn->setEnabled(ready);
    m_Folder_Label->setEnabled(ready);
    m_FileTableView->setEnabled(ready);
    m_Install_Btn->setEnabled(ready && (isFileSelected() || m_Bypass_Sw->isChecked()));
    m_Bypass_Sw->setEnabled(ready);
}

void SpeakerSimulationWindowController::waitCursor(bool wait) {
    m_Wait = wait;
    if (wait) {
        const QWidget* keyWindow = QApplication::activeWindow();
        QWidget* focus = keyWindow ? keyWindow->focusWidget() : nullptr;
        savedFirstResponder = focus && !focus->isWindow() ? focus : nullptr;
        enableControls();
        m_EditorWindow.waitIndicatorStart();
        return;
    }
    m_EditorWindow.waitIndicatorStop();
    enableControls();
    if (savedFirstResponder)
        savedFirstResponder->setFocus();
}

// ---- Events

void SpeakerSimulationWindowController::endWaitWithError(int32_t code) {
    AppDelegate::displayError(code);
    waitCursor(false);
}

void SpeakerSimulationWindowController::receiveVelkEvent(EVelkEventID event, int32_t data) {
    const bool ownAmp = data == m_AmpCh;
    switch (event) {
        case eVelkEvent_Error:
            waitCursor(false);
            break;
        case eVelkEvent_Connected:
            m_Connected = true;
            m_Model = data;
            updateAmpChLabel();
            enableControls();
            break;
        case eVelkEvent_Disconnected:
            m_Connected = false;
            waitCursor(false);
            deselectAllFiles();
            break;
        case eVelkEvent_AllDataReceived:
        case eVelkEvent_FIRDataInitialized:
            updateControls();
            enableControls();
            break;
        case eVelkEvent_AmpTypeChanged:
            if (!ownAmp)
                break;
            updateAmpTypeLabel();
            updateIrNameText();
            updateIrGainLabel();
            enableControls();
            break;
        case eVelkEvent_BypassSent:
        case eVelkEvent_FIRCOESent:
            if (ownAmp)
                waitCursor(false);
            break;
        case eVelkEvent_FIRPacketRejected:
            if (ownAmp)
                endWaitWithError(mstd::eErr_ReceiveData);
            break;
        case eVelkEvent_FIRWriteDone:
            if (!ownAmp)
                break;
            updateIrNameText();
            updateIrGainLabel();
            enableControls();
            break;
        case eVelkEvent_FIRWriteFailed:
            if (ownAmp)
                endWaitWithError(mstd::eErr_FIRDataWrite);
            break;
        default:
            break;
    }
}
