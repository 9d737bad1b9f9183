#include "strings/TextTable.h"

#include <algorithm>

#include "strings/TextEntries.h"

namespace velk::strings {

std::string_view textOf(std::string_view key) {
    const TextEntry* end = kTextEntries + kTextEntryCount;
    const TextEntry* entry = std::lower_bound(
        kTextEntries, end, key, [](const TextEntry& e, std::string_view k) { return e.key < k; });
    return entry != end && entry->key == key ? entry->text : key;
}

namespace {

// The argument number of the marker at `at` ("%12" is 12) and how many characters it takes; 0 when
// there is no marker there.
std::pair<size_t, size_t> markerAt(std::string_view pattern, size_t at) {
    size_t number = 0, length = 1;
    while (length < 3 && at + length < pattern.size() && pattern[at + length] >= '0' &&
           pattern[at + length] <= '9')
        number = number * 10 + size_t(pattern[at + length++] - '0');
    return {length > 1 ? number : 0, length};
}

}  // namespace

std::string fillIn(std::string_view pattern, std::span<const std::string> arguments) {
    std::string out;
    out.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        const auto [number, length] =
            pattern[i] == '%' ? markerAt(pattern, i) : std::pair<size_t, size_t>{0, 1};
        if (number == 0 || number > arguments.size()) {
            out += pattern[i];
            continue;
        }
        out += arguments[number - 1];
        i += length - 1;
    }
    return out;
}

}  // namespace velk::strings
