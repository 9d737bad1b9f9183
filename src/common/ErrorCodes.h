#pragma once

#include <cstdint>

namespace mstd {

enum EErrorCode : int32_t {
    eErr_MIDIOpen = 1000,
    eErr_MIDISend = 1001,
    eErr_ReceiveData = 1002,
    eErr_FIRDataWrite = 1003,
    eErr_Timeout = 1004,
    eErr_FIRFileOpen = 1005,
    eErr_FIRFileChannel = 1006,
    eErr_FIRFileSampleRate = 1007,
    eErr_FIRFileSampleSize = 1008,
    eErr_FIRFileRead = 1009,
    eErr_Unknown = 1010,
};

// The string-table key of the message shown for an error code; "Err_Unknown" for any code
// outside the table, so no code ever reaches the user without a message.
constexpr const char* errorMessageKey(int32_t code) {
    switch (code) {
        case eErr_MIDIOpen: return "Err_MIDIOpen";
        case eErr_MIDISend: return "Err_MIDISend";
        case eErr_ReceiveData: return "Err_ReceiveData";
        case eErr_FIRDataWrite: return "Err_FIRData_Write";
        case eErr_Timeout: return "Err_Timeout";
        case eErr_FIRFileOpen: return "Err_FIRFile_Open";
        case eErr_FIRFileChannel: return "Err_FIRFile_Channel";
        case eErr_FIRFileSampleRate: return "Err_FIRFile_SampleRate";
        case eErr_FIRFileSampleSize: return "Err_FIRFile_SampleSize";
        case eErr_FIRFileRead: return "Err_FIRFile_Read";
        default: return "Err_Unknown";
    }
}

}  // namespace mstd
