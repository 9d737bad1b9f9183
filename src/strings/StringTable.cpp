#include "StringTable.h"

#include "common/ErrorCodes.h"
#include "strings/TextTable.h"

namespace velk::strings {

QString text(const char* key) {
    const std::string_view value = textOf(key);
    return QString::fromUtf8(value.data(), qsizetype(value.size()));
}

QString errorText(int code) {
    return text(mstd::errorMessageKey(code));
}

}  // namespace velk::strings
