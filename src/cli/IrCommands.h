#pragma once

#include "cli/DeviceCommand.h"

namespace velk::cli {

// The speaker simulation panel's operations from the command line. Each takes AMP first.

// "velkctl ir preview AMP FILE": the amp plays the file; nothing is stored.
class IrPreviewCommand : public DeviceCommand {
public:
    using DeviceCommand::DeviceCommand;
    std::vector<std::string> words() const override { return {"ir", "preview"}; }
    std::string synopsis() const override { return "ir preview AMP FILE [--gain DB] [--channel left|right]"; }
    const char* summaryKey() const override { return "Cli_IrPreview_Summary"; }
    const char* helpKey() const override { return "Cli_IrPreview_Help"; }

protected:
    std::vector<OptionRule> ownOptions() const override { return {{"--gain", true}, {"--channel", true}}; }
    DeviceAction plan(const ParsedArguments& arguments, const DeviceOptions& options) const override;
};

// "velkctl ir install AMP FILE": preview, then the flash write into the stored slot of the amp's
// current amp type.
class IrInstallCommand : public DeviceCommand {
public:
    using DeviceCommand::DeviceCommand;
    std::vector<std::string> words() const override { return {"ir", "install"}; }
    std::string synopsis() const override {
        return "ir install AMP FILE [--gain DB] [--name NAME] [--channel left|right]";
    }
    const char* summaryKey() const override { return "Cli_IrInstall_Summary"; }
    const char* helpKey() const override { return "Cli_IrInstall_Help"; }

protected:
    std::vector<OptionRule> ownOptions() const override {
        return {{"--gain", true}, {"--name", true}, {"--channel", true}};
    }
    DeviceAction plan(const ParsedArguments& arguments, const DeviceOptions& options) const override;
};

// "velkctl ir bypass AMP on|off"
class IrBypassCommand : public DeviceCommand {
public:
    using DeviceCommand::DeviceCommand;
    std::vector<std::string> words() const override { return {"ir", "bypass"}; }
    std::string synopsis() const override { return "ir bypass AMP on|off"; }
    const char* summaryKey() const override { return "Cli_IrBypass_Summary"; }
    const char* helpKey() const override { return "Cli_IrBypass_Help"; }

protected:
    DeviceAction plan(const ParsedArguments& arguments, const DeviceOptions& options) const override;
};

// "velkctl ir gain AMP DB": the gain of what the amp plays.
class IrGainCommand : public DeviceCommand {
public:
    using DeviceCommand::DeviceCommand;
    std::vector<std::string> words() const override { return {"ir", "gain"}; }
    std::string synopsis() const override { return "ir gain AMP DB"; }
    const char* summaryKey() const override { return "Cli_IrGain_Summary"; }
    const char* helpKey() const override { return "Cli_IrGain_Help"; }

protected:
    DeviceAction plan(const ParsedArguments& arguments, const DeviceOptions& options) const override;
};

// "velkctl ir rename AMP NAME": renames the stored impulse response of the amp's current amp type.
class IrRenameCommand : public DeviceCommand {
public:
    using DeviceCommand::DeviceCommand;
    std::vector<std::string> words() const override { return {"ir", "rename"}; }
    std::string synopsis() const override { return "ir rename AMP NAME"; }
    const char* summaryKey() const override { return "Cli_IrRename_Summary"; }
    const char* helpKey() const override { return "Cli_IrRename_Help"; }

protected:
    DeviceAction plan(const ParsedArguments& arguments, const DeviceOptions& options) const override;
};

// "velkctl ir reset --yes": every stored impulse response back to the factory's.
class IrResetCommand : public DeviceCommand {
public:
    using DeviceCommand::DeviceCommand;
    std::vector<std::string> words() const override { return {"ir", "reset"}; }
    std::string synopsis() const override { return "ir reset --yes"; }
    const char* summaryKey() const override { return "Cli_IrReset_Summary"; }
    const char* helpKey() const override { return "Cli_IrReset_Help"; }

protected:
    std::vector<OptionRule> ownOptions() const override { return {{"--yes", false}}; }
    DeviceAction plan(const ParsedArguments& arguments, const DeviceOptions& options) const override;
};

}  // namespace velk::cli
