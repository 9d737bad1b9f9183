#include "cli/DeviceCommand.h"

#include "cli/CommandFailure.h"

namespace velk::cli {

std::vector<OptionRule> DeviceCommand::options() const {
    std::vector<OptionRule> rules = ownOptions();
    const std::vector<OptionRule> device = deviceOptionRules();
    rules.insert(rules.end(), device.begin(), device.end());
    return rules;
}

int DeviceCommand::run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) const {
    const DeviceOptions options = parseDeviceOptions(arguments);
    try {
        const DeviceAction action = plan(arguments, options);
        perform(action, options, out, err);
        return eExit_Done;
    } catch (const CommandFailure& failure) {
        printFailure(failure, options.json, out, err);
        return failure.exitStatus;
    }
}

// The session ends (and the manager with it) before a failure is printed, so nothing of the
// manager's threads writes to the streams any more.
void DeviceCommand::perform(const DeviceAction& action, const DeviceOptions& options, std::ostream& out,
                            std::ostream& err) const {
    DeviceSession session(options, m_Environment, err);
    session.connect();
    action(session, out);
}

}  // namespace velk::cli
