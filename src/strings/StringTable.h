#pragma once

#include <QString>

namespace velk::strings {

// Loads the built-in string table into the running QCoreApplication. Returns false when the
// embedded table is missing, which only a broken build can cause.
bool install();

// The text of a key; the key itself when the table has no entry, so a gap shows up plainly.
QString text(const char* key);

// The message shown for an error code of the core.
QString errorText(int code);

}  // namespace velk::strings
