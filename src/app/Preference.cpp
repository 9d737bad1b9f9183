#include "app/Preference.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kWindowRect = QStringLiteral("WindowRect");
const QString kPrimaryCh = QStringLiteral("PrimaryCh");
const QString kFolderPathAmpI = QStringLiteral("FolderPathAmpI");
const QString kFolderPathAmpII = QStringLiteral("FolderPathAmpII");
// Added later: a store written before they existed loads with the defaults.
const QString kMidiService = QStringLiteral("MidiService");
const QString kMidiDeviceText = QStringLiteral("MidiDeviceText");

QString storedText(const QSettings& settings, const QString& key, const char* fallback) {
    const QString stored = settings.value(key).toString();
    return stored.isEmpty() ? QString::fromLatin1(fallback) : stored;
}

// A stored folder that still exists, or else the default folder.
QString existingFolder(const QSettings& settings, const QString& key) {
    const QVariant stored = settings.value(key);
    if (stored.typeId() == QMetaType::QString) {
        const QString path = stored.toString();
        if (!path.isEmpty() && QFileInfo::exists(path))
            return path;
    }
    return Preference::defaultFolder();
}

}  // namespace

PreferenceStore::PreferenceStore()
    : QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Velk"),
                QStringLiteral("Vovezid")) {}

Preference& Preference::sharedInstance() {
    static Preference preference;
    return preference;
}

void Preference::load() {
    const PreferenceStore settings;
    const QVariant rect = settings.value(kWindowRect);
    m_windowRect = rect.isValid() ? rect.toString() : QString();
    const QVariant channel = settings.value(kPrimaryCh);
    // Read as a signed 32-bit integer, as the store has always been read.
    m_primaryCh = channel.isValid() ? static_cast<int32_t>(channel.toLongLong()) : 0;
    m_folderPathAmpI = existingFolder(settings, kFolderPathAmpI);
    m_folderPathAmpII = existingFolder(settings, kFolderPathAmpII);
    m_midiService = storedText(settings, kMidiService, kDefaultMidiService);
    m_midiDeviceText = storedText(settings, kMidiDeviceText, kDefaultMidiDeviceText);
}

void Preference::save() {
    PreferenceStore settings;
    if (m_windowRect.isNull())
        settings.remove(kWindowRect);
    else
        settings.setValue(kWindowRect, m_windowRect);
    settings.setValue(kPrimaryCh, m_primaryCh);
    settings.setValue(kFolderPathAmpI, m_folderPathAmpI);
    settings.setValue(kFolderPathAmpII, m_folderPathAmpII);
    settings.setValue(kMidiService, m_midiService);
    settings.setValue(kMidiDeviceText, m_midiDeviceText);
    settings.sync();
}

QString Preference::defaultFolder() {
    const QString home = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    const QString path = QDir(home).filePath(QStringLiteral("Music/Velk/Ostrel"));
    if (!QFileInfo::exists(path))
        QDir().mkpath(path);  // a failure shows up later as an empty list, nothing to report here
    return path;
}
