#include "app/MidiMonitorWindowController.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "app/AlertPresenter.h"
#include "common/MIDIManager.h"
#include "midi/TracingMidiService.h"
#include "strings/StringTable.h"

namespace {

using velk::strings::text;

constexpr int kCollectIntervalMS = 100;
// Lines beyond this drop off the top: the window is for watching, a file for keeping.
constexpr int kLineLimit = 50'000;

}  // namespace

// Stops the watching when the window closes or hides, however that happens.
class MidiMonitorWindowController::WindowWatcher : public QObject {
public:
    WindowWatcher(MidiMonitorWindowController& controller, QObject* parent)
        : QObject(parent), m_controller(controller) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide)
            m_controller.watch(false);
        return QObject::eventFilter(watched, event);
    }

private:
    MidiMonitorWindowController& m_controller;
};

MidiMonitorWindowController::MidiMonitorWindowController(QObject* parent)
    : QObject(parent), m_Window(std::make_unique<QWidget>(nullptr, Qt::Window)) {
    CMIDIManager::setServiceWrapper([tap = m_tap](std::shared_ptr<midi::MidiService> service) {
        return std::make_shared<midi::TracingMidiService>(std::move(service), tap);
    });
    buildLayout();
    m_Window->installEventFilter(new WindowWatcher(*this, this));
    m_collect.setInterval(kCollectIntervalMS);
    connect(&m_collect, &QTimer::timeout, this, &MidiMonitorWindowController::updateTraffic);
}

MidiMonitorWindowController::~MidiMonitorWindowController() {
    // Stop first, so that the Hide the closing window raises finds nothing left to do.
    watch(false);
    m_Window.reset();
    CMIDIManager::setServiceWrapper(nullptr);
}

void MidiMonitorWindowController::showWindow() {
    m_Window->show();
    m_Window->raise();
    m_Window->activateWindow();
    watch(!m_Pause_Btn->isChecked());
}

void MidiMonitorWindowController::OnClickedPauseBtn(bool paused) {
    watch(!paused && m_Window->isVisible());
}

void MidiMonitorWindowController::OnClickedClearBtn() {
    m_Traffic_Text->clear();
}

void MidiMonitorWindowController::OnClickedCopyBtn() {
    QApplication::clipboard()->setText(trafficText());
}

void MidiMonitorWindowController::OnClickedSaveBtn() {
    const QString path = QFileDialog::getSaveFileName(m_Window.get(), text("Monitor_SaveTitle"),
                                                      QStringLiteral("midi-trace.txt"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text) && file.write(trafficText().toUtf8()) >= 0)
        return;
    velk::app::Alert alert;
    alert.style = velk::app::Alert::Style::Critical;
    alert.messageText = text("Monitor_SaveFailed").arg(path, file.errorString());
    alert.buttons = {text("OK")};
    velk::app::alertPresenter().runModal(alert);
}

void MidiMonitorWindowController::updateTraffic() {
    for (const midi::TrafficEntry& entry : m_tap->take()) {
        std::string line = midi::traceLine(entry.when, entry.direction, entry.bytes);
        if (const std::string meaning = m_narrator.describe(entry.bytes); !meaning.empty())
            line += "  " + meaning;
        m_Traffic_Text->appendPlainText(QString::fromStdString(line));
    }
}

QString MidiMonitorWindowController::trafficText() const {
    return m_Traffic_Text->toPlainText();
}

void MidiMonitorWindowController::watch(bool watching) {
    if (watching == m_tap->watching())
        return;
    m_tap->setWatching(watching);
    if (watching) {
        m_collect.start();
        return;
    }
    m_collect.stop();
    updateTraffic();  // what passed before the watching ended
}

void MidiMonitorWindowController::buildLayout() {
    m_Window->setWindowTitle(text("Monitor_Title"));
    m_Window->resize(900, 420);
    auto* layout = new QVBoxLayout(m_Window.get());
    m_Traffic_Text = new QPlainTextEdit(m_Window.get());
    m_Traffic_Text->setReadOnly(true);
    m_Traffic_Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_Traffic_Text->setMaximumBlockCount(kLineLimit);
    m_Traffic_Text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(m_Traffic_Text);

    auto* buttons = new QHBoxLayout;
    m_Pause_Btn = new QPushButton(text("Monitor_Pause"), m_Window.get());
    m_Pause_Btn->setCheckable(true);
    auto* clear = new QPushButton(text("Monitor_Clear"), m_Window.get());
    auto* copy = new QPushButton(text("Monitor_Copy"), m_Window.get());
    auto* save = new QPushButton(text("Monitor_Save"), m_Window.get());
    for (QPushButton* button : {m_Pause_Btn, clear, copy, save})
        buttons->addWidget(button);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(m_Pause_Btn, &QPushButton::toggled, this, &MidiMonitorWindowController::OnClickedPauseBtn);
    connect(clear, &QPushButton::clicked, this, &MidiMonitorWindowController::OnClickedClearBtn);
    connect(copy, &QPushButton::clicked, this, &MidiMonitorWindowController::OnClickedCopyBtn);
    connect(save, &QPushButton::clicked, this, &MidiMonitorWindowController::OnClickedSaveBtn);
}
