#pragma once

#include "midi/MidiService.h"

#include <mutex>

namespace midi {

// A service's change handler: announce() calls it with a lock held, so that once set() has
// returned, the previous handler is no longer running.
class ChangeNotifier {
public:
    void set(MidiService::ChangeHandler handler) {
        std::lock_guard lock(m_Mutex);
        m_Handler = std::move(handler);
    }
    void announce() {
        std::lock_guard lock(m_Mutex);
        if (m_Handler)
            m_Handler();
    }

private:
    std::mutex m_Mutex;
    MidiService::ChangeHandler m_Handler;
};

}  // namespace midi
