#include "app/AppWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

AppWindow::AppWindow(QWidget* parent) : QMainWindow(parent) {
    // Key presses reach the focused widget, not the window: watch them on their way there.
    qApp->installEventFilter(this);
}

AppWindow::~AppWindow() {
    qApp->removeEventFilter(this);
}

bool AppWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !belongsHere(watched))
        return false;
    m_sendingKeydownEvent = true;
    if (endsTextEditing(*static_cast<QKeyEvent*>(event))) {
        endTextEditing();
        return true;
    }
    // Cleared once the press has been handled and the event loop turns again.
    QTimer::singleShot(0, this, [this] { m_sendingKeydownEvent = false; });
    return false;
}

void AppWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A desktop that maximises a window whatever its size limits say would leave the faceplates
    // in a corner of an empty field.
    if (event->type() == QEvent::WindowStateChange && (windowState() & kLargerStates))
        setWindowState(windowState() & ~kLargerStates);
}

void AppWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    QMainWindow::closeEvent(event);
}

bool AppWindow::belongsHere(QObject* object) const {
    const QWidget* widget = qobject_cast<const QWidget*>(object);
    return widget && widget->window() == this;
}

bool AppWindow::endsTextEditing(const QKeyEvent& key) const {
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    const QLineEdit* field = qobject_cast<const QLineEdit*>(focusWidget());
    return field && !field->isReadOnly();
}

void AppWindow::endTextEditing() {
    QWidget* target = m_initialFocus ? m_initialFocus.data() : this;
    target->setFocus(Qt::OtherFocusReason);
}
