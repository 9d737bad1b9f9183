#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/ArgumentParser.h"

namespace velk::cli {

// Exit statuses shared by every command.
enum ExitStatus {
    eExit_Done = 0,
    eExit_Usage = 1,
    eExit_FileError = 2,
    eExit_NotFound = 3,     // no MIDI service, no amplifier's ports, or no answer within the timeout
    eExit_DeviceError = 4,  // the amplifier reported an error or stopped answering
};

// One command of velkctl, found by its words ("ir", "show") and run with the arguments after them.
// The dispatcher parses the arguments against options() and handles --help, so a command only
// checks what its own arguments mean.
class Command {
public:
    virtual ~Command() = default;

    virtual std::vector<std::string> words() const = 0;
    // The command's arguments as typed after "velkctl", e.g. "ir show FILE [--json]".
    virtual std::string synopsis() const = 0;
    // String-table keys: one line for the overview, and the full help of --help.
    virtual const char* summaryKey() const = 0;
    virtual const char* helpKey() const = 0;
    // Help shared with other commands, printed after the command's own.
    virtual std::vector<const char*> sharedHelpKeys() const { return {}; }
    virtual std::vector<OptionRule> options() const = 0;

    // May throw UsageError; returns an ExitStatus.
    virtual int run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) const = 0;
};

}  // namespace velk::cli
