#include "strings/SysexText.h"

#include <memory>

#include "strings/TextTable.h"

namespace velk::strings {

std::string sysexMeaningText(const velk::sysex::Meaning& meaning) {
    if (meaning.key.empty())
        return {};
    return fillIn(textOf(meaning.key), meaning.args);
}

std::string SysexNarrator::describe(std::span<const uint8_t> message) {
    return sysexMeaningText(m_Interpreter.interpret(message));
}

std::function<std::string(std::span<const uint8_t>)> sysexAnnotator() {
    return [narrator = std::make_shared<SysexNarrator>()](std::span<const uint8_t> message) {
        return narrator->describe(message);
    };
}

}  // namespace velk::strings
