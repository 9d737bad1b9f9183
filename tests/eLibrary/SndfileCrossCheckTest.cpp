// Files written by an independent writer (sox) must read as libsndfile decodes them.
#include <sndfile.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "eLibrary/AiffFormat.h"
#include "eLibrary/AudioFileBuilder.h"
#include "eLibrary/AudioFormatFileDecorator.h"
#include "eLibrary/ReaderTestSupport.h"
#include "eLibrary/WaveFormat.h"

namespace {

constexpr int kFrames = 3001;  // odd, and across many staging blocks and the 2048 frames of an IR

// sox from PATH, or empty when it is not installed.
std::string findSox() {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const std::string candidate = dir + "/sox";
        if (!dir.empty() && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

struct SoxCase {
    const char* label;
    const char* soxType;  // sox's file type: "wavpcm" forces the plain WAVE format tag
    const char* extension;
    int channels;
    int bits;
    bool valid;

    friend void PrintTo(const SoxCase& c, std::ostream* os) { *os << c.label; }
};

// Every sample of every channel as libsndfile decodes it into T.
template <typename T>
std::vector<std::vector<T>> decodeWithSndfile(const std::string& path, int channels) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    if (!file)
        return {};
    EXPECT_EQ(info.channels, channels);
    std::vector<T> interleaved(static_cast<size_t>(info.frames * info.channels));
    sf_count_t frames;
    if constexpr (std::is_same_v<T, int16_t>)
        frames = sf_readf_short(file, interleaved.data(), info.frames);
    else if constexpr (std::is_same_v<T, int32_t>)
        frames = sf_readf_int(file, interleaved.data(), info.frames);
    else
        frames = sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    EXPECT_EQ(frames, info.frames);
    std::vector<std::vector<T>> out(static_cast<size_t>(channels));
    for (size_t i = 0; i < interleaved.size(); ++i)
        out[i % static_cast<size_t>(channels)].push_back(interleaved[i]);
    return out;
}

template <typename Reader, typename T>
std::vector<std::vector<T>> decodeWithReader(const std::string& path, int channels) {
    eLibrary::AudioFormatReaderFileDecorator<Reader> reader(path.c_str());
    EXPECT_TRUE(reader.seekPcm(0));
    return readChannels<T>(reader, channels, kFrames + 10);
}

template <typename Reader>
void expectSameAsSndfile(const std::string& path, int channels) {
    EXPECT_EQ((decodeWithReader<Reader, int16_t>(path, channels)),
              decodeWithSndfile<int16_t>(path, channels));
    EXPECT_EQ((decodeWithReader<Reader, int32_t>(path, channels)),
              decodeWithSndfile<int32_t>(path, channels));
    EXPECT_EQ((decodeWithReader<Reader, float>(path, channels)), decodeWithSndfile<float>(path, channels));
}

template <typename Reader>
void expectVerdict(const std::string& path, bool valid) {
    eLibrary::AudioFormatReaderFileDecorator<Reader> reader(path.c_str());
    EXPECT_EQ(reader.valid(), valid);
    EXPECT_TRUE(reader.hasFormat());
    EXPECT_EQ(reader.getSampleFrames(), kFrames);
}

class SoxFiles : public testing::TestWithParam<SoxCase> {
protected:
    void SetUp() override {
        m_Sox = findSox();
        if (m_Sox.empty())
            GTEST_SKIP() << "sox is not installed (scripts/install-deps.sh installs it)";
    }

    // A repeatable file of noise at full scale mixed with a tone, so every bit of every sample varies.
    std::string writeWithSox(const SoxCase& c) {
        const std::string path = m_Dir.path(std::string("sox.") + c.extension);
        std::ostringstream command;
        command << m_Sox << " -V1 -R -r 44100 -c " << c.channels << " -n -b " << c.bits << " -e "
                << (c.bits == 8 && c.extension == std::string("wav") ? "un" : "") << "signed-integer -t "
                << c.soxType << " " << path << " synth " << kFrames
                << "s whitenoise synth sine mix 1000 2>&1";
        EXPECT_EQ(std::system(command.str().c_str()), 0) << command.str();
        return path;
    }

    std::string m_Sox;
    testaudio::TempDir m_Dir;
};

TEST_P(SoxFiles, readsWhatLibsndfileDecodes) {
    const SoxCase& c = GetParam();
    const std::string path = writeWithSox(c);
    if (std::string(c.extension) == "wav") {
        expectVerdict<eLibrary::WaveFormatReader>(path, c.valid);
        expectSameAsSndfile<eLibrary::WaveFormatReader>(path, c.channels);
    } else {
        expectVerdict<eLibrary::AiffFormatReader>(path, c.valid);
        expectSameAsSndfile<eLibrary::AiffFormatReader>(path, c.channels);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, SoxFiles,
                         testing::Values(SoxCase{"wavMono16", "wavpcm", "wav", 1, 16, true},
                                         SoxCase{"wavStereo16", "wavpcm", "wav", 2, 16, true},
                                         SoxCase{"wavMono24", "wavpcm", "wav", 1, 24, true},
                                         SoxCase{"wavStereo24", "wavpcm", "wav", 2, 24, true},
                                         SoxCase{"wavStereo32", "wavpcm", "wav", 2, 32, true},
                                         SoxCase{"wavStereo24Extensible", "wav", "wav", 2, 24, true},
                                         SoxCase{"wavMono32Extensible", "wav", "wav", 1, 32, true},
                                         SoxCase{"wavStereo8", "wavpcm", "wav", 2, 8, false},
                                         SoxCase{"aiffMono16", "aiff", "aiff", 1, 16, true},
                                         SoxCase{"aiffStereo16", "aiff", "aiff", 2, 16, true},
                                         SoxCase{"aiffStereo24", "aiff", "aiff", 2, 24, true},
                                         SoxCase{"aiffMono32", "aiff", "aiff", 1, 32, true},
                                         SoxCase{"aiffStereo8", "aiff", "aiff", 2, 8, false}),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
