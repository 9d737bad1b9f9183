#include "cli/ArgumentValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "cli/ArgumentParser.h"
#include "common/VelkManager.h"

namespace velk::cli {

namespace {

constexpr int kGainKnobPositions = 41;

// The whole text as a number, or false; from_chars accepts no sign "+", spaces or trailing text.
template <typename Number>
bool parseWhole(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

}  // namespace

int parseAmp(const std::string& text) {
    if (text == "1")
        return 0;
    if (text == "2")
        return 1;
    throw UsageError{"Cli_Err_BadAmp", text};
}

std::string ampName(int amp) {
    return amp == 0 ? "Amp I" : "Amp II";
}

int parseChannel(const std::string& text) {
    return parseWord(text, {"left", "right"}, "Cli_Err_BadChannel");
}

bool parseOnOff(const std::string& text) {
    return parseWord(text, {"off", "on"}, "Cli_Err_BadOnOff") == 1;
}

int parseWord(const std::string& text, const std::vector<std::string>& words, const char* errorKey) {
    const auto found = std::find(words.begin(), words.end(), text);
    if (found == words.end())
        throw UsageError{errorKey, text};
    return static_cast<int>(found - words.begin());
}

int parseWholeNumber(const std::string& text, int lowest, int highest, const char* errorKey) {
    int value = 0;
    if (!parseWhole(text, value) || value < lowest || value > highest)
        throw UsageError{errorKey, text};
    return value;
}

double parseDecibels(const std::string& text, double highest, const char* errorKey) {
    double decibels = 0;
    if (!parseWhole(text, decibels) || !std::isfinite(decibels) || decibels > highest)
        throw UsageError{errorKey, text};
    return decibels;
}

// Only the knob's own steps are accepted, so the word sent is one the panel could have sent.
int16_t parseGainWord(const std::string& text) {
    double decibels = 0;
    if (parseWhole(text, decibels)) {
        for (int position = 0; position < kGainKnobPositions; ++position) {
            if (CVelkManager::gainIndex2dB(position) == decibels)
                return CVelkManager::shortGain(decibels);
        }
    }
    throw UsageError{"Cli_Err_BadGain", text};
}

const std::vector<std::string>& boosterWords() {
    static const std::vector<std::string> words = {"white", "green", "amber"};
    return words;
}

const std::vector<std::string>& reverbWords() {
    static const std::vector<std::string> words = {"spring", "plate", "room", "hall"};
    return words;
}

}  // namespace velk::cli
