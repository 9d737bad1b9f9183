#include "midi/ServiceSelection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ServiceSelection, forcedAlsaWithoutASequencerSaysWhy) {
    if (std::filesystem::exists("/dev/snd/seq"))
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    midi::ServiceSelection selection = midi::selectService(midi::ServiceChoice::Alsa);
    EXPECT_EQ(selection.service, nullptr);
    EXPECT_THAT(selection.unavailableReason, testing::StartsWith("no ALSA sequencer"));
}

}  // namespace
