#pragma once

#include <array>
#include <ostream>
#include <string>
#include <type_traits>

#include "cli/ArgumentParser.h"
#include "strings/TextTable.h"

namespace velk::cli {

inline std::string textArgument(const std::string& value) {
    return value;
}
inline std::string textArgument(const char* value) {
    return value;
}
// A fraction as six significant digits, with no trailing zeros ("-0.5", "1e-05").
std::string textArgument(double value);
template <typename Number>
requires std::is_integral_v<Number> std::string textArgument(Number value) {
    return std::to_string(value);
}

// The string table's text of a key with its %1, %2... filled in, as UTF-8 for the terminal. All
// are filled in one pass, so an argument that itself holds "%2" (a name from a file or from the
// amplifier) stays as it is.
template <typename... Arguments>
std::string text(const char* key, const Arguments&... arguments) {
    const std::string_view message = velk::strings::textOf(key);
    if constexpr (sizeof...(Arguments) == 0)
        return std::string(message);
    else
        return velk::strings::fillIn(
            message, std::array<std::string, sizeof...(Arguments)>{textArgument(arguments)...});
}

// The message of a usage mistake, naming its argument where the message has room for it.
std::string usageMessage(const UsageError& error);

// A usage mistake on stderr: its message, then where to find help ("velkctl WORDS --help").
void printUsageError(std::ostream& err, const std::string& message, const std::string& commandWords);

}  // namespace velk::cli
