#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "convert/AudioSignal.h"

namespace velk::convert {

// What the amplifier's loader takes: 44100 Hz, of which it uses the first 2048 frames.
constexpr int kAmpSampleRate = 44100;
constexpr size_t kAmpFrames = 2048;

enum class ChannelChoice { Left, Right, Both };

struct ConversionRequest {
    std::string input;
    std::string output;  // empty: defaultOutputPath(input)
    // Both keeps a mono or stereo file as it is; a file of more channels needs Left or Right.
    ChannelChoice channel = ChannelChoice::Both;
    int bits = 24;                      // 16 or 24
    bool trim = false;                  // keep only the first kAmpFrames frames
    std::optional<double> normalizeDb;  // scale the peak to this many dBFS
    bool overwrite = false;
};

struct ConversionReport {
    std::string output;
    AudioDescription from;
    AudioDescription to;
    size_t clippedSamples = 0;  // beyond full scale after resampling and scaling
};

// Reads the input with libsndfile, keeps the chosen channels, resamples to 44100 Hz, trims,
// normalises and writes a plain PCM WAVE file the amplifier's loader accepts. The output appears
// complete or not at all. Throws ConversionError.
ConversionReport convertImpulseResponse(const ConversionRequest& request);

// The input's name with " 44k1.wav" in place of its extension, in the input's folder.
std::string defaultOutputPath(const std::string& input);

// A peak as dBFS, or nothing for silence.
std::optional<double> decibelsFullScale(double peak);

}  // namespace velk::convert
