#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/DeviceOptions.h"
#include "cli/DeviceSession.h"
#include "cli/Environment.h"

namespace velk::cli {

// What a device command does once the amplifier is connected; it prints its result on `out`.
using DeviceAction = std::function<void(DeviceSession& session, std::ostream& out)>;

// A command that works on the amplifier. Its arguments are checked (and its files read) before
// anything is opened, so a mistake costs no search for the amplifier; then it connects the way the
// main window does and runs its action.
class DeviceCommand : public Command {
public:
    explicit DeviceCommand(Environment environment) : m_Environment(std::move(environment)) {}

    // The command's own options and the device options.
    std::vector<OptionRule> options() const final;
    std::vector<const char*> sharedHelpKeys() const override { return {"Cli_DeviceOptions_Help"}; }
    int run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) const final;

protected:
    virtual std::vector<OptionRule> ownOptions() const { return {}; }
    // Throws UsageError for wrong arguments and CommandFailure for unusable files.
    virtual DeviceAction plan(const ParsedArguments& arguments, const DeviceOptions& options) const = 0;

private:
    void perform(const DeviceAction& action, const DeviceOptions& options, std::ostream& out,
                 std::ostream& err) const;

    const Environment m_Environment;
};

}  // namespace velk::cli
