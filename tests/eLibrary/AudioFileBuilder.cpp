#include "eLibrary/AudioFileBuilder.h"

#include <bit>
#include <fstream>
#include <random>
#include <stdexcept>

#include "eLibrary/WaveChunks.h"

namespace testaudio {

namespace {

constexpr auto kLittle = ByteOrder::LittleEndian;
constexpr auto kBig = ByteOrder::BigEndian;

Bytes integerSamples(int bits, const std::vector<int32_t>& values, ByteOrder order, uint32_t flip) {
    const int bytes = (bits + 7) / 8;
    Bytes out;
    for (int32_t value : values) {
        const uint32_t shifted = (static_cast<uint32_t>(value) ^ flip) << (bytes * 8 - bits);
        for (int k = 0; k < bytes; ++k)
            out.push_back(static_cast<uint8_t>(shifted >> 8 * (order == kBig ? bytes - 1 - k : k)));
    }
    return out;
}

// An 80-bit extended number of a positive integer rate.
Bytes extended80(uint32_t rate) {
    const int exponent = std::bit_width(rate) - 1;
    const uint64_t mantissa = uint64_t{rate} << (63 - exponent);
    return u16(static_cast<uint16_t>(16383 + exponent), kBig) + u32(uint32_t(mantissa >> 32), kBig) +
           u32(uint32_t(mantissa), kBig);
}

}  // namespace

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes u16(uint16_t value, ByteOrder order) {
    return order == kLittle ? Bytes{uint8_t(value), uint8_t(value >> 8)}
                            : Bytes{uint8_t(value >> 8), uint8_t(value)};
}

Bytes u32(uint32_t value, ByteOrder order) {
    return order == kLittle ? u16(uint16_t(value), order) + u16(uint16_t(value >> 16), order)
                            : u16(uint16_t(value >> 16), order) + u16(uint16_t(value), order);
}

Bytes id(const char (&fourCC)[5]) {
    return Bytes(fourCC, fourCC + 4);
}

Bytes chunk(const char (&chunkID)[5], const Bytes& data, ByteOrder order, int64_t declaredSize) {
    const auto size = static_cast<uint32_t>(declaredSize < 0 ? int64_t(data.size()) : declaredSize);
    return id(chunkID) + u32(size, order) + data + Bytes(data.size() % 2, 0);
}

Bytes wavSamples(int bits, const std::vector<int32_t>& values) {
    return integerSamples(bits, values, kLittle, bits == 8 ? 0x80 : 0);
}

Bytes aiffSamples(int bits, const std::vector<int32_t>& values) {
    return integerSamples(bits, values, kBig, 0);
}

Bytes floatSamples(const std::vector<float>& values) {
    Bytes out;
    for (float value : values)
        out = out + u32(std::bit_cast<uint32_t>(value), kLittle);
    return out;
}

Bytes fmtData(const Format& format) {
    eLibrary::WaveFmtChunk fmt;
    fmt.set(format.channels, format.sampleRate, format.bits);
    return u16(format.formatTag, kLittle) + u16(fmt.channels, kLittle) + u32(fmt.samplesPerSec, kLittle) +
           u32(fmt.avgBytesPerSec, kLittle) + u16(fmt.blockAlign, kLittle) + u16(fmt.bitsPerSample, kLittle);
}

Bytes riffWave(const Bytes& chunks) {
    return chunk("RIFF", id("WAVE") + chunks, kLittle);
}

Bytes wavFile(const Format& format, const Bytes& sampleBytes) {
    return riffWave(chunk("fmt ", fmtData(format), kLittle) + chunk("data", sampleBytes, kLittle));
}

Bytes commData(const Format& format, uint32_t frames) {
    return u16(format.channels, kBig) + u32(frames, kBig) + u16(format.bits, kBig) +
           extended80(format.sampleRate);
}

Bytes ssndData(const Bytes& sampleBytes, uint32_t offset) {
    return u32(offset, kBig) + u32(0, kBig) + Bytes(offset, 0xEE) + sampleBytes;
}

Bytes formAiff(const Bytes& chunks) {
    return chunk("FORM", id("AIFF") + chunks, kBig);
}

Bytes aiffFile(const Format& format, const Bytes& sampleBytes) {
    const size_t frameBytes = size_t{(format.bits + 7u) / 8u} * format.channels;
    const auto frames = static_cast<uint32_t>(frameBytes ? sampleBytes.size() / frameBytes : 0);
    return formAiff(chunk("COMM", commData(format, frames), kBig) +
                    chunk("SSND", ssndData(sampleBytes), kBig));
}

std::vector<int32_t> noise(size_t count, int bits, uint32_t seed) {
    std::mt19937 generator(seed);
    const int64_t half = int64_t{1} << (bits - 1);
    std::uniform_int_distribution<int64_t> distribution(-half, half - 1);
    std::vector<int32_t> values(count);
    for (int32_t& value : values)
        value = static_cast<int32_t>(distribution(generator));
    return values;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velk-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary directory");
    m_Path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

std::string TempDir::write(const std::string& name, const Bytes& bytes) const {
    std::ofstream(path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path(name);
}

std::string TempDir::path(const std::string& name) const {
    return (m_Path / name).string();
}

}  // namespace testaudio
