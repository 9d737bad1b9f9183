#include "app/EffectSettingsWindowController.h"

#include <QCoreApplication>
#include <QLabel>
#include <span>

#include "app/AppWindow.h"
#include "app/MainQueue.h"
#include "app/PanelDimmer.h"
#include "app/PanelLayout.h"
#include "app/PanelView.h"
#include "common/MIDIManager.h"
#include "controls/ImageStrip.h"
#include "controls/SPButton.h"
#include "controls/SPDialControl.h"
#include "strings/StringTable.h"

// One group of type switches: exactly one of them is on, and it names the type in the label.
struct EffectSettingsWindowController::TypeGroup {
    eVelkRequestEvent request;
    std::span<SPButton* const> switches;  // by type value
    std::span<const char* const> labelKeys;
    void (EffectSettingsWindowController::*setLabel)(const QString&);
};

namespace {

using velk::strings::text;
namespace effect = velk::layout::effect;

constexpr int kNoiseGateMaximum = 3;

constexpr const char* kBoosterLabelKeys[] = {"BoosterWhiteLabel", "BoosterGreenLabel", "BoosterAmberLabel"};
constexpr const char* kReverbLabelKeys[] = {"ReverbSpringLabel", "ReverbPlateLabel", "ReverbRoomLabel",
                                            "ReverbHallLabel"};
// What each value is called where the panel describes its controls.
constexpr const char* kBoosterTypeKeys[] = {"BoosterType0", "BoosterType1", "BoosterType2"};
constexpr const char* kReverbTypeKeys[] = {"ReverbType0", "ReverbType1", "ReverbType2", "ReverbType3"};
constexpr const char* kNoiseGateKeys[] = {"NoiseGate0", "NoiseGate1", "NoiseGate2", "NoiseGate3"};
constexpr const char* kAmpNameKeys[] = {"AmpName0", "AmpName1"};

// A control of the panel: its strip and where it sits, as the artwork was laid out.
struct Placement {
    velk::layout::SPArt art;
    velk::layout::SPFrame frame;
};
constexpr Placement kBoosterPlaces[] = {{effect::kArt_Booster_White_Sw, effect::kFrame_Booster_White_Sw},
                                        {effect::kArt_Booster_Green_Sw, effect::kFrame_Booster_Green_Sw},
                                        {effect::kArt_Booster_Amber_Sw, effect::kFrame_Booster_Amber_Sw}};
constexpr Placement kReverbPlaces[] = {{effect::kArt_Reverb_Spring_Sw, effect::kFrame_Reverb_Spring_Sw},
                                       {effect::kArt_Reverb_Plate_Sw, effect::kFrame_Reverb_Plate_Sw},
                                       {effect::kArt_Reverb_Room_Sw, effect::kFrame_Reverb_Room_Sw},
                                       {effect::kArt_Reverb_Hall_Sw, effect::kFrame_Reverb_Hall_Sw}};

// Type names in the display windows, lit like the faceplate's amber lamps.
constexpr const char* kDisplayLook =
    "QLabel { color: #ffb340; background: transparent; font-weight: bold; font-size: 17px; "
    "letter-spacing: 1px; }";

template <typename Control>
void place(Control& control, const Placement& placement) {
    control.cell().setImageDivideNum(placement.art.slices);
    control.setImage(velk::controls::resourceImage(QString::fromLatin1(placement.art.image)));
    control.setGeometry(velk::layout::qtRect(placement.frame));
}

QString onOffWords(int on) {
    return text(on ? "Value_On" : "Value_Off");
}

QString noiseGateWords(int position) {
    return position >= 0 && position <= kNoiseGateMaximum ? text(kNoiseGateKeys[position]) : QString();
}

// Runs on the device manager's threads: hands the event to the GUI thread and nothing else. The
// manager forgets a listener by its function alone, so each amp's panel listens through its own.
template <int Amp>
void _VelkEventCallback(EVelkEventID event, int32_t data, void* userData) {
    auto* controller = static_cast<EffectSettingsWindowController*>(userData);
    velk::app::gMain_queue.async(controller,
                                 [controller, event, data] { controller->receiveVelkEvent(event, data); });
}
constexpr ListenerCallback kListenerOfAmp[] = {&_VelkEventCallback<0>, &_VelkEventCallback<1>};

}  // namespace

