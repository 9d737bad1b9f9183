#include "midi/ServiceSelection.h"

#include <gtest/gtest.h>

namespace {

TEST(ServiceChoice, parsesTheThreeChoicesAndNothingElse) {
    EXPECT_EQ(midi::parseServiceChoice("auto"), midi::ServiceChoice::Auto);
    EXPECT_EQ(midi::parseServiceChoice("alsa"), midi::ServiceChoice::Alsa);
    EXPECT_EQ(midi::parseServiceChoice("jack"), midi::ServiceChoice::Jack);
    EXPECT_EQ(midi::parseServiceChoice("ALSA"), std::nullopt);
    EXPECT_EQ(midi::parseServiceChoice(""), std::nullopt);
    EXPECT_EQ(midi::parseServiceChoice("coremidi"), std::nullopt);
}

}  // namespace
