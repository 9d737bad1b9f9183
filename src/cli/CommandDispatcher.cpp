#include "CommandDispatcher.h"

#include <algorithm>

#include "cli/DeviceOptions.h"
#include "cli/IrCommands.h"
#include "cli/IrConvertCommand.h"
#include "cli/IrShowCommand.h"
#include "cli/ListCommand.h"
#include "cli/ReportCommands.h"
#include "cli/SetCommand.h"
#include "cli/SimulateCommand.h"
#include "cli/Text.h"

namespace velk::cli {

namespace {

bool isHelp(const std::string& argument) {
    return argument == "--help" || argument == "-h";
}

bool isVersion(const std::string& argument) {
    return argument == "--version";
}

// What may come before the command: the device options, help and the version.
std::vector<OptionRule> globalOptionRules() {
    std::vector<OptionRule> rules = deviceOptionRules();
    rules.insert(rules.end(), {{"--help", false}, {"-h", false}, {"--version", false}});
    return rules;
}

std::string joined(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& word : words)
        out += (out.empty() ? "" : " ") + word;
    return out;
}

}  // namespace

void CommandDispatcher::add(std::unique_ptr<Command> command) {
    m_Commands.push_back(std::move(command));
}

int CommandDispatcher::run(const std::vector<std::string>& arguments, std::ostream& out,
                           std::ostream& err) const {
    size_t leading = 0;
    try {
        leading = countLeadingOptions(arguments, globalOptionRules());
    } catch (const UsageError& error) {
        printUsageError(err, usageMessage(error), "");
        return eExit_Usage;
    }
    const std::vector<std::string> globals(arguments.begin(),
                                           arguments.begin() + static_cast<ptrdiff_t>(leading));
    const std::vector<std::string> line(arguments.begin() + static_cast<ptrdiff_t>(leading), arguments.end());
    if (line.empty() && std::any_of(globals.begin(), globals.end(), isVersion)) {
        out << "velkctl " << VELK_VERSION << '\n';
        return eExit_Done;
    }
    if (line.empty()) {
        const bool help = std::any_of(globals.begin(), globals.end(), isHelp);
        printOverview(help ? out : err);
        return help ? eExit_Done : eExit_Usage;
    }
    const Command* command = find(line);
    if (!command) {
        printUsageError(err, text("Cli_Err_UnknownCommand", unknownCommandName(line)), "");
        return eExit_Usage;
    }
    // Before the command's own arguments, so that a "--" among them does not swallow them.
    std::vector<std::string> rest = globals;
    rest.insert(rest.end(), line.begin() + static_cast<ptrdiff_t>(command->words().size()), line.end());
    return runCommand(*command, rest, out, err);
}

void CommandDispatcher::printOverview(std::ostream& out) const {
    out << text("Cli_Usage") << "\n\n" << text("Cli_Commands") << '\n';
    for (const auto& command : m_Commands)
        out << "  velkctl " << command->synopsis() << "\n      " << text(command->summaryKey()) << '\n';
    out << '\n' << text("Cli_SeeHelp", std::string("velkctl COMMAND --help")) << '\n';
}

std::string CommandDispatcher::unknownCommandName(const std::vector<std::string>& arguments) const {
    const bool startsAGroup = std::any_of(m_Commands.begin(), m_Commands.end(), [&](const auto& command) {
        return command->words().front() == arguments[0];
    });
    return startsAGroup && arguments.size() > 1 ? arguments[0] + " " + arguments[1] : arguments[0];
}

const Command* CommandDispatcher::find(const std::vector<std::string>& arguments) const {
    const Command* best = nullptr;
    for (const auto& command : m_Commands) {
        const std::vector<std::string> words = command->words();
        const bool matches =
            words.size() <= arguments.size() && std::equal(words.begin(), words.end(), arguments.begin());
        if (matches && (!best || words.size() > best->words().size()))
            best = command.get();
    }
    return best;
}

int CommandDispatcher::runCommand(const Command& command, const std::vector<std::string>& arguments,
                                  std::ostream& out, std::ostream& err) const {
    if (std::any_of(arguments.begin(), arguments.end(), isHelp)) {
        out << "velkctl " << command.synopsis() << "\n\n" << text(command.helpKey()) << '\n';
        for (const char* key : command.sharedHelpKeys())
            out << '\n' << text(key) << '\n';
        return eExit_Done;
    }
    try {
        return command.run(parseArguments(arguments, command.options()), out, err);
    } catch (const UsageError& error) {
        printUsageError(err, usageMessage(error), joined(command.words()));
        return eExit_Usage;
    }
}

CommandDispatcher makeVelkctl(const Environment& environment) {
    CommandDispatcher dispatcher;
    dispatcher.add(std::make_unique<ListCommand>());
    dispatcher.add(std::make_unique<InfoCommand>(environment));
    dispatcher.add(std::make_unique<DumpCommand>(environment));
    dispatcher.add(std::make_unique<SetCommand>(environment));
    dispatcher.add(std::make_unique<IrShowCommand>());
    dispatcher.add(std::make_unique<IrConvertCommand>());
    dispatcher.add(std::make_unique<IrPreviewCommand>(environment));
    dispatcher.add(std::make_unique<IrInstallCommand>(environment));
    dispatcher.add(std::make_unique<IrBypassCommand>(environment));
    dispatcher.add(std::make_unique<IrGainCommand>(environment));
    dispatcher.add(std::make_unique<IrRenameCommand>(environment));
    dispatcher.add(std::make_unique<IrResetCommand>(environment));
    dispatcher.add(std::make_unique<SimulateCommand>(environment));
    return dispatcher;
}

}  // namespace velk::cli
