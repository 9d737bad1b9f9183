#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "midi/ServiceSelection.h"

namespace velk::cli {

// What "list" found: the MIDI service in use ("alsa", "jack", "virtual"; empty when none, with the
// reason) and its sources and destinations, in the order whose positions open them.
struct MidiListing {
    std::string service;
    std::string unavailableReason;
    std::vector<std::string> sources;
    std::vector<std::string> destinations;
};

// The text in an endpoint's name that marks the amplifier's ports.
inline constexpr const char* kAmplifierMark = "VelkSolvo/";

// Throws UsageError for a positional argument or a --midi other than auto, alsa or jack.
std::optional<midi::ServiceChoice> parseListOptions(const ParsedArguments& arguments);

// Lists through the port manager, as the editor does: on the service of `choice`, or without one
// on the service the port manager is set up to choose.
MidiListing listMidiEndpoints(std::optional<midi::ServiceChoice> choice);

void printMidiListingText(const MidiListing& listing, std::ostream& out);
void printMidiListingJson(const MidiListing& listing, std::ostream& out);

// "velkctl list [--midi auto|alsa|jack] [--json]"
class ListCommand : public Command {
public:
    std::vector<std::string> words() const override { return {"list"}; }
    std::string synopsis() const override { return "list [--midi auto|alsa|jack] [--json]"; }
    const char* summaryKey() const override { return "Cli_List_Summary"; }
    const char* helpKey() const override { return "Cli_List_Help"; }
    std::vector<OptionRule> options() const override { return {{"--midi", true}, {"--json", false}}; }
    int run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) const override;
};

}  // namespace velk::cli
