#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Environment.h"

namespace velk::cli {

// Finds the command named by the leading arguments and runs it: "velkctl WORDS... ARGUMENTS".
// "--help" (or "-h") alone prints the overview of every command; after a command's words, its help.
class CommandDispatcher {
public:
    void add(std::unique_ptr<Command> command);

    int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) const;

    // The overview: usage line, every command's synopsis and summary.
    void printOverview(std::ostream& out) const;

private:
    // The command whose words start `arguments` (the longest such), or null.
    const Command* find(const std::vector<std::string>& arguments) const;
    // What the user typed as a command: the first word, or two when the first begins a group ("ir x").
    std::string unknownCommandName(const std::vector<std::string>& arguments) const;
    int runCommand(const Command& command, const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err) const;

    std::vector<std::unique_ptr<Command>> m_Commands;
};

// The dispatcher with every command of velkctl, working in `environment`.
CommandDispatcher makeVelkctl(const Environment& environment = platformEnvironment());

}  // namespace velk::cli
