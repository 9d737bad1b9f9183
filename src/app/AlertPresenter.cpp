#include "app/AlertPresenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "app/MainQueue.h"

namespace velk::app {

namespace {

QMessageBox::Icon iconOf(Alert::Style style) {
    switch (style) {
        case Alert::Style::Warning:
            return QMessageBox::Warning;
        case Alert::Style::Critical:
            return QMessageBox::Critical;
        case Alert::Style::Informational:
            break;
    }
    return QMessageBox::Information;
}

class MessageBoxPresenter : public AlertPresenter {
public:
    int runModal(const Alert& alert) override {
        QMessageBox box(iconOf(alert.style), QApplication::applicationDisplayName(), alert.messageText,
                        QMessageBox::NoButton, QApplication::activeWindow());
        box.setInformativeText(alert.informativeText);
        QList<QPushButton*> buttons;
        for (const QString& title : alert.buttons)
            buttons.append(box.addButton(title, QMessageBox::AcceptRole));
        if (!buttons.isEmpty())
            box.setDefaultButton(buttons.first());
        box.exec();
        return static_cast<int>(buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
    }
};

AlertPresenter* s_installed = nullptr;

// What makes two alerts the same to the user.
QString identity(const Alert& alert) {
    return alert.messageText + QChar::LineFeed + alert.informativeText;
}

// Holds the main queue while an alert is open: the events raised meanwhile come after it, one
// alert at a time. An alert asked for again by work that waited behind that very alert (the same
// error, repeated while the user read it) is not shown again.
class HoldingPresenter : public AlertPresenter {
public:
    int runModal(const Alert& alert) override {
        const QString cause = identity(alert);
        if (gMain_queue.waitedBehind() == cause)
            return 0;
        gMain_queue.hold(cause);
        static MessageBoxPresenter messageBoxes;
        const int answer = (s_installed ? *s_installed : messageBoxes).runModal(alert);
        gMain_queue.release();
        return answer;
    }
};

}  // namespace

AlertPresenter& alertPresenter() {
    static HoldingPresenter holding;
    return holding;
}

void setAlertPresenter(AlertPresenter* presenter) {
    s_installed = presenter;
}

}  // namespace velk::app
