#include "cli/DeviceReport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli/ArgumentValues.h"
#include "cli/Json.h"
#include "cli/Text.h"

namespace velk::cli {

namespace {

constexpr int kAmpTypes = 5;
// Widths of the stored IR table's columns, in characters.
constexpr size_t kAmpColumn = 6;
constexpr size_t kAmpTypeColumn = 24;
constexpr size_t kGainColumn = 8;

// Text filled with spaces to `width` characters (UTF-8 counted by character), on the right or
// the left.
std::string padded(const std::string& text, size_t width, bool alignRight = false) {
    const auto characters = static_cast<size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    const std::string fill(characters < width ? width - characters : 0, ' ');
    return alignRight ? fill + text : text + fill;
}

AmpReport readAmp(CVelkManager& manager, int amp) {
    AmpReport report;
    report.amp = amp;
    report.ampType = manager.getAmpType(amp);
    manager.getEffectData(amp, report.effect);
    FIRCOE playing{};
    manager.getPlayBuffer(amp, playing);
    // An amp type the amplifier does not have names no slot of this amp.
    const bool knownAmpType = report.ampType >= 0 && report.ampType < kAmpTypes;
    report.playing = irEntry(knownAmpType ? amp * kAmpTypes + report.ampType : kNoSlot, playing, false);
    return report;
}

const char* modelWord(int model) {
    return model == kDualAmpHead ? "dual" : "single";
}

const char* jsonBool(bool value) {
    return value ? "true" : "false";
}

void printAmpText(const AmpReport& amp, std::ostream& out) {
    out << '\n'
        << ampName(amp.amp) << '\n'
        << text("Cli_Dump_AmpType", amp.ampType, ampTypeName(amp.ampType)) << '\n'
        << text("Cli_Dump_Booster", settingWord(boosterWords(), amp.effect.boosterType)) << '\n'
        << text("Cli_Dump_FxLoop", settingWord({"off", "on"}, amp.effect.fxLoop)) << '\n'
        << text("Cli_Dump_Reverb", settingWord(reverbWords(), amp.effect.reverbType)) << '\n'
        << text("Cli_Dump_NoiseGate", amp.effect.noiseGate) << '\n'
        << (amp.playing.slot == kNoSlot
                ? text("Cli_Dump_PlaysUnknownSlot", quoted(amp.playing.name), decibelsText(amp.playing.gain))
                : text("Cli_Dump_Plays", amp.playing.slot, quoted(amp.playing.name),
                       decibelsText(amp.playing.gain)))
        << '\n';
}

void printIrJson(const IrEntry& ir, std::ostream& out) {
    if (ir.slot == kNoSlot)
        out << "{\"slot\":null,\"amp\":null,\"ampType\":null";
    else
        out << "{\"slot\":" << ir.slot << ",\"amp\":" << ir.slot / kAmpTypes + 1
            << ",\"ampType\":" << ir.slot % kAmpTypes;
    out << ",\"name\":" << jsonString(ir.name) << ",\"gain\":" << ir.gain
        << ",\"gainDb\":" << jsonDecibels(ir.gain);
    if (!ir.coefficients.empty()) {
        out << ",\"coefficients\":[";
        for (size_t i = 0; i < ir.coefficients.size(); ++i)
            out << (i ? "," : "") << ir.coefficients[i];
        out << ']';
    }
    out << '}';
}

void printAmpJson(const AmpReport& amp, std::ostream& out) {
    out << "{\"amp\":" << amp.amp + 1 << ",\"ampType\":" << amp.ampType
        << ",\"booster\":" << jsonString(settingWord(boosterWords(), amp.effect.boosterType))
        << ",\"fxLoop\":" << jsonBool(amp.effect.fxLoop != 0)
        << ",\"reverb\":" << jsonString(settingWord(reverbWords(), amp.effect.reverbType))
        << ",\"noiseGate\":" << amp.effect.noiseGate << ",\"playing\":";
    printIrJson(amp.playing, out);
    out << '}';
}

template <typename Item, typename Printer>
void printJsonList(const std::vector<Item>& items, Printer print, std::ostream& out) {
    out << '[';
    for (size_t i = 0; i < items.size(); ++i) {
        out << (i ? "," : "");
        print(items[i], out);
    }
    out << ']';
}

}  // namespace

DeviceReport readDeviceReport(DeviceSession& session) {
    CVelkManager& manager = session.manager();
    DeviceReport report;
    report.model = session.model();
    report.mainVersion = session.mainVersion();
    report.fxLoopConnectionAvailable = manager.isEnableFxLoopConnection();
    manager.getFxLoopConnection(report.fxLoopConnection);
    for (int amp = 0; amp < report.model; ++amp) {
        report.amps.push_back(readAmp(manager, amp));
        for (int slot = amp * kAmpTypes; slot < (amp + 1) * kAmpTypes; ++slot) {
            FIRCOE stored{};
            manager.getFirSlot(slot, stored);
            report.storedIrs.push_back(irEntry(slot, stored, false));
        }
    }
    return report;
}

IrEntry irEntry(int slot, const FIRCOE& record, bool withCoefficients) {
    IrEntry entry{slot, recordName(record), record.gain, {}};
    if (withCoefficients)
        entry.coefficients.assign(std::begin(record.coe), std::end(record.coe));
    return entry;
}

void printInfoText(const DeviceReport& report, std::ostream& out) {
    out << text("Cli_Info_Model", modelText(report.model)) << '\n'
        << text("Cli_Info_MainVersion", report.mainVersion) << '\n'
        << text(report.fxLoopConnectionAvailable ? "Cli_Info_FxLoopConnectionAvailable"
                                                 : "Cli_Info_FxLoopConnectionNotAvailable")
        << '\n';
}

void printInfoJson(const DeviceReport& report, std::ostream& out) {
    out << "{\"model\":\"" << modelWord(report.model) << "\",\"amps\":" << report.model
        << ",\"mainVersion\":" << report.mainVersion
        << ",\"fxLoopConnection\":" << jsonBool(report.fxLoopConnectionAvailable) << "}\n";
}

void printDeviceReportText(const DeviceReport& report, std::ostream& out) {
    printInfoText(report, out);
    for (const AmpReport& amp : report.amps)
        printAmpText(amp, out);
    out << '\n';
    if (report.fxLoopConnectionAvailable) {
        out << text("Cli_Dump_SendConnection", report.fxLoopConnection.sendConnection) << '\n'
            << text("Cli_Dump_ReturnConnection", report.fxLoopConnection.returnConnection) << "\n\n";
    }
    out << text("Cli_Dump_StoredIrs") << '\n';
    for (const IrEntry& ir : report.storedIrs) {
        const int ampType = ir.slot % kAmpTypes;
        out << text("Cli_Dump_StoredIr", ir.slot, padded(ampName(ir.slot / kAmpTypes), kAmpColumn),
                    padded(text("Cli_Dump_StoredIrAmpType", ampType, ampTypeName(ampType)), kAmpTypeColumn),
                    padded(decibelsText(ir.gain), kGainColumn, true), quoted(ir.name))
            << '\n';
    }
}

void printDeviceReportJson(const DeviceReport& report, std::ostream& out) {
    out << "{\"model\":\"" << modelWord(report.model) << "\",\"mainVersion\":" << report.mainVersion
        << ",\"amps\":";
    printJsonList(report.amps, printAmpJson, out);
    out << ",\"fxLoopConnection\":{\"available\":" << jsonBool(report.fxLoopConnectionAvailable)
        << ",\"send\":" << report.fxLoopConnection.sendConnection
        << ",\"return\":" << report.fxLoopConnection.returnConnection << "},\"storedIrs\":";
    printJsonList(report.storedIrs, printIrJson, out);
    out << "}\n";
}

std::string settingWord(const std::vector<std::string>& words, int value) {
    return value >= 0 && static_cast<size_t>(value) < words.size() ? words[static_cast<size_t>(value)]
                                                                   : std::to_string(value);
}

std::string modelText(int model) {
    return text(model == kDualAmpHead ? "Cli_Model_Dual" : "Cli_Model_Single");
}

std::string ampTypeName(int ampType) {
    if (ampType < 0 || ampType >= kAmpTypes)
        return text("Cli_AmpType_Unknown");
    return text(("AmpType" + std::to_string(ampType)).c_str());
}

std::string recordName(const FIRCOE& record) {
    return std::string(record.name, strnlen(record.name, sizeof record.name));
}

std::string quoted(const std::string& name) {
    return '"' + name + '"';
}

std::string decibelsText(int16_t gain) {
    return jsonDecibels(gain) + " dB";
}

std::string jsonDecibels(int16_t gain) {
    char number[16];
    std::snprintf(number, sizeof number, "%.1f", CVelkManager::doubleGain(gain));
    return number;
}

}  // namespace velk::cli
