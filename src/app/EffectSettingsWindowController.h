#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

#include "common/VelkManager.h"

class AppWindow;
class PanelDimmer;
class PanelView;
class QLabel;
class QWidget;
class SPButton;
class SPDialControl;

// The effect settings panel of one amp: booster type, reverb type, noise gate and FX loop. Every
// click becomes one request to the device manager; the panel shows the amplifier's effect settings
// whenever its whole state has been read. It never talks to the amplifier itself.
class EffectSettingsWindowController : public QObject {
    Q_OBJECT
    Q_PROPERTY(int m_Noise_Gate_Knob_Value READ noiseGateKnobValue WRITE setM_Noise_Gate_Knob_Value NOTIFY
                   noiseGateKnobValueChanged)
    Q_PROPERTY(QString m_Booster_Label_String READ boosterLabelString WRITE setM_Booster_Label_String NOTIFY
                   boosterLabelStringChanged)
    Q_PROPERTY(QString m_Reverb_Label_String READ reverbLabelString WRITE setM_Reverb_Label_String NOTIFY
                   reverbLabelStringChanged)

public:
    // Lays out the panel of `amp` (0 Amp I, 1 Amp II) on a view of its own inside `parent`; the
    // amp indicator starts on for Amp II, which is what tells the panel its amp at start-up.
    EffectSettingsWindowController(AppWindow& editorWindow, int amp, QWidget* parent);
    ~EffectSettingsWindowController() override;

    // The panel, as the main window's tab shows it; it owns this controller.
    PanelView* view() const { return m_View; }

    // Start-up: configures the controls, shows the device manager's state, listens to it.
    void awakeFromNib();
    // Reacts to one device manager event; main thread only.
    void receiveVelkEvent(EVelkEventID event, int32_t data);
    // Stops listening and quits, as closing the main window does.
    void windowWillClose();

    // Shows the amp's effect settings as the device manager holds them; sends nothing.
    void updateControls();
    // The switches and the knob work exactly while an amplifier is connected.
    void enableControls();
    // The amp indicator: hidden on the single-amp head, else on for Amp II.
    void updateAmpChLabel();
    // Turn on exactly the switch of a type and show its label; a value of no switch changes nothing.
    void BoosterSwOn(int32_t value);
    void ReverbSwOn(int32_t value);
    void FxLoopSwOnOff(int32_t value);
    void SetNoizeGate(int32_t value);

    int32_t ampCh() const { return m_AmpCh; }
    int noiseGateKnobValue() const { return m_Noise_Gate_Knob_Value; }
    void setM_Noise_Gate_Knob_Value(int value);
    QString boosterLabelString() const { return m_Booster_Label_String; }
    void setM_Booster_Label_String(const QString& text);
    QString reverbLabelString() const { return m_Reverb_Label_String; }
    void setM_Reverb_Label_String(const QString& text);

    // The controls, by the value they select.
    SPButton* ampChLabel() const { return m_Amp_Ch_Label; }
    SPButton* fxLoopSw() const { return m_Fx_Loop_Sw; }
    SPDialControl* noiseGateKnob() const { return m_Noise_Gate_Knob; }
    SPButton* boosterSw(int value) const { return m_Booster_Sw.at(value); }
    SPButton* reverbSw(int value) const { return m_Reverb_Sw.at(value); }
    QLabel* boosterLabel() const { return m_Booster_Label; }
    QLabel* reverbLabel() const { return m_Reverb_Label; }
    bool isDimmed() const;

signals:
    void noiseGateKnobValueChanged();
    void boosterLabelStringChanged();
    void reverbLabelStringChanged();

private:
    struct TypeGroup;
    TypeGroup boosterGroup();
    TypeGroup reverbGroup();

    void buildLayout(int amp, QWidget* parent);
    void configureControls();
    void describeControls();
    void connectActions();
    void OnClickedTypeSw(const TypeGroup& group, int32_t value);
    void OnClickedFxLoopSw();
    void OnChangeNoiseGateKnob();
    void switchTypeOn(const TypeGroup& group, int32_t value);
    void stopListening();

    QWidget& m_EditorWindow;
    PanelView* m_View = nullptr;
    SPButton* m_Amp_Ch_Label = nullptr;
    SPButton* m_Fx_Loop_Sw = nullptr;
    SPDialControl* m_Noise_Gate_Knob = nullptr;
    QLabel* m_Reverb_Label = nullptr;
    QLabel* m_Booster_Label = nullptr;
    std::array<SPButton*, 3> m_Booster_Sw{};  // white, green, amber: by booster type
    std::array<SPButton*, 4> m_Reverb_Sw{};   // spring, plate, room, hall: by reverb type
    PanelDimmer* m_Dimmer = nullptr;
    int32_t m_Model = 0;
    int32_t m_AmpCh = 0;
    bool m_Connected = false;
    int m_Noise_Gate_Knob_Value = 0;
    QString m_Booster_Label_String;
    QString m_Reverb_Label_String;
    bool m_listening = false;
};
