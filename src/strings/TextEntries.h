#pragma once

#include <cstddef>
#include <string_view>

namespace velk::strings {

// One message of the string table. The build generates the entries from velk_en.ts, sorted by key.
struct TextEntry {
    std::string_view key;
    std::string_view text;
};

extern const TextEntry kTextEntries[];
extern const std::size_t kTextEntryCount;

}  // namespace velk::strings
