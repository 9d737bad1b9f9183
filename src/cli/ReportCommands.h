#pragma once

#include "cli/DeviceCommand.h"

namespace velk::cli {

// "velkctl info": the model, its firmware main version, whether the FX loop connection setting
// is available.
class InfoCommand : public DeviceCommand {
public:
    using DeviceCommand::DeviceCommand;
    std::vector<std::string> words() const override { return {"info"}; }
    std::string synopsis() const override { return "info [--json]"; }
    const char* summaryKey() const override { return "Cli_Info_Summary"; }
    const char* helpKey() const override { return "Cli_Info_Help"; }

protected:
    DeviceAction plan(const ParsedArguments& arguments, const DeviceOptions& options) const override;
};

// "velkctl dump": everything the full read found.
class DumpCommand : public DeviceCommand {
public:
    using DeviceCommand::DeviceCommand;
    std::vector<std::string> words() const override { return {"dump"}; }
    std::string synopsis() const override { return "dump [--json]"; }
    const char* summaryKey() const override { return "Cli_Dump_Summary"; }
    const char* helpKey() const override { return "Cli_Dump_Help"; }

protected:
    DeviceAction plan(const ParsedArguments& arguments, const DeviceOptions& options) const override;
};

}  // namespace velk::cli
