#include "strings/SysexText.h"

#include <memory>

#include "strings/StringTable.h"

namespace velk::strings {

QString sysexMeaningText(const velk::sysex::Meaning& meaning) {
    if (meaning.key.empty())
        return {};
    QString words = text(meaning.key.c_str());
    for (const std::string& value : meaning.args)
        words = words.arg(QString::fromStdString(value));
    return words;
}

std::string SysexNarrator::describe(std::span<const uint8_t> message) {
    return sysexMeaningText(m_Interpreter.interpret(message)).toStdString();
}

std::function<std::string(std::span<const uint8_t>)> sysexAnnotator() {
    return [narrator = std::make_shared<SysexNarrator>()](std::span<const uint8_t> message) {
        return narrator->describe(message);
    };
}

}  // namespace velk::strings
