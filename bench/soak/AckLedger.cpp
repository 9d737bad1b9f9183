#include "AckLedger.h"

namespace velk::soak {

namespace {

bool isAmp(int32_t amp) {
    return amp == 0 || amp == 1;
}

// The FIR slot of the amp's amp type; -1 for none.
int slotOf(int amp, int ampType) {
    return isAmp(amp) && ampType >= 0 && ampType < 5 ? amp * 5 + ampType : -1;
}

// The FIR slot of the amp's current amp type as the mirror has it.
int slotOf(int amp, CVelkManager& manager) {
    return slotOf(amp, manager.getAmpType(amp));
}

}  // namespace

void AckLedger::onEvent(const Event& event) {
    switch (event.id) {
        case eVelkEvent_Error:
        case eVelkEvent_Disconnected:
        case eVelkEvent_Connected:
            m_Synced = false;
            m_Play = {};
            break;
        case eVelkEvent_AllDataReceived:
            m_Synced = true;
            m_SlotHeaderUnknown.reset();
            for (int amp : {0, 1})
                m_Play[amp] = m_HeadPlaysStored[amp] ? Play::Header : Play::Unknown;
            break;
        case eVelkEvent_AmpTypeChanged:
            // Both sides now play the stored IR of the new type, but what the editor had on its
            // way to that amp (stream packets, name characters, a selection, a flash write)
            // crossed the change: the event is the client's word that those did not land as
            // asked, so they count as failed rather than acknowledged.
            if (isAmp(event.data)) {
                m_HeadPlaysStored[event.data] = true;
                m_Play[event.data] = Play::Unknown;
                m_StreamSpoiled[event.data] = true;
            }
            break;
        case eVelkEvent_FIRPacketAccepted:
            if (isAmp(event.data))
                m_HeadPlaysStored[event.data] = false;
            break;
        case eVelkEvent_FIRPacketRejected:
            if (isAmp(event.data)) {
                m_Play[event.data] = Play::Unknown;
                m_StreamSpoiled[event.data] = true;
                m_HeadPlaysStored[event.data] = false;
            }
            break;
        case eVelkEvent_FIRCOESent:
        case eVelkEvent_BypassSent:
            streamSent(event.data);
            break;
        case eVelkEvent_FIRWriteDone:
            flashWritten(event);
            break;
        case eVelkEvent_FIRDataInitialized:
            m_Play = {};
            m_SlotKnown.reset();
            m_HeadPlaysStored = {true, true};
            break;
        default:
            break;
    }
}

void AckLedger::streamSent(int amp) {
    if (!isAmp(amp))
        return;
    m_Play[amp] = m_StreamSpoiled[amp] ? Play::Unknown : Play::Whole;
    m_StreamSpoiled[amp] = false;
    m_HeadPlaysStored[amp] = false;
}

// The head wrote its play buffer into the slot; the mirror copied its own.
void AckLedger::flashWritten(const Event& event) {
    const int amp = event.data;
    const int slot = isAmp(amp) ? slotOf(amp, event.ampTypes[amp]) : -1;
    if (slot < 0)
        return;
    m_SlotKnown[slot] = m_Play[amp] == Play::Whole;
    m_SlotHeaderUnknown[slot] = m_Play[amp] == Play::Unknown;
    m_HeadPlaysStored[amp] = true;
}

void AckLedger::forgetAfterWireFault() {
    m_Synced = false;
    m_Play = {};
    m_HeadPlaysStored = {};
}

void AckLedger::playChanges(int amp, bool stream) {
    if (!isAmp(amp))
        return;
    m_HeadPlaysStored[amp] = false;
    if (stream)
        m_StreamSpoiled[amp] = false;
}

void AckLedger::playsStored(int amp, CVelkManager& manager) {
    const int slot = slotOf(amp, manager);
    if (slot < 0)
        return;
    m_HeadPlaysStored[amp] = true;
    m_Play[amp] = slotHeaderKnown(slot) ? Play::Header : Play::Unknown;
}

void AckLedger::flashStarts(int amp, CVelkManager& manager) {
    const int slot = slotOf(amp, manager);
    if (slot < 0)
        return;
    m_SlotKnown[slot] = false;
    m_SlotHeaderUnknown[slot] = true;
}

void AckLedger::resetStarts() {
    m_SlotKnown.reset();
    m_SlotHeaderUnknown.set();
}

void AckLedger::forgetSlots() {
    resetStarts();
    m_HeadPlaysStored = {true, true};
}

}  // namespace velk::soak
