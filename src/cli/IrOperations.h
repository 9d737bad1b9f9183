#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/DeviceSession.h"
#include "common/FIRCOE.h"

namespace velk::cli {

// The speaker simulation panel's work with impulse responses, for the ir commands.

// A file turned into a record as the panel does it: the first 2048 frames of `channel` (of a
// stereo file), named after the file or `name`, with the gain word. Throws CommandFailure
// (exit 2) for a file the amplifier cannot use.
FIRCOE loadRecord(const std::string& path, int channel, int16_t gain, const std::optional<std::string>& name);

// A typed IR name as the panel's name field keeps it: "?" for each non-ASCII character, at most
// 63 bytes. Throws UsageError when nothing is left.
std::string irNameOf(const std::string& typed);

// Streams `record` into the amp's play buffer: ten acknowledged packets, shown as progress.
// Exit 4 with 1002 when the amplifier refused a packet, since it then plays something else.
void previewRecord(DeviceSession& session, int amp, const FIRCOE& record);
// Streams the bypass record (a unit impulse at 0 dB) the same way.
void bypassSpeakerSimulation(DeviceSession& session, int amp);
// Writes what the amp plays into the stored slot of `ampType`, the amp type it had when the caller
// began. Exit 4 with 1003 when the amplifier reports that the write failed, and exit 4 without
// writing when the amp has changed its amp type since.
void installPlayBuffer(DeviceSession& session, int amp, int ampType);
// The panel's rename: back to the stored impulse response, then its new name, then the write.
void renameStoredIr(DeviceSession& session, int amp, const std::string& name);

}  // namespace velk::cli
