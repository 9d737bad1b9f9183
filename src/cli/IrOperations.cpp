#include "cli/IrOperations.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "cli/ArgumentParser.h"
#include "cli/ArgumentValues.h"
#include "cli/Command.h"
#include "cli/CommandFailure.h"
#include "cli/IrShowCommand.h"
#include "cli/Progress.h"
#include "cli/Text.h"
#include "common/ErrorCodes.h"
#include "common/FIRFile.h"
#include "common/GenericException.h"
#include "common/StringUtil.h"

namespace velk::cli {

namespace {

constexpr int kPacketsPerRecord = 10;
// How long an acknowledgement announced after the end of its stream may take.
constexpr auto kLateAcknowledgementLimit = std::chrono::milliseconds(1000);
constexpr size_t kLongestName = FIRCOE::kNameSize - 1;
// The panel pauses between leaving the preview and sending the new name.
constexpr auto kRenamePause = std::chrono::milliseconds(200);

bool isAmpTypeChange(const DeviceEvent& event, int amp) {
    return event.id == eVelkEvent_AmpTypeChanged && event.data == amp;
}

// The amplifier reloads the amp's play buffer from the new amp type's slot: what it plays is no
// longer what was sent, and must not be stored.
[[noreturn]] void failAmpTypeChanged(int amp) {
    throw ownFailure(eExit_DeviceError, "Cli_Err_AmpTypeChanged",
                     text("Cli_Err_AmpTypeChanged", ampName(amp)));
}

// Waits for the end of a coefficient stream to `amp` and for the acknowledgement of each of its
// packets: the last one may be announced just after the stream's end, and a refusal there counts
// as much as anywhere.
void awaitStream(DeviceSession& session, int amp, EVelkEventID streamSent) {
    Progress progress(session.err(), session.showsProgress());
    int packets = 0;
    int rejected = 0;
    bool ampTypeChanged = false;
    const auto countPacket = [&](const DeviceEvent& event) {
        ampTypeChanged = ampTypeChanged || isAmpTypeChange(event, amp);
        const bool accepted = event.id == eVelkEvent_FIRPacketAccepted;
        const bool refused = event.id == eVelkEvent_FIRPacketRejected;
        if ((!accepted && !refused) || event.data != amp)
            return;
        ++packets;
        rejected += refused;
        progress.show(text("Cli_Progress_Packets", ampName(amp), packets, kPacketsPerRecord));
    };
    progress.show(text("Cli_Progress_Packets", ampName(amp), packets, kPacketsPerRecord));
    session.awaitOneOf({streamSent}, amp, countPacket);
    ampTypeChanged = false;
    while (packets < kPacketsPerRecord) {
        const std::optional<DeviceEvent> acknowledgement = session.awaitWithin(
            kLateAcknowledgementLimit, {eVelkEvent_FIRPacketAccepted, eVelkEvent_FIRPacketRejected}, amp);
        if (!acknowledgement)
            break;
        countPacket(*acknowledgement);
    }
    if (ampTypeChanged)
        failAmpTypeChanged(amp);
    // An acknowledgement that announced neither acceptance nor refusal is no acceptance either.
    if (rejected > 0 || packets < kPacketsPerRecord)
        throw coreFailure(eExit_DeviceError, mstd::eErr_ReceiveData);
}

// The write goes out only while the amp still has `ampType`; the manager refuses it otherwise,
// which the amp type in the mirror tells apart from a failed write.
void awaitFlashWrite(DeviceSession& session, int amp, int ampType) {
    Progress progress(session.err(), session.showsProgress());
    progress.show(text("Cli_Progress_FlashWrite", ampName(amp)));
    bool ampTypeChanged = false;
    const DeviceEvent answer = session.awaitOneOf(
        {eVelkEvent_FIRWriteDone, eVelkEvent_FIRWriteFailed}, amp,
        [&](const DeviceEvent& event) { ampTypeChanged = ampTypeChanged || isAmpTypeChange(event, amp); });
    if (ampTypeChanged || session.manager().getAmpType(amp) != ampType)
        failAmpTypeChanged(amp);
    if (answer.id == eVelkEvent_FIRWriteFailed)
        throw coreFailure(eExit_DeviceError, mstd::eErr_FIRDataWrite);
}

}  // namespace

FIRCOE loadRecord(const std::string& path, int channel, int16_t gain,
                  const std::optional<std::string>& name) {
    IrReport report;
    try {
        report = loadImpulseResponse(path, channel);
    } catch (const mstd::CGenericException& e) {
        throw coreFailure(eExit_FileError, e.getErrorCode());
    }
    FIRCOE record{};
    CFIRFile::makeFirName(record.name, name.value_or(report.name).c_str());
    record.gain = gain;
    std::copy(report.coefficients.begin(), report.coefficients.end(), record.coe);
    return record;
}

std::string irNameOf(const std::string& typed) {
    char name[FIRCOE::kNameSize] = {};
    mstd::adjustUTF8String(name, static_cast<int32_t>(kLongestName), typed.data(),
                           static_cast<int32_t>(typed.size()));
    if (name[0] == '\0')
        throw UsageError{"Cli_Err_EmptyName", ""};
    return name;
}

void previewRecord(DeviceSession& session, int amp, const FIRCOE& record) {
    session.manager().setSpeakerTabFIRCOE(record);
    session.post(eVelkRequest_FIRCOE, amp);
    awaitStream(session, amp, eVelkEvent_FIRCOESent);
}

void bypassSpeakerSimulation(DeviceSession& session, int amp) {
    session.post(eVelkRequest_Bypass, amp);
    awaitStream(session, amp, eVelkEvent_BypassSent);
}

void installPlayBuffer(DeviceSession& session, int amp, int ampType) {
    session.post(eVelkRequest_FIRDataWriteOfAmpType, amp, ampType);
    awaitFlashWrite(session, amp, ampType);
}

void renameStoredIr(DeviceSession& session, int amp, const std::string& name) {
    const int ampType = session.manager().getAmpType(amp);
    session.post(eVelkRequest_ChangeFIR, amp);
    std::this_thread::sleep_for(kRenamePause);
    char staged[FIRCOE::kNameSize] = {};
    std::memcpy(staged, name.data(), std::min(name.size(), kLongestName));
    session.manager().setSpeakerTabIrName(staged);
    session.post(eVelkRequest_FIRName, amp);
    installPlayBuffer(session, amp, ampType);
}

}  // namespace velk::cli
