#include "common/DebugUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DebugFileStem, dropsDirectoriesAndExtension) {
    char out[32];
    EXPECT_STREQ(mstd::debugFileStem("/src/common/VelkManager.cpp", out, sizeof out), "VelkManager");
    EXPECT_STREQ(mstd::debugFileStem("MIDIManager", out, sizeof out), "MIDIManager");
}

TEST(LogPlatformFailure, writesMessageStemAndLine) {
    testing::internal::CaptureStderr();
    mstd::logPlatformFailure("MPCreateSemaphore returned error.", "/x/y/MIDIManager.cpp", 42);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "MPCreateSemaphore returned error. (MIDIManager:42)\n");
}

}  // namespace
