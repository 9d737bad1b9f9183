#include "cli/SimulateCommand.h"

#include "cli/ArgumentValues.h"
#include "cli/CommandFailure.h"
#include "cli/DeviceOptions.h"
#include "cli/DeviceSession.h"
#include "cli/SimulatorFaults.h"
#include "cli/Text.h"
#include "sim/AmpSimulator.h"
#include "sim/TracingDevicePorts.h"

namespace velk::cli {

namespace {

constexpr int kHighestVersion = 0x3FFF;  // 14 bits on the wire
constexpr uint16_t kDefaultVersion = 110;

// Everything `simulate` was asked, checked before anything appears.
struct SimulationPlan {
    sim::HeadModel model = sim::HeadModel::Dual;
    midi::ServiceChoice service = midi::ServiceChoice::Auto;
    uint16_t mainVersion = kDefaultVersion;
    std::vector<SimulatorFault> faults;
    bool trace = false;
    bool json = false;
};

SimulationPlan parsePlan(const ParsedArguments& arguments) {
    requirePositionals(arguments, {});
    SimulationPlan plan;
    if (arguments.has("--model"))
        plan.model = parseWord(arguments.value("--model"), {"single", "dual"}, "Cli_Err_BadModel") == 0
                         ? sim::HeadModel::Single
                         : sim::HeadModel::Dual;
    plan.service = parseServiceOption(arguments);
    if (arguments.has("--firmware")) {
        plan.mainVersion = static_cast<uint16_t>(
            parseWholeNumber(arguments.value("--firmware"), 0, kHighestVersion, "Cli_Err_BadFirmware"));
    }
    for (const std::string& fault : arguments.values("--fault"))
        plan.faults.push_back(parseSimulatorFault(fault));
    plan.trace = arguments.has("--trace");
    plan.json = arguments.has("--json");
    return plan;
}

AmpReport ampReport(const sim::AmpState& state, int amp) {
    const uint8_t* block = state.effectBlock.data() + amp * sim::AmpState::kAmpBlockStride;
    AmpReport report;
    report.amp = amp;
    report.ampType = block[0];
    report.effect = {block[0], block[1], block[2], block[3], block[4]};
    report.playing = irEntry(state.currentSlot(amp), state.playBuffers[amp], true);
    return report;
}

}  // namespace

DeviceReport headReport(const sim::AmpState& state) {
    DeviceReport report;
    report.model = sim::ampCount(state.model);
    report.mainVersion = state.mainVersion;
    report.fxLoopConnectionAvailable = CVelkManager::fxLoopConnectionExists(report.model, report.mainVersion);
    report.fxLoopConnection = {state.effectBlock[5], state.effectBlock[6]};
    for (int amp = 0; amp < report.model; ++amp) {
        report.amps.push_back(ampReport(state, amp));
        for (int ampType = 0; ampType < sim::AmpState::kAmpTypes; ++ampType) {
            const int slot = sim::AmpState::slotOf(amp, ampType);
            report.storedIrs.push_back(irEntry(slot, state.firSlots[slot], true));
        }
    }
    return report;
}

std::vector<OptionRule> SimulateCommand::options() const {
    return {{"--model", true},    {"--midi", true},   {"--fault", true},
            {"--firmware", true}, {"--trace", false}, {"--json", false}};
}

// Signals are prepared for before the head starts its threads, so that only the wait takes them.
int SimulateCommand::run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) const {
    const SimulationPlan plan = parsePlan(arguments);
    const std::unique_ptr<StopRequest> stop = m_Environment.makeStopRequest();
    stop->prepare();
    std::unique_ptr<sim::DevicePorts> ports = m_Environment.makeDevicePorts(plan.service);
    if (plan.trace)
        ports = std::make_unique<sim::TracingDevicePorts>(std::move(ports),
                                                          std::make_shared<midi::TraceLog>(err));
    const sim::DevicePorts& shown = *ports;
    sim::AmpSimulator head(std::move(ports), {plan.model, plan.mainVersion, {}});
    for (const SimulatorFault& fault : plan.faults)
        fault(head);
    if (head.plug() != 0) {
        printFailure(ownFailure(eExit_NotFound, "Cli_Err_SimulatorNoService",
                                text("Cli_Err_SimulatorNoService", shown.plugFailure())),
                     plan.json, out, err);
        return eExit_NotFound;
    }
    err << text("Cli_Simulate_Running", modelText(sim::ampCount(plan.model)), shown.shownName(),
                shown.serviceName())
        << std::endl;
    stop->wait();
    head.unplug();
    const DeviceReport end = headReport(head.state());
    plan.json ? printDeviceReportJson(end, out) : printDeviceReportText(end, out);
    return eExit_Done;
}

}  // namespace velk::cli
