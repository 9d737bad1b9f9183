#include "FIRFile.h"

#include <strings.h>
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "common/ErrorCodes.h"
#include "common/GenericException.h"
#include "common/SimpleBuffer.h"
#include "eLibrary/AiffFormat.h"
#include "eLibrary/AudioFormatFileDecorator.h"
#include "eLibrary/WaveFormat.h"

namespace {

[[noreturn]] void throwFileError(int32_t code) {
    throw mstd::CGenericException(code, 0, "");
}

// A 32-bit sample's upper half; the arithmetic shift truncates toward negative infinity.
int16_t upperHalf(int32_t sample) {
    return static_cast<int16_t>(sample >> 16);
}

}  // namespace

CFIRFile::CFIRFile() = default;

CFIRFile::~CFIRFile() = default;

void CFIRFile::open(const char* path) {
    m_Reader.reset();
    m_Reader = createAudioFormatReader(path);
    if (!m_Reader || m_Reader->fail())
        throwFileError(mstd::eErr_FIRFileOpen);
    if (m_Reader->valid())
        return;
    // Without a container and a complete format chunk the narrower checks would read zeros and
    // blame the sample rate: such a file is simply not a usable WAV or AIFF file.
    if (!m_Reader->hasFormat())
        throwFileError(mstd::eErr_FIRFileOpen);
    if (!m_Reader->validSampeRate())
        throwFileError(mstd::eErr_FIRFileSampleRate);
    if (!m_Reader->validChannels())
        throwFileError(mstd::eErr_FIRFileChannel);
    if (!m_Reader->validSampleSize())
        throwFileError(mstd::eErr_FIRFileSampleSize);
    throwFileError(mstd::eErr_FIRFileOpen);
}

void CFIRFile::close() {
    m_Reader.reset();
}

int CFIRFile::getChannels() const {
    return m_Reader && m_Reader->valid() ? m_Reader->getChannels() : -1;
}

void CFIRFile::read(int16_t* coefficients, int channel) {
    if (static_cast<unsigned>(channel) >= 2 || !m_Reader || !m_Reader->valid())
        throwFileError(mstd::eErr_FIRFileRead);
    int16_t left[kCoefficientCount] = {};
    int16_t right[kCoefficientCount] = {};
    int16_t* channels[] = {left, right};
    int n;
    switch (m_Reader->getSampleSize()) {
        case 16:
            n = readPCM<int16_t>(channels, kCoefficientCount);
            break;
        case 24:
        case 32:
            n = readPCM<int32_t>(channels, kCoefficientCount);
            break;
        default:
            throwFileError(mstd::eErr_FIRFileSampleSize);
    }
    // The reader delivers nothing when the file ends before the frames it declares: a silent
    // impulse response sent in its place would hide the damage.
    if (n < 0 || n < std::min(kCoefficientCount, m_Reader->getSampleFrames()))
        throwFileError(mstd::eErr_FIRFileRead);
    std::copy_n(channels[channel], n, coefficients);
    std::fill(coefficients + n, coefficients + kCoefficientCount, int16_t{0});
}

int CFIRFile::getAudioType(const char* path) {
    const char* dot = std::strrchr(path, '.');
    if (!dot)
        return eAudioType_Unsupported;
    const char* extension = dot + 1;
    if (strcasecmp(extension, "wav") == 0)
        return eAudioType_Wave;
    if (strcasecmp(extension, "aif") == 0 || strcasecmp(extension, "aiff") == 0)
        return eAudioType_Aiff;
    return eAudioType_Unsupported;
}

std::unique_ptr<eLibrary::AudioFormatReader> CFIRFile::createAudioFormatReader(const char* path) {
    switch (getAudioType(path)) {
        case eAudioType_Aiff:
            return std::make_unique<eLibrary::AudioFormatReaderFileDecorator<eLibrary::AiffFormatReader>>(
                path);
        case eAudioType_Wave:
            return std::make_unique<eLibrary::AudioFormatReaderFileDecorator<eLibrary::WaveFormatReader>>(
                path);
        default:
            return nullptr;
    }
}

void CFIRFile::makeFirName(char* name, const char* source) {
    std::strncpy(name, source, kNameSize - 1);
    name[kNameSize - 1] = '\0';
    if (name[0] == '\0')
        std::strcpy(name, "Untitled");
}

template <typename Sample>
int CFIRFile::readPCM(int16_t** channels, int frames) {
    mstd::TSimpleBuffer<Sample> first(static_cast<size_t>(std::max(frames, 0)), false);
    mstd::TSimpleBuffer<Sample> second(static_cast<size_t>(std::max(frames, 0)), false);
    Sample* buffers[] = {first.data(), second.data()};
    const int channelCount = m_Reader && m_Reader->getChannels() < 3 ? m_Reader->getChannels() : 2;
    const int n = readPCM(buffers, channelCount, frames);
    for (int c = 0; n > 0 && c < channelCount; ++c) {
        if constexpr (std::is_same_v<Sample, int16_t>)
            std::copy_n(buffers[c], n, channels[c]);
        else
            std::transform(buffers[c], buffers[c] + n, channels[c], upperHalf);
    }
    return n;
}

template <typename Sample>
int CFIRFile::readPCM(Sample** buffers, int channelCount, int frames) {
    if (!m_Reader || !m_Reader->valid())
        return -1;
    if (!m_Reader->seekPcm(0))
        throwFileError(mstd::eErr_FIRFileRead);
    if constexpr (std::is_same_v<Sample, int16_t>)
        return m_Reader->readPcm16s(buffers, channelCount, frames);
    else
        return m_Reader->readPcm32s(buffers, channelCount, frames);
}

template int CFIRFile::readPCM<int16_t>(int16_t**, int);
template int CFIRFile::readPCM<int32_t>(int16_t**, int);
template int CFIRFile::readPCM<int16_t>(int16_t**, int, int);
template int CFIRFile::readPCM<int32_t>(int32_t**, int, int);
