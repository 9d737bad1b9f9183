#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velk::cli {

// The values velkctl's arguments take. Each parser throws UsageError naming the argument when
// the text is not one of its values.

// AMP as typed ("1" Amp I, "2" Amp II) to the amp index of the device manager (0 or 1).
int parseAmp(const std::string& text);
// The amp as the user names it: "Amp I", "Amp II".
std::string ampName(int amp);

// "left" (0) or "right" (1): the channel of a stereo impulse-response file.
int parseChannel(const std::string& text);

// "on" (true) or "off" (false).
bool parseOnOff(const std::string& text);

// The index of `text` among `words`; `errorKey` names the mistake.
int parseWord(const std::string& text, const std::vector<std::string>& words, const char* errorKey);

// A whole number from `lowest` to `highest`; `errorKey` names the mistake.
int parseWholeNumber(const std::string& text, int lowest, int highest, const char* errorKey);

// A number of decibels up to `highest`, with or without decimals; `errorKey` names the mistake.
double parseDecibels(const std::string& text, double highest, const char* errorKey);

// Decibels on one of the gain knob's 41 steps (-30 to -10 dB by 1 dB, -10 to 0 dB by 0.5 dB),
// to the amplifier's gain word.
int16_t parseGainWord(const std::string& text);

// The words of the effect settings, in the order of their values.
const std::vector<std::string>& boosterWords();
const std::vector<std::string>& reverbWords();

}  // namespace velk::cli
