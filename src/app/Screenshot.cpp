#include "app/Screenshot.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/AppWindow.h"
#include "app/AppWindowController.h"
#include "strings/StringTable.h"

namespace {

// Long enough for the search, the heartbeat and the full read; a silent setup is shown as it is.
constexpr int kSettleLimitMs = 15000;
// Lets the last events after the full read reach the window before it is drawn.
constexpr int kSettleDelayMs = 300;

}  // namespace

Screenshot::Screenshot(AppWindowController& controller, QString file, int settleMs)
    : QObject(&controller), m_controller(controller), m_file(std::move(file)) {
    connect(&controller, &AppWindowController::allDataReceived, this,
            [this, settleMs] { QTimer::singleShot(kSettleDelayMs + settleMs, this, &Screenshot::take); });
    QTimer::singleShot(kSettleLimitMs + settleMs, this, &Screenshot::take);
}

void Screenshot::take() {
    if (m_taken)
        return;
    m_taken = true;
    const bool written = m_controller.window().grab().save(m_file, "PNG");
    if (!written)
        std::fprintf(stderr, "%s\n", qPrintable(velk::strings::text("Launch_ScreenshotFailed").arg(m_file)));
    QCoreApplication::exit(written ? 0 : 1);
}
