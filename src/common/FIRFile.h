#pragma once

#include <cstdint>
#include <memory>

#include "eLibrary/AudioFormat.h"

// Turns an impulse-response file (WAV or AIFF, 44100 Hz, one or two channels, 16, 24 or 32 bits)
// into the 2048 coefficients of an amplifier record: the first 2048 frames of one channel as
// signed 16-bit values, zero-filled where the file ends sooner. No resampling, scaling or
// normalisation: a coefficient is the sample's top 16 bits. Failures throw mstd::CGenericException
// with a file error code (1005 to 1009).
class CFIRFile {
public:
    static constexpr int kCoefficientCount = 2048;
    static constexpr int kNameSize = 64;

    enum EAudioType { eAudioType_Unsupported = 0, eAudioType_Wave = 1, eAudioType_Aiff = 2 };

    CFIRFile();
    virtual ~CFIRFile();

    CFIRFile(const CFIRFile&) = delete;
    CFIRFile& operator=(const CFIRFile&) = delete;

    // Opens and checks the file. Throws 1005 when it cannot be opened or is not a WAV or AIFF
    // file with its format chunk; otherwise 1007, 1006 or 1008 (in that order) for the sample
    // rate, channel count or sample size it states.
    void open(const char* path);
    void close();

    // The open file's channel count; -1 when no valid file is open.
    int getChannels() const;

    // Fills exactly kCoefficientCount coefficients from channel 0 or 1. Throws 1009 for another
    // channel, without a valid open file, or when the file holds fewer frames than it declares.
    void read(int16_t* coefficients, int channel);

    // By extension after the last '.', regardless of case: ".wav" is WAVE, ".aif" and ".aiff" AIFF.
    static int getAudioType(const char* path);
    // The reader for the path's audio type, or null for an unsupported one.
    static std::unique_ptr<eLibrary::AudioFormatReader> createAudioFormatReader(const char* path);

    // Writes an IR name into a kNameSize-byte field: at most 63 bytes of `source`, zero-filled,
    // cut by bytes; "Untitled" when the source is empty.
    static void makeFirName(char* name, const char* source);

    // Read `frames` frames from the first frame into two 16-bit channel buffers, through 16-bit
    // (Sample = int16_t) or 32-bit (Sample = int32_t, keeping the upper 16 bits) reads. Returns the
    // frames delivered, or -1 without a valid open file.
    template <typename Sample>
    int readPCM(int16_t** channels, int frames);
    // Positions the reader at the first frame and reads `frames` frames into `channelCount`
    // buffers; -1 without a valid open file, throws 1009 when positioning fails.
    template <typename Sample>
    int readPCM(Sample** buffers, int channelCount, int frames);

private:
    std::unique_ptr<eLibrary::AudioFormatReader> m_Reader;
};
