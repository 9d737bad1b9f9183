#include "common/ErrorCodes.h"
#include "common/GenericException.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ErrorMessageKey, mapsEveryCodeOfTheTableAndAnyOtherToErrUnknown) {
    const std::pair<int, std::string> table[] = {
        {1000, "Err_MIDIOpen"},
        {1001, "Err_MIDISend"},
        {1002, "Err_ReceiveData"},
        {1003, "Err_FIRData_Write"},
        {1004, "Err_Timeout"},
        {1005, "Err_FIRFile_Open"},
        {1006, "Err_FIRFile_Channel"},
        {1007, "Err_FIRFile_SampleRate"},
        {1008, "Err_FIRFile_SampleSize"},
        {1009, "Err_FIRFile_Read"},
        {1010, "Err_Unknown"},
        {0, "Err_Unknown"},
        {999, "Err_Unknown"},
        {1011, "Err_Unknown"},
        {-1, "Err_Unknown"},
    };
    for (const auto& [code, key] : table)
        EXPECT_EQ(mstd::errorMessageKey(code), key) << code;
}

TEST(GenericException, keepsCodesAndCopiesTheFileName) {
    std::string name = "amp.wav";
    mstd::CGenericException e(1005, 2, name.c_str());
    name = "changed";
    EXPECT_EQ(e.getErrorCode(), 1005);
    EXPECT_EQ(e.getOSErrorCode(), 2);
    EXPECT_EQ(e.getErrFileName(), "amp.wav");
}

}  // namespace
