#include "eLibrary/AudioFileBuilder.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>

#include "eLibrary/WaveChunks.h"

namespace testaudio {

namespace {

constexpr auto kLittle = ByteOrder::LittleEndian;
constexpr auto kBig = ByteOrder::BigEndian;

// A value of `bits` bits placed in the top of its container and returned as container bytes,
// most significant first.
Bytes containerBytes(int bits, int32_t value) {
    const int bytes = (bits + 7) / 8;
    const uint32_t shifted = static_cast<uint32_t>(value) << (bytes * 8 - bits);
    Bytes out;
    for (int k = bytes - 1; k >= 0; --k)
        out.push_back(static_cast<uint8_t>(shifted >> (8 * k)));
    return out;
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
    Bytes big{uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
    return order == kBig ? big : Bytes(big.rbegin(), big.rend());
}

Bytes id(const char (&fourCC)[5]) {
    return Bytes(fourCC, fourCC + 4);
}

Bytes chunk(const char (&chunkID)[5], const Bytes& data, ByteOrder order) {
    return chunkWithSize(chunkID, static_cast<uint32_t>(data.size()), data, order);
}

Bytes chunkWithSize(const char (&chunkID)[5], uint32_t declaredSize, const Bytes& data, ByteOrder order) {
    Bytes out = id(chunkID) + u32(declaredSize, order) + data;
    if (data.size() % 2 == 1)
        out.push_back(0);
    return out;
}

Bytes wavSamples(int bits, std::initializer_list<int32_t> values) {
    return wavSamples(bits, std::vector<int32_t>(values));
}

Bytes wavSamples(int bits, const std::vector<int32_t>& values) {
    Bytes out;
    for (int32_t value : values) {
        Bytes sample = containerBytes(bits, bits == 8 ? value ^ 0x80 : value);
        out.insert(out.end(), sample.rbegin(), sample.rend());
    }
    return out;
}

Bytes aiffSamples(int bits, const std::vector<int32_t>& values) {
    Bytes out;
    for (int32_t value : values)
        out = out + containerBytes(bits, value);
    return out;
}

Bytes floatSamples(std::initializer_list<float> values) {
    Bytes out;
    for (float value : values) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        out = out + u32(bits, kLittle);
    }
    return out;
}

Bytes fmtData(const WavFormat& format) {
    eLibrary::WaveFmtChunk fmt;
    fmt.set(format.channels, format.sampleRate, format.bits);
    return u16(format.formatTag, kLittle) + u16(fmt.channels, kLittle) + u32(fmt.samplesPerSec, kLittle) +
           u32(fmt.avgBytesPerSec, kLittle) + u16(fmt.blockAlign, kLittle) + u16(fmt.bitsPerSample, kLittle);
}

Bytes wavFile(const WavFormat& format, const Bytes& sampleBytes) {
    return riffWave(chunk("fmt ", fmtData(format), kLittle) + chunk("data", sampleBytes, kLittle));
}

Bytes riffWave(const Bytes& chunks) {
    return chunk("RIFF", id("WAVE") + chunks, kLittle);
}

Bytes extended80(double value) {
    if (value == 0)
        return Bytes(10, 0);
    int exponent;
    const double fraction = std::frexp(std::fabs(value), &exponent);  // value = fraction * 2^exponent
    const auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
    const auto signAndExponent = static_cast<uint16_t>((value < 0 ? 0x8000 : 0) | (exponent - 1 + 16383));
    return u16(signAndExponent, kBig) + u32(uint32_t(mantissa >> 32), kBig) + u32(uint32_t(mantissa), kBig);
}

Bytes commData(const AiffFormat& format, uint32_t frames) {
    return u16(format.channels, kBig) + u32(frames, kBig) + u16(format.bits, kBig) +
           extended80(format.sampleRate);
}

Bytes ssndData(const Bytes& sampleBytes, uint32_t offset) {
    return u32(offset, kBig) + u32(0, kBig) + Bytes(offset, 0xEE) + sampleBytes;
}

Bytes aiffFile(const AiffFormat& format, const Bytes& sampleBytes) {
    const size_t frameBytes = size_t{(format.bits + 7u) / 8u} * format.channels;
    const auto frames = static_cast<uint32_t>(frameBytes ? sampleBytes.size() / frameBytes : 0);
    return formAiff(chunk("COMM", commData(format, frames), kBig) +
                    chunk("SSND", ssndData(sampleBytes), kBig));
}

Bytes formAiff(const Bytes& chunks) {
    return chunk("FORM", id("AIFF") + chunks, kBig);
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
