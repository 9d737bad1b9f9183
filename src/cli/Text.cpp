#include "Text.h"

#include <cstdio>

namespace velk::cli {

std::string textArgument(double value) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%g", value);
    return digits;
}

std::string usageMessage(const UsageError& error) {
    const bool namesArgument = velk::strings::textOf(error.key).find("%1") != std::string_view::npos;
    return namesArgument ? text(error.key.c_str(), error.argument) : text(error.key.c_str());
}

void printUsageError(std::ostream& err, const std::string& message, const std::string& commandWords) {
    const std::string helpCommand = "velkctl " + (commandWords.empty() ? "" : commandWords + " ") + "--help";
    err << "velkctl: " << message << '\n' << text("Cli_SeeHelp", helpCommand) << '\n';
}

}  // namespace velk::cli
