#pragma once

#include <QString>
#include <QStringList>

namespace velk::app {

// A modal question or message to the user.
struct Alert {
    enum class Style { Informational, Warning, Critical };
    Style style = Style::Informational;
    QString messageText;
    QString informativeText;
    QStringList buttons;  // left to right as read; the first is the default
};

// Everything that stops the editor to ask or tell the user something goes through here, so that
// tests can answer in the user's place.
class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;
    // Shows the alert and returns when the user has dismissed it: the index of the pressed button.
    virtual int runModal(const Alert& alert) = 0;
};

// The presenter in use: message boxes, unless another one was installed. While it shows an alert,
// the work posted to the main queue waits (see MainQueue), so alerts never stack; the answer to an
// alert skipped as a repeat is 0.
AlertPresenter& alertPresenter();
// Installs a presenter (not owned); null goes back to message boxes.
void setAlertPresenter(AlertPresenter* presenter);

}  // namespace velk::app
