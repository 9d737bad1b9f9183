#pragma once

#include <atomic>
#include <cstdio>
#include <exception>

namespace midi {

// Whether a backend's threads of its own still do their work. Whatever ends one early (an exception
// from a handler it calls, a wait that fails) is reported on stderr and leaves the service dead
// rather than ending the process or leaving input to stop without a word: the device manager sees
// alive() turn false and opens the service afresh.
class ServiceHealth {
public:
    bool alive() const { return !m_Dead; }

    // Runs a thread's body; nothing it throws leaves this call.
    template <typename Body>
    void run(const char* thread, Body&& body) noexcept {
        try {
            body();
        } catch (const std::exception& failure) {
            died(thread, failure.what());
        } catch (...) {
            died(thread, "an exception of unknown type");
        }
    }

private:
    void died(const char* thread, const char* why) noexcept {
        std::fprintf(stderr, "[ERROR] MIDI %s thread failed: %s\n", thread, why);
        m_Dead = true;
    }

    std::atomic<bool> m_Dead{false};
};

}  // namespace midi
