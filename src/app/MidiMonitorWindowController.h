#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

#include "midi/TrafficTap.h"
#include "strings/SysexText.h"

class QPlainTextEdit;
class QPushButton;
class QWidget;

// The MIDI monitor: a window listing every System Exclusive message to and from the amplifier,
// with its time, direction, bytes and meaning, in the lines `velkctl --trace` writes. It can pause,
// clear, copy its text and save it to a file. It watches the traffic only while it is open and
// not paused, so that it costs nothing otherwise.
class MidiMonitorWindowController : public QObject {
    Q_OBJECT
public:
    // Taps every MIDI service opened from now on: create it before the device manager.
    explicit MidiMonitorWindowController(QObject* parent = nullptr);
    ~MidiMonitorWindowController() override;

    // Shows the window and starts watching.
    void showWindow();
    void OnClickedPauseBtn(bool paused);
    void OnClickedClearBtn();
    void OnClickedCopyBtn();
    void OnClickedSaveBtn();

    // Takes in what passed since the last look; the window does so every 100 ms while it watches.
    void updateTraffic();

    QWidget* window() const { return m_Window.get(); }
    QString trafficText() const;
    bool isWatching() const { return m_tap->watching(); }

private:
    class WindowWatcher;
    void buildLayout();
    void watch(bool watching);

    const std::shared_ptr<midi::TrafficTap> m_tap = std::make_shared<midi::TrafficTap>();
    velk::strings::SysexNarrator m_narrator;
    std::unique_ptr<QWidget> m_Window;
    QPlainTextEdit* m_Traffic_Text = nullptr;
    QPushButton* m_Pause_Btn = nullptr;
    QTimer m_collect;
};
