#include "app/AlertPresenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

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

}  // namespace

AlertPresenter& alertPresenter() {
    static MessageBoxPresenter messageBoxes;
    return s_installed ? *s_installed : messageBoxes;
}

void setAlertPresenter(AlertPresenter* presenter) {
    s_installed = presenter;
}

}  // namespace velk::app
