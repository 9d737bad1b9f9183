#include "controls/InputNumLimitFormatter.h"

#include <algorithm>

bool InputNumLimitFormatter::isPartialStringValid(const QString& partial) const {
    const QByteArray utf8 = partial.toUtf8();
    // The limit widens with its sign: a negative one becomes a huge unsigned number, so no limit.
    if (static_cast<uint64_t>(utf8.size()) > static_cast<uint64_t>(static_cast<int64_t>(m_maxLength)))
        return false;
    if (m_onlyRoman)
        return std::all_of(utf8.begin(), utf8.end(),
                           [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
    return true;
}

QValidator::State InputNumLimitFormatter::validate(QString& input, int&) const {
    return isPartialStringValid(input) ? Acceptable : Invalid;
}
