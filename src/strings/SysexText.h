#pragma once

#include <functional>
#include <span>
#include <string>

#include "common/SysexMeaning.h"

namespace velk::strings {

// A message's meaning in the words of the string table; empty when there is nothing to say.
std::string sysexMeaningText(const velk::sysex::Meaning& meaning);

// Says in words what each message of one conversation means, messages taken in the order they
// passed; for a trace line. Not safe from two threads at once.
class SysexNarrator {
public:
    std::string describe(std::span<const uint8_t> message);

private:
    velk::sysex::CSysexInterpreter m_Interpreter;
};

// A trace's annotation: what each message means, read by one narrator of its own.
std::function<std::string(std::span<const uint8_t>)> sysexAnnotator();

}  // namespace velk::strings
