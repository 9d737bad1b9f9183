#include "cli/IrCommands.h"

#include "cli/ArgumentValues.h"
#include "cli/DeviceReport.h"
#include "cli/IrOperations.h"
#include "cli/Json.h"
#include "cli/Progress.h"
#include "cli/Text.h"

namespace velk::cli {

namespace {

constexpr int kAmpTypes = 5;
// The gain knob's start position.
constexpr const char* kDefaultGain = "-12";

int parseLeadingAmp(const ParsedArguments& arguments) {
    if (arguments.positionals.empty())
        throw UsageError{"Cli_Err_MissingArgument", "AMP"};
    return parseAmp(arguments.positionals[0]);
}

int16_t parseGainOption(const ParsedArguments& arguments) {
    return parseGainWord(arguments.has("--gain") ? arguments.value("--gain") : kDefaultGain);
}

// AMP FILE and the record the file gives; every argument is checked before the file is read.
struct IrFile {
    int amp = 0;
    FIRCOE record{};
};

IrFile loadIrFile(const ParsedArguments& arguments, const std::optional<std::string>& name) {
    IrFile file;
    file.amp = parseLeadingAmp(arguments);
    requirePositionals(arguments, {"AMP", "FILE"});
    const int16_t gain = parseGainOption(arguments);
    const int channel = arguments.has("--channel") ? parseChannel(arguments.value("--channel")) : 0;
    file.record = loadRecord(arguments.positionals[1], channel, gain, name);
    return file;
}

// The amp's current amp type and the stored slot it owns.
struct StoredSlot {
    int ampType = 0;
    int slot = 0;
};

StoredSlot currentSlot(DeviceSession& session, int amp) {
    const int ampType = session.manager().getAmpType(amp);
    return {ampType, amp * kAmpTypes + ampType};
}

void printPreview(int amp, const FIRCOE& record, bool json, std::ostream& out) {
    if (json) {
        out << "{\"amp\":" << amp + 1 << ",\"name\":" << jsonString(recordName(record))
            << ",\"gainDb\":" << jsonDecibels(record.gain) << ",\"stored\":false}\n";
    } else {
        out << text("Cli_IrPreview_Done", ampName(amp), quoted(recordName(record)), decibelsText(record.gain))
            << '\n';
    }
}

// What the mirror now holds for the slot: the play buffer the confirmed write copied into it.
void printStored(DeviceSession& session, int amp, const char* doneKey, bool json, std::ostream& out) {
    const StoredSlot stored = currentSlot(session, amp);
    FIRCOE record{};
    session.manager().getFirSlot(stored.slot, record);
    if (json) {
        out << "{\"amp\":" << amp + 1 << ",\"ampType\":" << stored.ampType << ",\"slot\":" << stored.slot
            << ",\"name\":" << jsonString(recordName(record)) << ",\"gainDb\":" << jsonDecibels(record.gain)
            << ",\"stored\":true}\n";
    } else {
        out << text(doneKey, ampName(amp), stored.ampType, ampTypeName(stored.ampType), stored.slot,
                    quoted(recordName(record)), decibelsText(record.gain))
            << '\n';
    }
}

void printAmpFlag(int amp, const char* field, bool value, const std::string& line, bool json,
                  std::ostream& out) {
    if (json)
        out << "{\"amp\":" << amp + 1 << ",\"" << field << "\":" << (value ? "true" : "false") << "}\n";
    else
        out << line << '\n';
}

}  // namespace

DeviceAction IrPreviewCommand::plan(const ParsedArguments& arguments, const DeviceOptions& options) const {
    return [file = loadIrFile(arguments, std::nullopt), json = options.json](DeviceSession& session,
                                                                             std::ostream& out) {
        session.requireAmp(file.amp);
        previewRecord(session, file.amp, file.record);
        printPreview(file.amp, file.record, json, out);
    };
}

// The name goes into the record itself, so the amplifier plays and stores it under that name
// without a second write.
DeviceAction IrInstallCommand::plan(const ParsedArguments& arguments, const DeviceOptions& options) const {
    parseLeadingAmp(arguments);
    const std::optional<std::string> name =
        arguments.has("--name") ? std::optional(irNameOf(arguments.value("--name"))) : std::nullopt;
    return
        [file = loadIrFile(arguments, name), json = options.json](DeviceSession& session, std::ostream& out) {
            session.requireAmp(file.amp);
            const int ampType = session.manager().getAmpType(file.amp);
            previewRecord(session, file.amp, file.record);
            installPlayBuffer(session, file.amp, ampType);
            printStored(session, file.amp, "Cli_IrInstall_Done", json, out);
        };
}

// Off with no file chosen is the panel's "play the stored impulse response again".
DeviceAction IrBypassCommand::plan(const ParsedArguments& arguments, const DeviceOptions& options) const {
    const int amp = parseLeadingAmp(arguments);
    requirePositionals(arguments, {"AMP", "on|off"});
    const bool on = parseOnOff(arguments.positionals[1]);
    return [amp, on, json = options.json](DeviceSession& session, std::ostream& out) {
        session.requireAmp(amp);
        if (on) {
            bypassSpeakerSimulation(session, amp);
        } else {
            session.post(eVelkRequest_ChangeFIR, amp);
            session.settle();
        }
        printAmpFlag(amp, "bypass", on, text(on ? "Cli_IrBypass_On" : "Cli_IrBypass_Off", ampName(amp)), json,
                     out);
    };
}

DeviceAction IrGainCommand::plan(const ParsedArguments& arguments, const DeviceOptions& options) const {
    const int amp = parseLeadingAmp(arguments);
    requirePositionals(arguments, {"AMP", "DB"});
    const int16_t gain = parseGainWord(arguments.positionals[1]);
    return [amp, gain, json = options.json](DeviceSession& session, std::ostream& out) {
        session.requireAmp(amp);
        session.post(eVelkRequest_FIRGain, amp, gain);
        session.settle();
        if (json)
            out << "{\"amp\":" << amp + 1 << ",\"gainDb\":" << jsonDecibels(gain) << "}\n";
        else
            out << text("Cli_IrGain_Done", ampName(amp), decibelsText(gain)) << '\n';
    };
}

// As in the panel, a name equal to the one shown sends nothing.
DeviceAction IrRenameCommand::plan(const ParsedArguments& arguments, const DeviceOptions& options) const {
    const int amp = parseLeadingAmp(arguments);
    requirePositionals(arguments, {"AMP", "NAME"});
    return [amp, name = irNameOf(arguments.positionals[1]), json = options.json](DeviceSession& session,
                                                                                 std::ostream& out) {
        session.requireAmp(amp);
        FIRCOE playing{};
        session.manager().getPlayBuffer(amp, playing);
        if (recordName(playing) == name) {
            printStored(session, amp, "Cli_IrRename_Unchanged", json, out);
            return;
        }
        renameStoredIr(session, amp, name);
        printStored(session, amp, "Cli_IrRename_Done", json, out);
    };
}

// The settings window's reset: initialise, then read the whole state again.
DeviceAction IrResetCommand::plan(const ParsedArguments& arguments, const DeviceOptions& options) const {
    requirePositionals(arguments, {});
    if (!arguments.has("--yes"))
        throw UsageError{"Cli_Err_ResetNeedsYes", ""};
    return [json = options.json](DeviceSession& session, std::ostream& out) {
        {
            Progress progress(session.err(), session.showsProgress());
            progress.show(text("Cli_Progress_Reset"));
            session.post(eVelkRequest_InitFIRData);
            session.awaitOneOf({eVelkEvent_FIRDataInitialized});
            session.post(eVelkRequest_AllBulkDump);
            session.awaitOneOf({eVelkEvent_AllDataReceived});
        }
        if (json)
            out << "{\"reset\":true}\n";
        else
            out << text("Cli_IrReset_Done") << '\n';
    };
}

}  // namespace velk::cli
