#include "app/MainQueue.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <utility>

namespace velk::app {

namespace {

// Called by name, so that the queued call is made and freed by Qt's code alone.
class Door : public QObject {
    Q_OBJECT
public:
    explicit Door(std::function<void()> open) : m_open(std::move(open)) {}
    Q_INVOKABLE void open() { m_open(); }

private:
    std::function<void()> m_open;
};

}  // namespace

MainQueue gMain_queue;

// Made on the thread that starts the program, the GUI thread.
MainQueue::MainQueue() : m_door(std::make_unique<Door>([this] { arrive(); })) {}

MainQueue::~MainQueue() = default;

void MainQueue::async(QObject* receiver, std::function<void()> work) {
    {
        std::lock_guard posted(m_postedLock);
        m_posted.push_back({receiver, std::move(work), QString()});
    }
    QMetaObject::invokeMethod(m_door.get(), "open", Qt::QueuedConnection);
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

// Each queued call takes the oldest posted work in, behind work that still waits, so that the
// order of posting is kept. Work whose receiver is gone is dropped when its turn comes.
void MainQueue::arrive() {
    Waiting next;
    {
        std::lock_guard posted(m_postedLock);
        next = std::move(m_posted.front());
        m_posted.pop_front();
    }
    next.waitedBehind = m_holds.isEmpty() ? QString() : m_holds.last();
    m_waiting.push_back(std::move(next));
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

#include "MainQueue.moc"
