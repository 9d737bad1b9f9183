#pragma once

#include <span>
#include <string>
#include <string_view>

namespace velk::strings {

// The English text of a key; the key itself when the table has no entry, so a gap shows up plainly.
std::string_view textOf(std::string_view key);

// `pattern` with each %1, %2... replaced by the first, second... argument. All are filled in one
// pass, so an argument that itself holds "%2" (a name from a file or from the amplifier) stays as
// it is; a marker without an argument stays too.
std::string fillIn(std::string_view pattern, std::span<const std::string> arguments);

}  // namespace velk::strings
