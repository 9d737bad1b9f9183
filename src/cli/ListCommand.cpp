#include "ListCommand.h"

#include <iomanip>

#include "cli/Json.h"
#include "cli/Text.h"
#include "common/MIDIManager.h"
#include "midi/MidiService.h"

namespace velk::cli {

namespace {

bool isAmplifierPort(const std::string& name) {
    return name.find(kAmplifierMark) != std::string::npos;
}

const char* serviceNameKey(const std::string& service) {
    if (service == "alsa")
        return "Cli_List_ServiceAlsa";
    if (service == "jack")
        return "Cli_List_ServiceJack";
    return "Cli_List_ServiceVirtual";
}

void printEndpointsText(const char* titleKey, const std::vector<std::string>& names, std::ostream& out) {
    out << text(titleKey) << '\n';
    if (names.empty())
        out << "    " << text("Cli_List_None") << '\n';
    for (size_t i = 0; i < names.size(); ++i)
        out << (isAmplifierPort(names[i]) ? "  * " : "    ") << std::setw(2) << i << "  " << names[i] << '\n';
}

void printEndpointsJson(const std::vector<std::string>& names, std::ostream& out) {
    out << '[';
    for (size_t i = 0; i < names.size(); ++i) {
        out << (i ? "," : "") << "{\"index\":" << i << ",\"name\":" << jsonString(names[i])
            << ",\"amplifier\":" << (isAmplifierPort(names[i]) ? "true" : "false") << '}';
    }
    out << ']';
}

}  // namespace

std::optional<midi::ServiceChoice> parseListOptions(const ParsedArguments& arguments) {
    if (!arguments.positionals.empty())
        throw UsageError{"Cli_Err_ExtraArgument", arguments.positionals.front()};
    if (!arguments.has("--midi"))
        return std::nullopt;
    std::optional<midi::ServiceChoice> choice = midi::parseServiceChoice(arguments.value("--midi"));
    if (!choice)
        throw UsageError{"Cli_Err_BadMidiService", arguments.value("--midi")};
    return choice;
}

MidiListing listMidiEndpoints(std::optional<midi::ServiceChoice> choice) {
    if (choice)
        CMIDIManager::setServiceChoice(*choice);
    CMIDIManager::initialize(nullptr, nullptr);
    CMIDIManager* manager = CMIDIManager::instance();
    MidiListing listing;
    manager->getMidiInDevices(listing.sources);
    manager->getMidiOutDevices(listing.destinations);
    if (std::shared_ptr<const midi::MidiService> service = manager->service())
        listing.service = service->serviceName();
    else
        listing.unavailableReason = manager->serviceUnavailableReason();
    CMIDIManager::terminate();
    return listing;
}

void printMidiListingText(const MidiListing& listing, std::ostream& out) {
    out << text("Cli_List_Service", text(serviceNameKey(listing.service))) << '\n';
    printEndpointsText("Cli_List_Sources", listing.sources, out);
    printEndpointsText("Cli_List_Destinations", listing.destinations, out);
    out << text("Cli_List_Mark", kAmplifierMark) << '\n';
}

void printMidiListingJson(const MidiListing& listing, std::ostream& out) {
    if (listing.service.empty()) {
        out << "{\"service\":null,\"reason\":" << jsonString(listing.unavailableReason) << "}\n";
        return;
    }
    out << "{\"service\":" << jsonString(listing.service) << ",\"sources\":";
    printEndpointsJson(listing.sources, out);
    out << ",\"destinations\":";
    printEndpointsJson(listing.destinations, out);
    out << "}\n";
}

int ListCommand::run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) const {
    const std::optional<midi::ServiceChoice> choice = parseListOptions(arguments);
    const bool json = arguments.has("--json");
    const MidiListing listing = listMidiEndpoints(choice);
    if (json)
        printMidiListingJson(listing, out);
    if (listing.service.empty()) {
        err << "velkctl: " << text("Cli_List_NoService", listing.unavailableReason) << '\n';
        return eExit_NotFound;
    }
    if (!json)
        printMidiListingText(listing, out);
    return eExit_Done;
}

}  // namespace velk::cli
