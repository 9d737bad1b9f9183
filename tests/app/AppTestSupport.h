#pragma once

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <vector>

#include "app/AlertPresenter.h"
#include "app/Preference.h"
#include "app/VelkUtilityApp.h"
#include "helper/QtTestApp.h"

namespace velk::test {

// The editor's own application object, in a home of its own inside the current one, with settings
// in Qt's test locations there: never the user's, never shared with test programs running beside it.
// Drawn offscreen, the screen is as large as a desktop's, so that the window fits on it.
inline VelkUtilityApp& editorApplication() {
    static QTemporaryDir home(QDir::home().filePath(QStringLiteral("velk-test-XXXXXX")));
    static const bool moved = [] {
        qputenv("HOME", home.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
            QFile screens(home.filePath(QStringLiteral("screens.json")));
            screens.open(QIODevice::WriteOnly);
            screens.write(
                R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1600, "height": 1000}]})");
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
        }
        return true;
    }();
    (void)moved;
    return application<VelkUtilityApp>();
}

// Answers every alert in the user's place with the button at `answer` (the default button unless
// told otherwise), and remembers what was shown.
class AnsweringPresenter : public velk::app::AlertPresenter {
public:
    AnsweringPresenter() { velk::app::setAlertPresenter(this); }
    ~AnsweringPresenter() override { velk::app::setAlertPresenter(nullptr); }
    int runModal(const velk::app::Alert& alert) override {
        alerts.push_back(alert);
        return answer;
    }
    std::vector<velk::app::Alert> alerts;
    int answer = 0;
};

// Empties the editor's settings store, as on a first run.
inline void clearPreferenceStore() {
    PreferenceStore store;
    store.clear();
    store.sync();
}

}  // namespace velk::test
