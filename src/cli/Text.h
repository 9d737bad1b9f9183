#pragma once

#include <QString>

#include <ostream>
#include <string>
#include <type_traits>

#include "cli/ArgumentParser.h"
#include "strings/StringTable.h"

namespace velk::cli {

inline QString textArgument(const std::string& value) {
    return QString::fromStdString(value);
}
inline QString textArgument(const char* value) {
    return QString::fromUtf8(value);
}
template <typename Number>
requires std::is_arithmetic_v<Number> QString textArgument(Number value) {
    return QString::number(value);
}

// The string table's text of a key with its %1, %2... filled in, as UTF-8 for the terminal.
template <typename... Arguments>
std::string text(const char* key, const Arguments&... arguments) {
    QString message = velk::strings::text(key);
    ((message = message.arg(textArgument(arguments))), ...);
    return message.toStdString();
}

// The message of a usage mistake, naming its argument where the message has room for it.
std::string usageMessage(const UsageError& error);

// A usage mistake on stderr: its message, then where to find help ("velkctl WORDS --help").
void printUsageError(std::ostream& err, const std::string& message, const std::string& commandWords);

// An error code of the core: "error CODE (KEY): TEXT" on stderr and, for --json, also
// {"error":CODE,"key":"KEY"} on stdout, so scripts read failures where they read results.
void printCoreError(int code, bool json, std::ostream& out, std::ostream& err);

}  // namespace velk::cli
