#include "common/ErrorCodes.h"
#include "common/SysexCodec.h"
#include "common/VelkManager.h"
#include "common/VelkManagerInternal.h"

#include <algorithm>

namespace sysex = velk::sysex;

// Streams the amp's play buffer as ten packets, each waiting for its acknowledgement; the
// amplifier's replies pace the stream. A rejected packet ends the wait like an accepted one.
int CVelkManager::sendPlayBuffer(int amp) {
    if (!getPlayBuffer(amp, m_SendBuffer))
        return 0;
    m_SendBegin = reinterpret_cast<const uint8_t*>(&m_SendBuffer);
    m_SendEnd = m_SendBegin + sizeof m_SendBuffer - 1;
    const uint16_t ampField = amp != 0 ? 1 : 0;

    for (size_t packet = 0; packet < sysex::kPacketCount; ++packet) {
        const size_t offset = packet * sysex::kPacketPayloadSize;
        const size_t length = std::min(sysex::kPacketPayloadSize, sizeof m_SendBuffer - offset);
        expectReply(eVelkResponse_Packet);
        if (mi_sendPacket(static_cast<uint16_t>(packet), m_SendBegin + offset, static_cast<uint16_t>(length),
                          ampField) != 0)
            velk::throwError(mstd::eErr_MIDISend);
        waitForReplyOrThrow();
    }
    return 1;
}

// The mirror shows the new record even when the stream then fails.
void CVelkManager::sendFIRCOE(int amp, FIRCOE& record) {
    if (!velk::isAmp(amp))
        return;
    setPlayBuffer(amp, record);
    sendPlayBuffer(amp);
    notifyVelkEvent(eVelkEvent_FIRCOESent, amp);
}

void CVelkManager::sendBypassData(int amp) {
    const FIRCOE bypass = velk::makeBypassRecord();
    setPlayBuffer(amp, bypass);
    sendPlayBuffer(amp);
    notifyVelkEvent(eVelkEvent_BypassSent, amp);
}
