#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

#include "common/VelkManager.h"

class QAbstractButton;
namespace velk::app {
class RadioMatrix;
}
class QComboBox;
class QDialog;
class QPushButton;
class QWidget;

// The settings window, an application-modal dialog: the FX loop send and return connection of
// the amplifier (sent at once when changed), the channel taken from stereo impulse-response files
// (kept only on OK), the reset of the stored impulse responses, and the MIDI service and device
// the amplifier is looked for on (taken at once). It listens to the device manager only while open.
class PreferenceWindowController : public QObject {
    Q_OBJECT
public:
    // The tag of the button that keeps the channel choice; any other ends without keeping it.
    static constexpr int kOkTag = 1;

    explicit PreferenceWindowController(QWidget* parent);
    ~PreferenceWindowController() override;

    // Opens the dialog and returns its result code when it has ended.
    int startAction();
    // Ends the dialog with `tag` as its result code.
    void finishAction(int tag);
    // Asks before the amplifier resets every stored impulse response.
    void reset();
    void selectSend();
    void selectReturn();

    void enableControls(bool enable);
    void updateControls();
    // Main thread only.
    void receiveVelkEvent(EVelkEventID event, int32_t data);

    QDialog* window() const { return m_PreferenceWindow; }
    velk::app::RadioMatrix* sendMatrix() const { return m_Send; }
    velk::app::RadioMatrix* returnMatrix() const { return m_Return; }
    velk::app::RadioMatrix* channelMatrix() const { return m_Channel; }
    QPushButton* resetButton() const { return m_ResetBtn; }
    QPushButton* okButton() const { return m_OkBtn; }
    QComboBox* midiServiceChoice() const { return m_MidiService; }
    QComboBox* midiDeviceChoice() const { return m_MidiDevice; }

signals:
    // The dialog is on screen and waits for the user.
    void opened();

private:
    void buildLayout();
    QWidget* buildConnectionMatrices();
    QWidget* buildChannelMatrix();
    QWidget* buildMidiChoice();
    QWidget* buildButtons();
    void stopListening();
    void showMidiChoice();
    void refreshDevices();
    void changeMidiChoice();

    QDialog* m_PreferenceWindow = nullptr;
    velk::app::RadioMatrix* m_Send = nullptr;
    velk::app::RadioMatrix* m_Return = nullptr;
    velk::app::RadioMatrix* m_Channel = nullptr;
    QPushButton* m_ResetBtn = nullptr;
    QPushButton* m_OkBtn = nullptr;
    QComboBox* m_MidiService = nullptr;
    QComboBox* m_MidiDevice = nullptr;
    QTimer m_deviceRefresh;
    bool m_listening = false;
};
