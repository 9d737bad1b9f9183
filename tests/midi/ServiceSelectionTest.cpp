#include "midi/ServiceSelection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ServiceChoice, parsesTheThreeChoicesAndNothingElse) {
    EXPECT_EQ(midi::parseServiceChoice("auto"), midi::ServiceChoice::Auto);
    EXPECT_EQ(midi::parseServiceChoice("alsa"), midi::ServiceChoice::Alsa);
    EXPECT_EQ(midi::parseServiceChoice("jack"), midi::ServiceChoice::Jack);
    for (const char* refused : {"ALSA", "", "coremidi"})
        EXPECT_EQ(midi::parseServiceChoice(refused), std::nullopt) << refused;
}

TEST(ServiceSelection, forcedAlsaWithoutASequencerSaysWhy) {
    if (std::filesystem::exists("/dev/snd/seq"))
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    midi::ServiceSelection selection = midi::selectService(midi::ServiceChoice::Alsa);
    EXPECT_EQ(selection.service, nullptr);
    EXPECT_THAT(selection.unavailableReason, testing::StartsWith("no ALSA sequencer"));
}

}  // namespace
