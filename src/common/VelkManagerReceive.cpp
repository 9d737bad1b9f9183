#include "common/Clock.h"
#include "common/DebugUtil.h"
#include "common/SysexCodec.h"
#include "common/VelkManager.h"
#include "common/VelkManagerInternal.h"

#include <cstring>

namespace sysex = velk::sysex;

namespace {

constexpr uint32_t kMinMessageSize = 9;
constexpr uint32_t kMinParameterChangeSize = 10;  // through data 2
constexpr uint32_t kMinBulkDumpSize = 18;         // through the block name's reserved bytes
constexpr size_t kBlockNameOffset = 10;
constexpr size_t kBlockDataOffset = 18;
constexpr size_t kBodyOffset = sysex::kBulkHeaderSize;
constexpr uint64_t kReplyTimeoutMS = 5000;

bool matches(const uint8_t* bytes, const uint8_t* expected, size_t length) {
    return std::memcmp(bytes, expected, length) == 0;
}

// The amplifier's block size bytes (offsets 4 and 5) for a body of `bodySize` bytes.
bool hasBodySize(const uint8_t* bytes, size_t bodySize) {
    return bytes[4] == sysex::high7(bodySize) && bytes[5] == sysex::low7(bodySize);
}

// Checks one bulk dump's length and checksum, logging each fault; true when the block may be
// stored.
struct SBulkCheck {
    uint32_t size;
    const char* tooLong;
    const char* tooShort;
    const char* badChecksum;
};

bool checkBulkDump(const uint8_t* bytes, uint32_t length, const SBulkCheck& check) {
    bool accepted = true;
    if (length > check.size) {
        mstd::logLine(check.tooLong);
        accepted = false;
    } else if (length < check.size) {
        mstd::logLine(check.tooShort);
        accepted = false;
    }
    // Checked whenever the checksum byte is there, even for a block already refused.
    const uint32_t checksumOffset = check.size - 2;
    if (length > checksumOffset &&
        !sysex::checksumMatches(bytes + kBodyOffset, checksumOffset - kBodyOffset, bytes[checksumOffset])) {
        mstd::logLine(check.badChecksum);
        accepted = false;
    }
    return accepted;
}

constexpr SBulkCheck kEffectDataCheck{
    static_cast<uint32_t>(sysex::kEffectDumpSize), "[ERROR] Too long bulkdump effect data.",
    "[ERROR] Too short bulk dump effect data.", "[ERROR] Bulk dump effect data check sum error."};
constexpr SBulkCheck kFIRHeaderCheck{
    static_cast<uint32_t>(sysex::kFIRHeaderDumpSize), "[ERROR] Too long bulkdump FIR header.",
    "[ERROR] Too short bulk dump FIR header.", "[ERROR] Bulk dump FIR header check sum error."};

}  // namespace

// ---- Entry and classification

void CVelkManager::procMIDIIn(void* userData, const uint8_t* bytes, uint32_t length) {
    try {
        static_cast<CVelkManager*>(userData)->handleMIDIIn(bytes, length);
    } catch (...) {
        mstd::logLine("[CATCH] Exception! - CVelkManager::procMIDIIn()");
    }
}

void CVelkManager::handleMIDIIn(const uint8_t* bytes, uint32_t length) {
    if (length < kMinMessageSize || !sysex::hasLeadIn(bytes, length))
        return;
    switch (sysex::messageKind(bytes, length)) {
        case sysex::kTypeHeartBeat:
            receiveHeartBeatMessage(bytes, length);
            break;
        case sysex::kTypeParameterChange:
            receiveParameterChange(bytes, length);
            break;
        case sysex::kTypeBulkDump:
            receiveBulkDump(bytes, length);
            break;
        default:
            break;
    }
}

// ---- Heartbeat

void CVelkManager::receiveHeartBeatMessage(const uint8_t* bytes, uint32_t length) {
    if (length < kMinMessageSize || !matches(bytes + 4, sysex::kHeartBeatTag, sizeof sysex::kHeartBeatTag))
        return;
    const uint8_t model = bytes[7];
    if (model != sysex::kModelSingleAmp && model != sysex::kModelDualAmp)
        return;

    // Another model: the utility thread drops this connection; a later reply opens the next one.
    const unsigned char knownModel = getModel();
    if (knownModel != 0 && knownModel != model) {
        m_ModelChanged = true;
        return;
    }
    // A reply after a (dis)connection finds 0 here: it opens a new connection.
    if (m_LastHeartBeatTime.exchange(mstd::getWallClockSeconds()) == 0) {
        setModel(model);
        notifyVelkEvent(eVelkEvent_Connected, model == sysex::kModelSingleAmp ? 1 : 2);
    }
}

