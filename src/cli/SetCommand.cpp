#include "cli/SetCommand.h"

#include "cli/ArgumentValues.h"
#include "cli/Json.h"
#include "cli/Text.h"

namespace velk::cli {

namespace {

constexpr int kHighestNoiseGate = 3;
// A row travels as one data byte of a parameter change.
constexpr int kHighestRow = 0x7F;

bool isConnectionSetting(const std::string& word) {
    return word == "send-connection" || word == "return-connection";
}

SettingChange parseConnectionChange(const ParsedArguments& arguments) {
    const std::string& setting = arguments.positionals[0];
    requirePositionals(arguments, {setting, "ROW"});
    SettingChange change;
    change.request =
        setting == "send-connection" ? eVelkRequest_SendConnection : eVelkRequest_ReturnConnection;
    change.value = parseWholeNumber(arguments.positionals[1], 0, kHighestRow, "Cli_Err_BadRow");
    change.setting = setting;
    change.valueText = arguments.positionals[1];
    return change;
}

SettingChange parseAmpChange(const ParsedArguments& arguments) {
    SettingChange change;
    change.amp = parseAmp(arguments.positionals[0]);
    requirePositionals(arguments, {"AMP", "SETTING", "VALUE"});
    change.setting = arguments.positionals[1];
    change.valueText = arguments.positionals[2];
    const std::string& value = change.valueText;
    if (change.setting == "booster") {
        change.request = eVelkRequest_BoosterType;
        change.value = parseWord(value, boosterWords(), "Cli_Err_BadBooster");
    } else if (change.setting == "reverb") {
        change.request = eVelkRequest_ReverbType;
        change.value = parseWord(value, reverbWords(), "Cli_Err_BadReverb");
    } else if (change.setting == "noise-gate") {
        change.request = eVelkRequest_NoiseGate;
        change.value = parseWholeNumber(value, 0, kHighestNoiseGate, "Cli_Err_BadNoiseGate");
    } else if (change.setting == "fx-loop") {
        change.request = eVelkRequest_FxLoop;
        change.value = parseOnOff(value) ? 1 : 0;
    } else {
        throw UsageError{"Cli_Err_BadSetting", change.setting};
    }
    return change;
}

void printChange(const SettingChange& change, bool json, std::ostream& out) {
    if (json) {
        out << '{' << (change.amp >= 0 ? "\"amp\":" + std::to_string(change.amp + 1) + "," : "")
            << "\"setting\":" << jsonString(change.setting) << ",\"value\":" << jsonString(change.valueText)
            << "}\n";
    } else if (change.amp >= 0) {
        out << text("Cli_Set_AmpDone", ampName(change.amp), change.setting, change.valueText) << '\n';
    } else {
        out << text("Cli_Set_Done", change.setting, change.valueText) << '\n';
    }
}

}  // namespace

SettingChange parseSettingChange(const ParsedArguments& arguments) {
    if (arguments.positionals.empty())
        throw UsageError{"Cli_Err_MissingArgument", "AMP"};
    return isConnectionSetting(arguments.positionals[0]) ? parseConnectionChange(arguments)
                                                         : parseAmpChange(arguments);
}

// The panels post one request per change; the amplifier answers none of them, so the change is
// done once a request behind it has been answered.
DeviceAction SetCommand::plan(const ParsedArguments& arguments, const DeviceOptions& options) const {
    return [change = parseSettingChange(arguments), json = options.json](DeviceSession& session,
                                                                         std::ostream& out) {
        if (change.amp >= 0) {
            session.requireAmp(change.amp);
            session.post(change.request, change.amp, change.value);
        } else {
            session.requireFxLoopConnection();
            session.post(change.request, change.value);
        }
        session.settle();
        printChange(change, json, out);
    };
}

}  // namespace velk::cli
