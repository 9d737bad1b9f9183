#include "cli/CommandFailure.h"

#include "cli/Text.h"
#include "common/ErrorCodes.h"

namespace velk::cli {

namespace {

// What the user can do about each error code.
const char* adviceKey(int errorCode) {
    switch (errorCode) {
        case mstd::eErr_MIDISend:
            return "Cli_Advice_MIDISend";
        case mstd::eErr_ReceiveData:
            return "Cli_Advice_ReceiveData";
        case mstd::eErr_FIRDataWrite:
            return "Cli_Advice_FIRDataWrite";
        case mstd::eErr_Timeout:
            return "Cli_Advice_Timeout";
        case mstd::eErr_FIRFileOpen:
        case mstd::eErr_FIRFileChannel:
        case mstd::eErr_FIRFileSampleRate:
        case mstd::eErr_FIRFileSampleSize:
        case mstd::eErr_FIRFileRead:
            return "Cli_Advice_FIRFile";
        default:
            return "Cli_Advice_Unknown";
    }
}

}  // namespace

CommandFailure coreFailure(int exitStatus, int errorCode) {
    const char* key = mstd::errorMessageKey(errorCode);
    return {exitStatus, errorCode, key,
            "error " + std::to_string(errorCode) + " (" + key + "): " + text(key) + '\n' +
                text(adviceKey(errorCode))};
}

CommandFailure ownFailure(int exitStatus, const char* key, std::string message) {
    return {exitStatus, 0, key, "velkctl: " + message};
}

void printFailure(const CommandFailure& failure, bool json, std::ostream& out, std::ostream& err) {
    err << failure.message << '\n';
    if (json) {
        out << "{\"error\":" << (failure.errorCode ? std::to_string(failure.errorCode) : "null")
            << ",\"key\":\"" << failure.key << "\"}\n";
    }
}

}  // namespace velk::cli
