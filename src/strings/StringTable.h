#pragma once

#include <QString>

namespace velk::strings {

// The editor's view of the string table (strings/TextTable.h): the text of a key as a QString; the
// key itself when the table has no entry, so a gap shows up plainly.
QString text(const char* key);

// The message shown for an error code of the core.
QString errorText(int code);

}  // namespace velk::strings