// ---- Parameter changes

void CVelkManager::receiveParameterChange(const uint8_t* bytes, uint32_t length) {
    if (length < kMinParameterChangeSize ||
        !matches(bytes + 4, sysex::kParameterChangeTag, sizeof sysex::kParameterChangeTag))
        return;
    switch (bytes[6]) {
        case sysex::kGroupEffect:
            receiveParamEffectData(bytes, length);
            break;
        case sysex::kGroupFIR:
            receiveParamFIR(bytes, length);
            break;
        case sysex::kGroupSystem:
            receiveParamUpdater(bytes, length);
            break;
        default:
            break;
    }
}

// The amplifier switched an amp to another amp type: it now plays that type's stored IR.
void CVelkManager::receiveParamEffectData(const uint8_t* bytes, uint32_t length) {
    if (length < kMinParameterChangeSize || bytes[8] != 0)
        return;
    int amp;
    if (bytes[7] == sysex::kParamAmpIAmpType)
        amp = 0;
    else if (bytes[7] == sysex::kParamAmpIIAmpType)
        amp = 1;
    else
        return;
    const uint8_t ampType = bytes[9];
    if (!velk::isAmpType(ampType))
        return;
    {
        CRegionGuard buffer(m_BufferLock);
        m_EffectData[amp == 0 ? 0 : velk::kAmpIIEffectOffset] = ampType;
        selectStoredFIR(amp);
    }
    m_ReceivedValue = amp;
    if (isAwaited(eVelkResponse_AmpTypeChange))
        publishReply(eVelkResponse_AmpTypeChange);
    notifyVelkEvent(eVelkEvent_AmpTypeChanged, amp);
}

// A failure reply still ends the sender's wait: the response ID matches either way. A reply that
// nobody waits for (late, or repeated by the transport) is dropped whole: a repeated flash write
// reply would store whatever the amp plays by then, a repeated initialisation reply would start
// another full read.
void CVelkManager::receiveParamFIR(const uint8_t* bytes, uint32_t length) {
    if (length < kMinParameterChangeSize)
        return;
    const uint8_t data1 = bytes[8];
    const uint8_t data2 = bytes[9];
    switch (bytes[7]) {
        case sysex::kParamInitReply:
            if (data1 != 0 || data2 != 0 || !isAwaited(eVelkResponse_InitFIRData))
                return;
            publishReply(eVelkResponse_InitFIRData);
            notifyVelkEvent(eVelkEvent_FIRDataInitialized, m_ReceivedValue);
            break;
        case sysex::kParamFlashWriteReply:
            if (isAwaited(eVelkResponse_FlashWrite))
                receiveFlashWriteReply(data1, data2);
            break;
        case sysex::kParamPacketReply:
            if (isAwaited(eVelkResponse_Packet))
                receivePacketReply(data1, data2);
            break;
        default:
            break;
    }
}

// The slot mirror holds the written record before the waiting request may go on and send the
// next preview into the play buffer.
void CVelkManager::receiveFlashWriteReply(uint8_t amp, uint8_t result) {
    if (result == sysex::kReplyOK || result == sysex::kReplyFailed)
        m_ReceivedValue = amp;
    if (result == sysex::kReplyOK)
        setFlashBuffer(amp);
    publishReply(eVelkResponse_FlashWrite);
    if (result == sysex::kReplyOK)
        notifyVelkEvent(eVelkEvent_FIRWriteDone, amp);
    else if (result == sysex::kReplyFailed)
        notifyVelkEvent(eVelkEvent_FIRWriteFailed, amp);
}

void CVelkManager::receivePacketReply(uint8_t data1, uint8_t result) {
    if (result == sysex::kReplyOK || result == sysex::kReplyFailed)
        m_ReceivedValue = data1;
    publishReply(eVelkResponse_Packet);
    if (result == sysex::kReplyOK)
        notifyVelkEvent(eVelkEvent_FIRPacketAccepted, data1);
    else if (result == sysex::kReplyFailed)
        notifyVelkEvent(eVelkEvent_FIRPacketRejected, data1);
}

void CVelkManager::receiveParamUpdater(const uint8_t* bytes, uint32_t length) {
    if (length < kMinParameterChangeSize || bytes[7] != sysex::kParamMainVersionReply)
        return;
    setMainVer(sysex::join14(bytes[8], bytes[9]));
    if (isAwaited(eVelkResponse_MainVersion))
        publishReply(eVelkResponse_MainVersion);
}

// ---- Bulk dumps

