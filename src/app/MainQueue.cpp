#include "app/MainQueue.h"

#include <QMetaObject>

namespace velk::app {

const MainQueue gMain_queue;

void MainQueue::async(QObject* receiver, std::function<void()> work) const {
    // A queued call is an event posted to the receiver; Qt discards it with the receiver.
    QMetaObject::invokeMethod(receiver, std::move(work), Qt::QueuedConnection);
}

}  // namespace velk::app