EffectSettingsWindowController::EffectSettingsWindowController(AppWindow& editorWindow, int amp,
                                                               QWidget* parent)
    : m_EditorWindow(editorWindow) {
    buildLayout(amp, parent);
    connect(&editorWindow, &AppWindow::closing, this, &EffectSettingsWindowController::windowWillClose);
}

EffectSettingsWindowController::~EffectSettingsWindowController() {
    // Without a MIDI port manager the device manager is gone too, and asking for it would create
    // a new one.
    if (CMIDIManager::instance())
        stopListening();
}

void EffectSettingsWindowController::awakeFromNib() {
    m_AmpCh = m_Amp_Ch_Label->isChecked() ? 1 : 0;
    configureControls();
    m_EditorWindow.raise();
    m_EditorWindow.activateWindow();
    updateControls();
    enableControls();
    CVelkManager::instance()->addListenerCallback(kListenerOfAmp[m_AmpCh], this);
    m_listening = true;
}

void EffectSettingsWindowController::receiveVelkEvent(EVelkEventID event, int32_t data) {
    switch (event) {
        case eVelkEvent_Connected:
            m_Connected = true;
            m_Model = data;
            updateAmpChLabel();
            enableControls();
            break;
        case eVelkEvent_Disconnected:
            m_Connected = false;
            enableControls();
            break;
        case eVelkEvent_AllDataReceived:
            updateControls();
            break;
        default:
            break;
    }
}

void EffectSettingsWindowController::windowWillClose() {
    stopListening();
    QCoreApplication::quit();
}

void EffectSettingsWindowController::updateControls() {
    EffectData data{};
    if (!CVelkManager::instance()->getEffectData(m_AmpCh, data))
        return;
    updateAmpChLabel();
    FxLoopSwOnOff(data.fxLoop);
    SetNoizeGate(data.noiseGate);
    BoosterSwOn(data.boosterType);
    ReverbSwOn(data.reverbType);
}

void EffectSettingsWindowController::enableControls() {
    m_Fx_Loop_Sw->setEnabled(m_Connected);
    m_Noise_Gate_Knob->setEnabled(m_Connected);
    for (SPButton* typeSwitch : m_Booster_Sw)
        typeSwitch->setEnabled(m_Connected);
    for (SPButton* typeSwitch : m_Reverb_Sw)
        typeSwitch->setEnabled(m_Connected);
    m_Dimmer->setDimmed(!m_Connected);
}

void EffectSettingsWindowController::updateAmpChLabel() {
    m_Amp_Ch_Label->setVisible(m_Model == kDualAmpHead);
    if (m_Model == kDualAmpHead)
        m_Amp_Ch_Label->setChecked(m_AmpCh != 0);
}

void EffectSettingsWindowController::BoosterSwOn(int32_t value) {
    switchTypeOn(boosterGroup(), value);
}

void EffectSettingsWindowController::ReverbSwOn(int32_t value) {
    switchTypeOn(reverbGroup(), value);
}

void EffectSettingsWindowController::FxLoopSwOnOff(int32_t value) {
    m_Fx_Loop_Sw->setChecked(value == 1);
}

void EffectSettingsWindowController::SetNoizeGate(int32_t value) {
    setM_Noise_Gate_Knob_Value(value);
}

void EffectSettingsWindowController::setM_Noise_Gate_Knob_Value(int value) {
    if (std::exchange(m_Noise_Gate_Knob_Value, value) != value)
        emit noiseGateKnobValueChanged();
}

void EffectSettingsWindowController::setM_Booster_Label_String(const QString& labelText) {
    if (std::exchange(m_Booster_Label_String, labelText) != labelText)
        emit boosterLabelStringChanged();
}

