#include "cli/DeviceOptions.h"

#include "cli/ArgumentValues.h"

namespace velk::cli {

namespace {

constexpr int kLongestTimeoutMS = 24 * 60 * 60 * 1000;

}  // namespace

std::vector<OptionRule> deviceOptionRules() {
    return {{"--midi", true}, {"--match", true}, {"--timeout", true}, {"--trace", false}, {"--json", false}};
}

DeviceOptions parseDeviceOptions(const ParsedArguments& arguments) {
    DeviceOptions options;
    options.service = parseServiceOption(arguments);
    if (arguments.has("--match")) {
        options.match = arguments.value("--match");
        if (options.match.empty())
            throw UsageError{"Cli_Err_EmptyMatch", ""};
    }
    if (arguments.has("--timeout"))
        options.timeoutMS =
            parseWholeNumber(arguments.value("--timeout"), 0, kLongestTimeoutMS, "Cli_Err_BadTimeout");
    options.trace = arguments.has("--trace");
    options.json = arguments.has("--json");
    return options;
}

midi::ServiceChoice parseServiceOption(const ParsedArguments& arguments) {
    if (!arguments.has("--midi"))
        return midi::ServiceChoice::Auto;
    const std::optional<midi::ServiceChoice> choice = midi::parseServiceChoice(arguments.value("--midi"));
    if (!choice)
        throw UsageError{"Cli_Err_BadMidiService", arguments.value("--midi")};
    return *choice;
}

}  // namespace velk::cli
