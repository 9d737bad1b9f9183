#include "Text.h"

namespace velk::cli {

std::string usageMessage(const UsageError& error) {
    const bool namesArgument = velk::strings::text(error.key.c_str()).contains(QStringLiteral("%1"));
    return namesArgument ? text(error.key.c_str(), error.argument) : text(error.key.c_str());
}

void printUsageError(std::ostream& err, const std::string& message, const std::string& commandWords) {
    const std::string helpCommand = "velkctl " + (commandWords.empty() ? "" : commandWords + " ") + "--help";
    err << "velkctl: " << message << '\n' << text("Cli_SeeHelp", helpCommand) << '\n';
}

}  // namespace velk::cli