void EffectSettingsWindowController::setM_Reverb_Label_String(const QString& labelText) {
    if (std::exchange(m_Reverb_Label_String, labelText) != labelText)
        emit reverbLabelStringChanged();
}

bool EffectSettingsWindowController::isDimmed() const {
    return m_Dimmer->isVisibleTo(m_View);
}

EffectSettingsWindowController::TypeGroup EffectSettingsWindowController::boosterGroup() {
    return {eVelkRequest_BoosterType, m_Booster_Sw, kBoosterLabelKeys,
            &EffectSettingsWindowController::setM_Booster_Label_String};
}

EffectSettingsWindowController::TypeGroup EffectSettingsWindowController::reverbGroup() {
    return {eVelkRequest_ReverbType, m_Reverb_Sw, kReverbLabelKeys,
            &EffectSettingsWindowController::setM_Reverb_Label_String};
}

// The window layout: the controls on the faceplate, in the order the keyboard visits them, and
// the bindings of the observable properties.
void EffectSettingsWindowController::buildLayout(int amp, QWidget* parent) {
    m_View = new PanelView(effect::kImage_Base, parent);
    setParent(m_View);
    m_Amp_Ch_Label = new SPButton(m_View);
    m_Amp_Ch_Label->setCheckable(true);
    m_Amp_Ch_Label->setChecked(amp != 0);
    m_Amp_Ch_Label->setEnabled(false);  // shows the amp; nothing to click
    m_Fx_Loop_Sw = new SPButton(m_View, effect::kArt_Fx_Loop_Sw.slices);
    m_Noise_Gate_Knob = new SPDialControl(m_View);
    for (size_t type = 0; type < m_Booster_Sw.size(); ++type)
        m_Booster_Sw[type] = new SPButton(m_View, kBoosterPlaces[type].art.slices);
    for (size_t type = 0; type < m_Reverb_Sw.size(); ++type)
        m_Reverb_Sw[type] = new SPButton(m_View, kReverbPlaces[type].art.slices);
    m_Fx_Loop_Sw->setCheckable(true);
    for (SPButton* typeSwitch : m_Booster_Sw)
        typeSwitch->setCheckable(true);
    for (SPButton* typeSwitch : m_Reverb_Sw)
        typeSwitch->setCheckable(true);

    m_Booster_Label = new QLabel(m_View);
    m_Reverb_Label = new QLabel(m_View);
    for (QLabel* label : {m_Booster_Label, m_Reverb_Label}) {
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QString::fromLatin1(kDisplayLook));
    }
    connect(this, &EffectSettingsWindowController::boosterLabelStringChanged, m_Booster_Label,
            [this] { m_Booster_Label->setText(m_Booster_Label_String); });
    connect(this, &EffectSettingsWindowController::reverbLabelStringChanged, m_Reverb_Label,
            [this] { m_Reverb_Label->setText(m_Reverb_Label_String); });
    m_Noise_Gate_Knob->bindValue(this, "m_Noise_Gate_Knob_Value");
    m_Dimmer = new PanelDimmer(*m_View);
    connectActions();
}

void EffectSettingsWindowController::configureControls() {
    place(*m_Amp_Ch_Label, {effect::kArt_Amp_Ch_Label, effect::kFrame_Amp_Ch_Label});
    place(*m_Fx_Loop_Sw, {effect::kArt_Fx_Loop_Sw, effect::kFrame_Fx_Loop_Sw});
    place(*m_Noise_Gate_Knob, {effect::kArt_Noise_Gate_Knob, effect::kFrame_Noise_Gate_Knob});
    m_Noise_Gate_Knob->setMaxDegree(effect::kNoiseGateMaxDegree);
    m_Noise_Gate_Knob->setCenterPoint(effect::kNoiseGateCenter);
    m_Noise_Gate_Knob->setRange(0, kNoiseGateMaximum);
    m_Booster_Label->setGeometry(velk::layout::qtRect(effect::kFrame_Booster_Label));
    for (size_t type = 0; type < m_Booster_Sw.size(); ++type)
        place(*m_Booster_Sw[type], kBoosterPlaces[type]);
    m_Reverb_Label->setGeometry(velk::layout::qtRect(effect::kFrame_Reverb_Label));
    for (size_t type = 0; type < m_Reverb_Sw.size(); ++type)
        place(*m_Reverb_Sw[type], kReverbPlaces[type]);
    describeControls();
}

