#pragma once

#include "cli/Command.h"
#include "cli/DeviceReport.h"
#include "cli/Environment.h"
#include "sim/AmpState.h"

namespace velk::cli {

// The simulated head as `velkctl dump` shows an amplifier, with the coefficients it holds.
DeviceReport headReport(const sim::AmpState& state);

// "velkctl simulate": the amplifier simulator as a device on the MIDI service until it is stopped
// (SIGINT, SIGTERM); then the head's state on stdout.
class SimulateCommand : public Command {
public:
    explicit SimulateCommand(Environment environment) : m_Environment(std::move(environment)) {}

    std::vector<std::string> words() const override { return {"simulate"}; }
    std::string synopsis() const override {
        return "simulate [--model single|dual] [--midi auto|alsa|jack] [--fault FAULT]... [--firmware "
               "VERSION] "
               "[--trace] [--json]";
    }
    const char* summaryKey() const override { return "Cli_Simulate_Summary"; }
    const char* helpKey() const override { return "Cli_Simulate_Help"; }
    std::vector<OptionRule> options() const override;
    int run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) const override;

private:
    const Environment m_Environment;
};

}  // namespace velk::cli
