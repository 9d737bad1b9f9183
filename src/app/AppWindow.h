#pragma once

#include <QMainWindow>
#include <QPointer>

// The main window. Return and keypad Enter end the editing of a text field (the focus goes to the
// window's initial focus widget) instead of reaching anything else. It is never maximised nor made
// full-screen: its size is its panels'.
class AppWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit AppWindow(QWidget* parent = nullptr);
    ~AppWindow() override;

    // True from a key press in the window until it has been handled; stays true after a Return that
    // ended editing.
    bool sendingKeydownEvent() const { return m_sendingKeydownEvent; }

    // Where the focus goes when editing ends; the window itself when none is set.
    void setInitialFocusWidget(QWidget* widget) { m_initialFocus = widget; }

signals:
    void closing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    static constexpr Qt::WindowStates kLargerStates = Qt::WindowMaximized | Qt::WindowFullScreen;

    bool belongsHere(QObject* object) const;
    bool endsTextEditing(const class QKeyEvent& key) const;
    void endTextEditing();

    bool m_sendingKeydownEvent = false;
    QPointer<QWidget> m_initialFocus;
};