void EffectSettingsWindowController::describeControls() {
    const QString amp = text(kAmpNameKeys[m_AmpCh]);
    const QString toolTipForm = text("Control_ToolTip");
    m_Fx_Loop_Sw->setWords({text("Control_FxLoop").arg(amp), onOffWords, toolTipForm});
    m_Noise_Gate_Knob->setWords({text("Control_NoiseGate").arg(amp), noiseGateWords, toolTipForm});
    for (size_t type = 0; type < m_Booster_Sw.size(); ++type)
        m_Booster_Sw[type]->setWords(
            {text("Control_Booster").arg(amp, text(kBoosterTypeKeys[type])), onOffWords, toolTipForm});
    for (size_t type = 0; type < m_Reverb_Sw.size(); ++type)
        m_Reverb_Sw[type]->setWords(
            {text("Control_Reverb").arg(amp, text(kReverbTypeKeys[type])), onOffWords, toolTipForm});
    m_Amp_Ch_Label->setAccessibleName(amp);
}

void EffectSettingsWindowController::connectActions() {
    for (size_t type = 0; type < m_Booster_Sw.size(); ++type)
        connect(m_Booster_Sw[type], &SPButton::clicked, this,
                [this, type] { OnClickedTypeSw(boosterGroup(), static_cast<int32_t>(type)); });
    for (size_t type = 0; type < m_Reverb_Sw.size(); ++type)
        connect(m_Reverb_Sw[type], &SPButton::clicked, this,
                [this, type] { OnClickedTypeSw(reverbGroup(), static_cast<int32_t>(type)); });
    connect(m_Fx_Loop_Sw, &SPButton::clicked, this, &EffectSettingsWindowController::OnClickedFxLoopSw);
    connect(m_Noise_Gate_Knob, &SPDialControl::action, this,
            &EffectSettingsWindowController::OnChangeNoiseGateKnob);
}

// The switch has already toggled when this runs: off means the selected type was clicked again.
void EffectSettingsWindowController::OnClickedTypeSw(const TypeGroup& group, int32_t value) {
    SPButton* clicked = group.switches[static_cast<size_t>(value)];
    if (!clicked->isChecked()) {
        clicked->setChecked(true);
        return;
    }
    switchTypeOn(group, value);
    CVelkManager::instance()->sendRequest(group.request, m_AmpCh, value);
}

void EffectSettingsWindowController::OnClickedFxLoopSw() {
    CVelkManager::instance()->sendRequest(eVelkRequest_FxLoop, m_AmpCh, m_Fx_Loop_Sw->isChecked() ? 1 : 0);
}

void EffectSettingsWindowController::OnChangeNoiseGateKnob() {
    if (!m_Connected) {
        m_Noise_Gate_Knob->cancelTracking();
        m_Noise_Gate_Knob->setEnabled(false);
        // The knob must not show a setting the amplifier never heard of.
        updateControls();
        return;
    }
    CVelkManager::instance()->sendRequest(eVelkRequest_NoiseGate, m_AmpCh, m_Noise_Gate_Knob_Value);
}

void EffectSettingsWindowController::switchTypeOn(const TypeGroup& group, int32_t value) {
    if (value < 0 || static_cast<size_t>(value) >= group.switches.size())
        return;
    for (size_t type = 0; type < group.switches.size(); ++type)
        group.switches[type]->setChecked(type == static_cast<size_t>(value));
    (this->*group.setLabel)(text(group.labelKeys[static_cast<size_t>(value)]));
}

void EffectSettingsWindowController::stopListening() {
    if (!m_listening)
        return;
    CVelkManager::instance()->removeListenerCallback(kListenerOfAmp[m_AmpCh]);
    m_listening = false;
}
