#pragma once

#include <QObject>
#include <QStringList>
#include <array>
#include <cstdint>

#include "common/VelkManager.h"

class AppWindow;
class EffectSettingsWindowController;
class QLabel;
class QProgressBar;
class QTabWidget;
class QWidget;

// The main window's controller. It holds the editor panels as tabs (one effect settings and one
// speaker simulation panel per amp of the connected head), drives the start of the conversation
// with the amplifier (open the ports, ask for the firmware version, read the whole state), shows
// the wait indicator for the panels, and keeps the window's position between runs.
class AppWindowController : public QObject {
    Q_OBJECT
public:
    explicit AppWindowController(AppWindow& window);
    ~AppWindowController() override;

    // Start-up: restores the window's position, listens to the device manager, asks it to open
    // the amplifier's ports, and shows the single-amp tabs until a head answers.
    void awakeFromNib();

    // 0 before start-up, then the model the tabs are built for: 1 single-amp head, 2 dual-amp head.
    int32_t model() const { return m_modelType; }
    // Rebuilds the tabs for a model; nothing happens for the model already shown.
    void changeModel(int32_t model);
    // The tab (from 0) shown whenever the tabs are built, when the model has that many.
    void setStartTab(int index) { m_startTab = index; }

    // Reacts to one device manager event; main thread only.
    void receiveVelkEvent(EVelkEventID event, int32_t data);

    // Called by a panel that waits for the amplifier.
    void waitIndicatorStart();
    void waitIndicatorStop();

    bool windowShouldClose() const { return true; }
    // Stops listening, stores the window's position when it is on screen, and quits.
    void windowWillClose();

    AppWindow& window() const { return m_window; }
    QTabWidget* tabView() const { return m_TabView; }
    QWidget* effectSettingsView(int amp) const {
        return amp == 0 ? m_EffectSettingsViewI : m_EffectSettingsViewII;
    }
    EffectSettingsWindowController* effectSettings(int amp) const { return m_EffectSettings.at(amp); }
    QWidget* speakerSimulationView(int amp) const {
        return amp == 0 ? m_SpeakerSimulationViewI : m_SpeakerSimulationViewII;
    }
    QProgressBar* waitIndicator() const { return m_waitIndicator; }
    QString statusText() const;

signals:
    // The amplifier's whole state has been read after a connection.
    void allDataReceived();

private:
    void buildLayout();
    void restoreWindowPosition();
    void showStatus(const QString& text);
    void showSearching();
    void showConnection(bool ready);

    AppWindow& m_window;
    int32_t m_modelType = 0;
    int m_startTab = 0;
    // The four tab labels: effect settings Amp I, Amp II, speaker simulation Amp I, Amp II.
    QStringList m_TabForBivo;
    QTabWidget* m_TabView = nullptr;
    QWidget* m_EffectSettingsViewI = nullptr;
    QWidget* m_EffectSettingsViewII = nullptr;
    std::array<EffectSettingsWindowController*, 2> m_EffectSettings{};  // owned by their views
    QWidget* m_SpeakerSimulationViewI = nullptr;
    QWidget* m_SpeakerSimulationViewII = nullptr;
    QProgressBar* m_waitIndicator = nullptr;
    QLabel* m_statusLine = nullptr;
    int32_t m_mainVersion = 0;
    bool m_portsOpen = false;  // found the amplifier's ports, whether it answers yet or not
    bool m_listening = false;
};
