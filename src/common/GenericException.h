#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace mstd {

// The one exception type of the core: it carries a code from ErrorCodes.h, never user text.
class CGenericException : public std::exception {
public:
    CGenericException(int32_t errorCode, int32_t osErrorCode, const char* errFileName)
        : m_ErrorCode(errorCode), m_OSErrorCode(osErrorCode), m_ErrFileName(errFileName ? errFileName : "") {}
    ~CGenericException() override = default;

    int32_t getErrorCode() const { return m_ErrorCode; }
    int32_t getOSErrorCode() const { return m_OSErrorCode; }
    const std::string& getErrFileName() const { return m_ErrFileName; }

private:
    int32_t m_ErrorCode;
    int32_t m_OSErrorCode;
    std::string m_ErrFileName;
};

}  // namespace mstd
