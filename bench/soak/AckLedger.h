#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "SoakRig.h"

namespace velk::soak {

// What the manager's events say the mirror and the head agree on. Only what was acknowledged
// counts: the manager learns the head's coefficients only by streaming them, and a message that
// may have been lost on the wire leaves the head's state unknown until the next full read.
class AckLedger {
public:
    // How much of an amp's play buffer the mirror knows.
    enum class Play { Unknown, Header, Whole };

    void onEvent(const Event& event);
    // The step may have lost messages: nothing is known until the next full read.
    void forgetAfterWireFault();
    // The head's play buffer of that amp is about to change (a stream, a gain or a name): a full
    // read can no longer tell what it holds. `stream` says a stream starts, after which only its
    // own events count.
    void playChanges(int amp, bool stream);
    // The head is asked to play the stored IR of the amp's type again; the mirror must follow.
    void playsStored(int amp, CVelkManager& manager);
    // The head is asked to write its flash (one slot, or all of them for a reset, or it may
    // have been swapped): until it acknowledges, the slot may hold the old or the new record.
    void flashStarts(int amp, CVelkManager& manager);
    void resetStarts();
    // The head was replaced by a factory-fresh one.
    void forgetSlots();

    bool synced() const { return m_Synced; }
    Play play(int amp) const { return m_Play[amp]; }
    bool slotKnown(int slot) const { return m_SlotKnown[slot]; }
    // The slot's name and gain as the last full read left them, or as acknowledged since.
    bool slotHeaderKnown(int slot) const { return m_Synced && !m_SlotHeaderUnknown[slot]; }

private:
    void streamSent(int amp);
    void flashWritten(const Event& event);

    bool m_Synced = false;
    std::array<Play, 2> m_Play{};
    std::array<bool, 2> m_StreamSpoiled{};
    // The full read takes the play buffer to be the stored IR of the amp's type; that holds only
    // while the head plays it.
    std::array<bool, 2> m_HeadPlaysStored{true, true};
    std::bitset<10> m_SlotKnown;
    std::bitset<10> m_SlotHeaderUnknown;
};

}  // namespace velk::soak
