#pragma once

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <vector>

#include "app/AlertPresenter.h"
#include "app/Preference.h"
#include "app/VelkUtilityApp.h"
#include "helper/QtTestApp.h"

namespace velk::test {

// The editor's own application object, as the program runs with it. The program gets a home of
// its own inside the current one, and settings go to Qt's test locations there: never to the
// user's, and never shared with test programs running beside it.
inline VelkUtilityApp& editorApplication() {
    static QTemporaryDir home(QDir::home().filePath(QStringLiteral("velk-test-XXXXXX")));
    static bool moved = [] {
        qputenv("HOME", home.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        return true;
    }();
    (void)moved;
    return application<VelkUtilityApp>();
}

// Answers every alert in the user's place with a chosen button, and remembers what was asked.
class AnsweringPresenter : public velk::app::AlertPresenter {
public:
    AnsweringPresenter() { velk::app::setAlertPresenter(this); }
    ~AnsweringPresenter() override { velk::app::setAlertPresenter(nullptr); }

    int runModal(const velk::app::Alert& alert) override {
        alerts.push_back(alert);
        return answer;
    }

    int answer = 0;
    std::vector<velk::app::Alert> alerts;
};

// Empties the editor's settings store, as on a first run.
inline void clearPreferenceStore() {
    PreferenceStore store;
    store.clear();
    store.sync();
}

}  // namespace velk::test