void CVelkManager::receiveBulkDump(const uint8_t* bytes, uint32_t length) {
    if (length < kMinBulkDumpSize || !matches(bytes + kBodyOffset, sysex::kBodyTag, sizeof sysex::kBodyTag))
        return;
    int32_t blockType;
    if (!getBulkType(bytes, blockType))
        return;
    if (blockType == sysex::kDumpEffectData) {
        if (hasBodySize(bytes, sysex::kEffectDumpBodySize))
            receiveBulkDumpEffectData(bytes, length);
    } else if (hasBodySize(bytes, sysex::kFIRHeaderDumpBodySize)) {
        receiveBulkDumpFIRHeader(bytes, length, blockType);
    }
}

// Needs the first 18 bytes of the message.
bool CVelkManager::getBulkType(const uint8_t* bytes, int32_t& blockType) {
    const uint8_t* name = bytes + kBlockNameOffset;
    const int index = sysex::dumpIndex(name);
    if (index < 0 || name[4] != 0 || name[5] != 0)
        return false;
    if (index == sysex::kDumpEffectData && (name[6] != 0x7F || name[7] != 0x7F))
        return false;
    blockType = index;
    return true;
}

void CVelkManager::receiveBulkDumpEffectData(const uint8_t* bytes, uint32_t length) {
    const bool accepted = checkBulkDump(bytes, length, kEffectDataCheck);
    if (accepted) {
        CRegionGuard buffer(m_BufferLock);
        std::memcpy(m_EffectData, bytes + kBlockDataOffset, sizeof m_EffectData);
    } else {
        mstd::logLine("[ERROR] Bulk dump received effect data error.");
    }
    publishDumpReply(eVelkResponse_EffectData, accepted);
}

// The slot's coefficients are never read back; only its name and gain travel.
void CVelkManager::receiveBulkDumpFIRHeader(const uint8_t* bytes, uint32_t length, int32_t blockType) {
    if (blockType < 0 || blockType >= sysex::kDumpEffectData)
        return;
    const bool accepted = checkBulkDump(bytes, length, kFIRHeaderCheck);
    if (accepted) {
        const uint8_t* name = bytes + kBlockDataOffset;
        const uint8_t* gain = name + FIRCOE::kNameSize;
        CRegionGuard buffer(m_BufferLock);
        FIRCOE& slot = m_FirSlots[blockType];
        std::memcpy(slot.name, name, FIRCOE::kNameSize);
        // At most 63 significant bytes: readers of the name may rely on its terminator.
        slot.name[FIRCOE::kNameSize - 1] = '\0';
        slot.gain = static_cast<int16_t>(sysex::join14(gain[0], gain[1]));
    } else {
        mstd::logLine("[ERROR] bulk dump received FIR data error.");
    }
    publishDumpReply(blockType, accepted);
}

// ---- Reply bookkeeping

// A new expectation forgets any reply that came in meanwhile: only what answers this one counts.
void CVelkManager::expectReply(int32_t id) {
    m_ReceivedID = eVelkResponse_None;
    m_ExpectedID = id;
}

// Only the input thread stores response IDs, so nothing changes between this test and the store.
bool CVelkManager::isAwaited(int32_t id) const {
    return m_ExpectedID == id && m_ReceivedID != id;
}

// Called once the state the reply announces is stored. The lock is taken after the store so a
// waiter either sees the ID or is already asleep and gets the notification.
void CVelkManager::publishReply(int32_t id) {
    m_ReceivedID = id;
    { std::lock_guard reply(m_ReplyLock); }
    m_ReplyArrived.notify_all();
}

// The dump request asks again when the awaited block was rejected; a block nobody waits for
// must not change that verdict.
void CVelkManager::publishDumpReply(int32_t id, bool accepted) {
    if (!isAwaited(id))
        return;
    m_ReceiveError = accepted ? 0 : 1;
    publishReply(id);
}

// Ends as soon as the receive path stores the awaited response ID; the time limit is looked at
// first on every wake, as a late reply must not count.
bool CVelkManager::checkReceiveMessage() {
    mstd::CClock& clock = mstd::processClock();
    const uint64_t start = clock.steadyMS();
    std::unique_lock reply(m_ReplyLock);
    for (;;) {
        if (clock.steadyMS() - start >= kReplyTimeoutMS)
            return false;
        if (m_ReceivedID == m_ExpectedID) {
            m_ReceivedID = eVelkResponse_None;
            m_ExpectedID = eVelkResponse_None;
            return true;
        }
        clock.waitUntil(reply, m_ReplyArrived, start + kReplyTimeoutMS,
                        [this] { return m_ReceivedID == m_ExpectedID; });
    }
}
