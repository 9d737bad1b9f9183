#include "app/speaker/LaunchOpener.h"

#include <QTabWidget>
#include <QTimer>

#include "app/AppWindowController.h"
#include "app/speaker/SpeakerSimulationWindowController.h"

namespace {

// After the panels have handled the full read, which drops any selection; then room for each
// audition to finish before the next.
constexpr int kFirstOpenMs = 200;
constexpr int kOpenSpacingMs = 600;

}  // namespace

LaunchOpener::LaunchOpener(AppWindowController& controller, QStringList paths)
    : QObject(&controller), m_controller(controller), m_paths(std::move(paths)) {
    connect(&controller, &AppWindowController::allDataReceived, this, &LaunchOpener::open,
            Qt::SingleShotConnection);
}

int LaunchOpener::duration() const {
    return kFirstOpenMs + static_cast<int>(m_paths.size()) * kOpenSpacingMs;
}

void LaunchOpener::open() {
    auto* panel = qobject_cast<SpeakerSimulationWindowController*>(m_controller.tabView()->currentWidget());
    if (!panel) {
        panel = static_cast<SpeakerSimulationWindowController*>(m_controller.speakerSimulationView(0));
        m_controller.tabView()->setCurrentWidget(panel);
    }
    for (qsizetype i = 0; i < m_paths.size(); ++i)
        QTimer::singleShot(kFirstOpenMs + static_cast<int>(i) * kOpenSpacingMs, panel,
                           [panel, path = m_paths[i]] { panel->openDroppedPath(path); });
}
