#pragma once

#include <QSettings>
#include <QString>
#include <QtGlobal>

// The user's own settings file of the editor: Velk/Vovezid.conf under the configuration folder.
class PreferenceStore : public QSettings {
public:
    PreferenceStore();
};

// The user's settings kept between runs: where the main window stood, which channel of a stereo
// impulse-response file is used, and the impulse-response folder last browsed for each amp.
// One instance, main thread only; nothing else touches the settings store.
class Preference {
public:
    static Preference& sharedInstance();

    // Replaces every value with what the store holds, discarding unsaved changes. A stored folder
    // that no longer exists gives the default folder.
    void load();
    // Writes every value and forces the store to disk.
    void save();

    // "Music/Velk/Ostrel" under the home directory, created when missing.
    static QString defaultFolder();

    // The main window's frame in the rectangle text form; null when none is stored.
    const QString& m_WindowRect() const { return m_windowRect; }
    void setM_WindowRect(const QString& rect) { m_windowRect = rect; }
    // 0 left channel, 1 right channel, anything else: ask for each stereo file.
    qint64 m_PrimaryCh() const { return m_primaryCh; }
    void setM_PrimaryCh(qint64 channel) { m_primaryCh = channel; }
    const QString& m_FolderPathAmpI() const { return m_folderPathAmpI; }
    void setM_FolderPathAmpI(const QString& path) { m_folderPathAmpI = path; }
    const QString& m_FolderPathAmpII() const { return m_folderPathAmpII; }
    void setM_FolderPathAmpII(const QString& path) { m_folderPathAmpII = path; }
    // The MIDI service the amplifier is looked for on: "auto", "alsa" or "jack".
    const QString& m_MidiService() const { return m_midiService; }
    void setM_MidiService(const QString& service) { m_midiService = service; }
    // The text the amplifier's port names contain.
    const QString& m_MidiDeviceText() const { return m_midiDeviceText; }
    void setM_MidiDeviceText(const QString& text) { m_midiDeviceText = text; }

    static constexpr const char* kDefaultMidiService = "auto";
    static constexpr const char* kDefaultMidiDeviceText = "VelkSolvo/";

private:
    Preference() = default;

    QString m_windowRect;
    qint64 m_primaryCh = 0;
    QString m_folderPathAmpI;
    QString m_folderPathAmpII;
    QString m_midiService;
    QString m_midiDeviceText;
};
