#pragma once

#include <ostream>
#include <string>

namespace velk::cli {

// Why a command could not do its work: its exit status, the core's error code where the core
// reported one (0 otherwise), the string-table key of the message, and the message itself with
// what to do next.
struct CommandFailure {
    int exitStatus = 0;
    int errorCode = 0;
    std::string key;
    std::string message;
};

// A failure of the core (a file or amplifier error code): "error CODE (KEY): TEXT" and the advice
// for that code.
CommandFailure coreFailure(int exitStatus, int errorCode);
// A failure velkctl found itself: the text of `key` with its arguments already filled in.
CommandFailure ownFailure(int exitStatus, const char* key, std::string message);

// The failure on stderr and, for --json, {"error":CODE or null,"key":"KEY"} on stdout.
void printFailure(const CommandFailure& failure, bool json, std::ostream& out, std::ostream& err);

}  // namespace velk::cli
