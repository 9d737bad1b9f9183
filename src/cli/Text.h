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

// The string table's text of a key with its %1, %2... filled in, as UTF-8 for the terminal. All
// are filled in one pass, so an argument that itself holds "%2" (a name from a file or from the
// amplifier) stays as it is.
template <typename... Arguments>
std::string text(const char* key, const Arguments&... arguments) {
    const QString message = velk::strings::text(key);
    if constexpr (sizeof...(Arguments) == 0)
        return message.toStdString();
    else
        return message.arg(textArgument(arguments)...).toStdString();
}

// The message of a usage mistake, naming its argument where the message has room for it.
std::string usageMessage(const UsageError& error);

// A usage mistake on stderr: its message, then where to find help ("velkctl WORDS --help").
void printUsageError(std::ostream& err, const std::string& message, const std::string& commandWords);

}  // namespace velk::cli
