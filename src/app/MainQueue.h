#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace velk::app {

// Hands work from any thread to the GUI thread, as the device manager's listeners must: they run
// on the manager's threads and may only post.
//
// An alert blocks the GUI thread in a loop of its own, which would run posted work on top of it
// (another alert inside the first, and so on). While the queue is held, work waits and then runs in
// the order it was posted once the last hold ends.
class MainQueue {
public:
    MainQueue();
    ~MainQueue();

    // Runs `work` on the thread of `receiver` (the GUI thread) once the events queued before it
    // are handled and nothing holds the queue. When the receiver is destroyed first, the work
    // never runs. Any thread.
    void async(QObject* receiver, std::function<void()> work);

    // GUI thread only. Holds the work that arrives from now on; `cause` names what holds it.
    // Holds nest; the work held runs when the event loop turns after the last one ends.
    void hold(const QString& cause);
    void release();

    // While held work runs: the cause of the innermost hold it waited behind; empty otherwise.
    const QString& waitedBehind() const { return m_waitedBehind; }

private:
    struct Waiting {
        QPointer<QObject> receiver;
        std::function<void()> work;
        QString waitedBehind;
    };

    void arrive();
    void runWaiting();

    // The work travels under a lock of ours, not inside Qt's queued call: Qt's own locks are
    // invisible to ThreadSanitizer, which would take the GUI thread's reading of what another
    // thread wrote for a race.
    std::mutex m_postedLock;
    std::deque<Waiting> m_posted;
    std::unique_ptr<QObject> m_door;  // on the GUI thread: each queued call to it takes one in
    std::deque<Waiting> m_waiting;
    QStringList m_holds;  // innermost last
    QString m_waitedBehind;
};

extern MainQueue gMain_queue;

}  // namespace velk::app
