#pragma once

#include <cstdint>
#include <optional>

namespace midi {

// Which events read from the ALSA sequencer reach the input handler. Events are read under one lock
// and handed to the handler later, under another, so an input closed and opened again in between
// must not get what was read for the one before: every opening has a number of its own, and input
// read under one goes to the handler only while that opening lasts. (What the sequencer still
// holds for a closed input is read, and dropped, when it closes.)
class SequencerInputGate {
public:
    struct Address {
        int client = 0;
        int port = 0;
        bool operator==(const Address&) const = default;
    };

    // Input on our port `port`, from `source` only or, without one, from whoever sends to the port.
    void open(int port, std::optional<Address> source) {
        m_Port = port;
        m_Source = source;
        ++m_Opening;
    }
    void close() { m_Port.reset(); }

    // Our input port while one is open.
    std::optional<int> port() const { return m_Port; }

    // The opening that an event read now, sent from `source` to our port `port`, belongs to; none
    // when it is for no open input.
    std::optional<uint64_t> admit(int port, Address source) const {
        if (m_Port != port || (m_Source && *m_Source != source))
            return std::nullopt;
        return m_Opening;
    }

    // Whether input read under `opening` may still go to the handler.
    bool lasts(uint64_t opening) const { return m_Port && opening == m_Opening; }

private:
    std::optional<int> m_Port;
    std::optional<Address> m_Source;
    uint64_t m_Opening = 0;
};

}  // namespace midi
