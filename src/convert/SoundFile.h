#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "convert/AudioSignal.h"

namespace velk::convert {

struct SoundFileContents {
    AudioSignal signal;
    SampleCoding coding;
};

// Every frame of any file libsndfile reads (WAVE of any kind, AIFF, FLAC...). Throws
// ConversionError: UnreadableInput, EmptyInput for a file without frames, NotFinite.
SoundFileContents readSoundFile(const std::string& path);

// Plain integer PCM WAVE (format tag 1) of 16 or 24 bits to the open file `descriptor`, which stays
// open. `samples` are interleaved and left-justified in 32 bits, so that only their top `bits` bits
// are written. Throws ConversionError OutputNotWritten naming `path`.
void writePcmWave(int descriptor, const std::string& path, int sampleRate, int channels, int bits,
                  const std::vector<int32_t>& samples);

}  // namespace velk::convert
