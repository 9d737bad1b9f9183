#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "cli/DeviceSession.h"
#include "common/FIRCOE.h"
#include "common/VelkManager.h"

namespace velk::cli {

// An impulse response as a report shows it, with its coefficients only where they are known
// (the amplifier never sends them back).
// The slot of what an amp plays when its amp type is none the amplifier has.
constexpr int kNoSlot = -1;

struct IrEntry {
    int slot = 0;  // the stored slot; for what an amp plays, the slot of its current amp type
    std::string name;
    int16_t gain = 0;
    std::vector<int16_t> coefficients;
};

struct AmpReport {
    int amp = 0;  // 0 Amp I, 1 Amp II
    int ampType = 0;
    EffectData effect{};
    IrEntry playing;
};

// The amplifier's whole state as `velkctl dump` shows it; `velkctl simulate` shows its head the
// same way.
struct DeviceReport {
    int model = 0;  // 1 single-amp head, 2 dual-amp head
    int mainVersion = 0;
    bool fxLoopConnectionAvailable = false;
    FxLoopConnection fxLoopConnection{};
    std::vector<AmpReport> amps;
    std::vector<IrEntry> storedIrs;  // slots 0 to 4, and 5 to 9 on the dual-amp head
};

// What the full read left in the device manager.
DeviceReport readDeviceReport(DeviceSession& session);
IrEntry irEntry(int slot, const FIRCOE& record, bool withCoefficients);

// `velkctl info`: model, firmware, whether the FX loop connection setting is available.
void printInfoText(const DeviceReport& report, std::ostream& out);
void printInfoJson(const DeviceReport& report, std::ostream& out);
// `velkctl dump`: all of it.
void printDeviceReportText(const DeviceReport& report, std::ostream& out);
void printDeviceReportJson(const DeviceReport& report, std::ostream& out);

// The word of a value as velkctl's arguments take it ("green"), or the number when the
// amplifier reports one outside the list.
std::string settingWord(const std::vector<std::string>& words, int value);
// "dual-amp head (Amp I and Amp II)" for model 2, the single-amp head's text otherwise.
std::string modelText(int model);
// "Drive": the text of "AmpType0" to "AmpType4"; the number for another amp type.
std::string ampTypeName(int ampType);
// A record's name up to its terminator.
std::string recordName(const FIRCOE& record);
std::string quoted(const std::string& name);
// "-12.0 dB", and "-12.0" for JSON, of a gain word.
std::string decibelsText(int16_t gain);
std::string jsonDecibels(int16_t gain);

}  // namespace velk::cli
