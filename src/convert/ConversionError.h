#pragma once

#include <stdexcept>
#include <string>

namespace velk::convert {

// Why a conversion stopped. When one is thrown, nothing has been written.
enum class ConversionFault {
    UnreadableInput,  // cannot be opened, or is no audio file libsndfile reads
    EmptyInput,       // holds no sample frames
    NotFinite,        // a floating-point sample is infinite or not a number
    MissingChannel,   // the right channel of a mono file
    TooManyChannels,  // more than two channels, and no single one chosen
    SilentInput,      // all zero: there is no peak to scale to a level
    ResampleFailed,
    OutputExists,
    OutputNotWritten,
};

class ConversionError : public std::runtime_error {
public:
    // `path` is the file concerned; `reason` what the system or a library said about it, if anything.
    ConversionError(ConversionFault fault, const std::string& path, const std::string& reason = {});

    ConversionFault fault() const { return m_Fault; }
    const std::string& path() const { return m_Path; }
    const std::string& reason() const { return m_Reason; }
    // The string-table key of the message: %1 is the file, and %2 the reason where there is one
    // (the reason is empty exactly for the faults whose message has no %2).
    const char* messageKey() const;

private:
    ConversionFault m_Fault;
    std::string m_Path;
    std::string m_Reason;
};

}  // namespace velk::convert
