// Files written by an independent writer (sox) must read as libsndfile decodes them.
#include <sndfile.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "eLibrary/AudioFormatFileDecorator.h"
#include "eLibrary/ReaderTestSupport.h"

namespace {

constexpr int kFrames = 3001;  // odd, and across many staging blocks and the 2048 frames of an IR

// Reads every frame from the first as T, and expects what libsndfile decodes from the file.
template <typename T>
void expectSameAsSndfile(eLibrary::AudioFormatReader& reader, const std::string& path, int channels) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<T> interleaved(static_cast<size_t>(info.frames * info.channels));
    if constexpr (std::is_same_v<T, int16_t>)
        EXPECT_EQ(sf_readf_short(file, interleaved.data(), info.frames), kFrames);
    else if constexpr (std::is_same_v<T, int32_t>)
        EXPECT_EQ(sf_readf_int(file, interleaved.data(), info.frames), kFrames);
    else
        EXPECT_EQ(sf_readf_float(file, interleaved.data(), info.frames), kFrames);
    sf_close(file);
    ASSERT_TRUE(reader.seekPcm(0));
    EXPECT_EQ(readChannels<T>(reader, channels, kFrames + 10), deinterleave(interleaved, channels));
}

template <typename Reader>
std::unique_ptr<eLibrary::AudioFormatReader> openReader(const std::string& path) {
    return std::make_unique<eLibrary::AudioFormatReaderFileDecorator<Reader>>(path.c_str());
}

struct SoxCase {
    const char* label;
    const char*
        soxType;  // "wavpcm": the plain WAVE format tag (sox writes wide samples extensible otherwise)
    int channels;
    int bits;
    bool valid;

    friend void PrintTo(const SoxCase& c, std::ostream* os) { *os << c.label; }
};

class SoxFiles : public testing::TestWithParam<SoxCase> {};

TEST_P(SoxFiles, readAsLibsndfileDecodesThem) {
    if (std::system("sox --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "sox is not installed (scripts/install-deps.sh installs it)";
    const SoxCase& c = GetParam();
    const bool aiff = c.soxType == std::string("aiff");
    testaudio::TempDir dir;
    const std::string path = dir.path(aiff ? "sox.aiff" : "sox.wav");
    // A repeatable file of noise at full scale mixed with a tone, so every bit of every sample varies.
    const std::string command = "sox -V1 -R -r 44100 -c " + std::to_string(c.channels) + " -n -b " +
                                std::to_string(c.bits) + " -e " + (c.bits == 8 && !aiff ? "un" : "") +
                                "signed-integer -t " + c.soxType + " " + path + " synth " +
                                std::to_string(kFrames) + "s whitenoise synth sine mix 1000 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const auto reader =
        aiff ? openReader<eLibrary::AiffFormatReader>(path) : openReader<eLibrary::WaveFormatReader>(path);
    EXPECT_EQ(reader->valid(), c.valid);
    EXPECT_EQ(reader->getSampleFrames(), kFrames);
    expectSameAsSndfile<int16_t>(*reader, path, c.channels);
    expectSameAsSndfile<int32_t>(*reader, path, c.channels);
    expectSameAsSndfile<float>(*reader, path, c.channels);
}

INSTANTIATE_TEST_SUITE_P(Formats, SoxFiles,
                         testing::ValuesIn(std::vector<SoxCase>{{"wavMono16", "wavpcm", 1, 16, true},
                                                                {"wavStereo16", "wavpcm", 2, 16, true},
                                                                {"wavStereo24", "wavpcm", 2, 24, true},
                                                                {"wavStereo32", "wavpcm", 2, 32, true},
                                                                {"wavStereo8", "wavpcm", 2, 8, false},
                                                                {"aiffMono16", "aiff", 1, 16, true},
                                                                {"aiffStereo24", "aiff", 2, 24, true},
                                                                {"aiffMono32", "aiff", 1, 32, true},
                                                                {"aiffStereo8", "aiff", 2, 8, false}}),
                         testing::PrintToStringParamName());

}  // namespace
