#include "convert/ConversionError.h"

namespace velk::convert {

ConversionError::ConversionError(ConversionFault fault, const std::string& path, const std::string& reason)
    : std::runtime_error(path + (reason.empty() ? "" : ": " + reason)),
      m_Fault(fault),
      m_Path(path),
      m_Reason(reason) {}

const char* ConversionError::messageKey() const {
    switch (m_Fault) {
        case ConversionFault::UnreadableInput:
            return "Convert_Err_Unreadable";
        case ConversionFault::EmptyInput:
            return "Convert_Err_Empty";
        case ConversionFault::NotFinite:
            return "Convert_Err_NotFinite";
        case ConversionFault::MissingChannel:
            return "Convert_Err_MissingChannel";
        case ConversionFault::TooManyChannels:
            return "Convert_Err_TooManyChannels";
        case ConversionFault::SilentInput:
            return "Convert_Err_Silent";
        case ConversionFault::ResampleFailed:
            return "Convert_Err_Resample";
        case ConversionFault::OutputExists:
            return "Convert_Err_Exists";
        case ConversionFault::OutputNotWritten:
            return "Convert_Err_Write";
    }
    return "Convert_Err_Write";
}

}  // namespace velk::convert
