#include "app/MainQueue.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <utility>

namespace velk::app {

MainQueue gMain_queue;

void MainQueue::async(QObject* receiver, std::function<void()> work) {
    // A queued call is an event posted to the receiver; Qt discards it with the receiver.
    QMetaObject::invokeMethod(
        receiver, [this, receiver, work = std::move(work)]() mutable { arrive(receiver, std::move(work)); },
        Qt::QueuedConnection);
}

void MainQueue::hold(const QString& cause) {
    m_holds.append(cause);
}

void MainQueue::release() {
    m_holds.removeLast();
    if (m_holds.isEmpty())
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [this] { runWaiting(); }, Qt::QueuedConnection);
}

void MainQueue::arrive(QObject* receiver, std::function<void()> work) {
    // Behind work that still waits, so that the order of posting is kept.
    m_waiting.push_back({receiver, std::move(work), m_holds.isEmpty() ? QString() : m_holds.last()});
    runWaiting();
}

void MainQueue::runWaiting() {
    while (m_holds.isEmpty() && !m_waiting.empty()) {
        Waiting next = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (!next.receiver)
            continue;
        // Restored however the work ends: a throw is caught further out, by the event dispatch.
        struct Restore {
            QString& cause;
            QString outer;
            ~Restore() { cause = outer; }
        } restore{m_waitedBehind, std::exchange(m_waitedBehind, next.waitedBehind)};
        next.work();
    }
}

}  // namespace velk::app
