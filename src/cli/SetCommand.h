#pragma once

#include "cli/DeviceCommand.h"

namespace velk::cli {

// One change of the effect settings panel or the settings window, as typed after "set".
struct SettingChange {
    eVelkRequestEvent request = eVelkRequest_BoosterType;
    int amp = -1;  // -1 for the settings of the whole amplifier (the FX loop connections)
    int value = 0;
    std::string setting;    // as typed: "booster", "send-connection"...
    std::string valueText;  // as typed
};

// Throws UsageError for an unknown setting or a value outside its list or range.
SettingChange parseSettingChange(const ParsedArguments& arguments);

// "velkctl set AMP booster|reverb|noise-gate|fx-loop VALUE" and
// "velkctl set send-connection|return-connection ROW".
class SetCommand : public DeviceCommand {
public:
    using DeviceCommand::DeviceCommand;
    std::vector<std::string> words() const override { return {"set"}; }
    std::string synopsis() const override {
        return "set AMP booster|reverb|noise-gate|fx-loop VALUE | set send-connection|return-connection ROW";
    }
    const char* summaryKey() const override { return "Cli_Set_Summary"; }
    const char* helpKey() const override { return "Cli_Set_Help"; }

protected:
    DeviceAction plan(const ParsedArguments& arguments, const DeviceOptions& options) const override;
};

}  // namespace velk::cli
