#pragma once

#include <QObject>
#include <functional>

namespace velk::app {

// Hands work from any thread to the GUI thread, as the device manager's listeners must: they run
// on the manager's threads and may only post.
class MainQueue {
public:
    // Runs `work` on the thread of `receiver` (the GUI thread) once the events queued before it
    // are handled. When the receiver is destroyed first, the work never runs.
    void async(QObject* receiver, std::function<void()> work) const;
};

extern const MainQueue gMain_queue;

}  // namespace velk::app
