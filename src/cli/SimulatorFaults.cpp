#include "cli/SimulatorFaults.h"

#include <climits>
#include <map>

#include "cli/ArgumentParser.h"
#include "cli/ArgumentValues.h"

namespace velk::cli {

namespace {

constexpr const char* kBadFault = "Cli_Err_BadFault";
constexpr int kLongestDelayMS = 60000;

// The requests the editor waits on, by the word --fault no-reply takes.
const std::map<std::string, sim::Request>& awaitedRequests() {
    static const std::map<std::string, sim::Request> requests = {
        {"heartbeat", sim::Request::HeartBeat}, {"version", sim::Request::MainVersion},
        {"dump", sim::Request::Dump},           {"flash-write", sim::Request::FlashWrite},
        {"init", sim::Request::InitIrData},     {"packet", sim::Request::CoefficientPacket},
    };
    return requests;
}

int faultNumber(const std::string& value, const std::string& whole, int lowest, int highest) {
    try {
        return parseWholeNumber(value, lowest, highest, kBadFault);
    } catch (const UsageError&) {
        throw UsageError{kBadFault, whole};
    }
}

}  // namespace

SimulatorFault parseSimulatorFault(const std::string& text) {
    const size_t equals = text.find('=');
    const std::string name = text.substr(0, equals);
    const bool hasValue = equals != std::string::npos;
    const std::string value = hasValue ? text.substr(equals + 1) : "";
    if (name == "silent" && !hasValue)
        return [](sim::AmpSimulator& head) { head.setSilent(true); };
    if (name == "reject-packet" && hasValue) {
        const int packet = faultNumber(value, text, 0, sim::AmpFaults::kPackets - 1);
        return [packet](sim::AmpSimulator& head) {
            head.editAmpFaults([packet](sim::AmpFaults& faults) { faults.rejectedPackets.set(packet); });
        };
    }
    if (name == "fail-flash-write") {
        const int count = hasValue ? faultNumber(value, text, 1, INT_MAX) : INT_MAX;
        return [count](sim::AmpSimulator& head) {
            head.editAmpFaults([count](sim::AmpFaults& faults) { faults.failingFlashWrites = count; });
        };
    }
    if (name == "corrupt-dumps" && hasValue) {
        const int count = faultNumber(value, text, 1, INT_MAX);
        return [count](sim::AmpSimulator& head) {
            head.editAmpFaults([count](sim::AmpFaults& faults) { faults.corruptDumps = count; });
        };
    }
    if (name == "no-reply" && awaitedRequests().count(value)) {
        const sim::Request request = awaitedRequests().at(value);
        return [request](sim::AmpSimulator& head) {
            head.editWireFaults([request](sim::WireFaults& faults) { faults.dropReplies(request); });
        };
    }
    if (name == "delay" && hasValue) {
        const auto delay = std::chrono::milliseconds(faultNumber(value, text, 0, kLongestDelayMS));
        return [delay](sim::AmpSimulator& head) {
            head.editWireFaults([delay](sim::WireFaults& faults) { faults.setReplyDelay(delay); });
        };
    }
    throw UsageError{kBadFault, text};
}

}  // namespace velk::cli
