#include "VelkManagerFixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace velktest;

// ---- Gain conversions

TEST(GainConversion, knobPositionsGiveDecibelsAndGainWordsBothWays) {
    const struct {
        int position;
        double decibels;
        int16_t word;
    } table[] = {{0, -30.0, 518},  {10, -20.0, 1638}, {18, -12.0, 4115}, {20, -10.0, 5181},
                 {28, -6.0, 8211}, {34, -3.0, 11598}, {39, -0.5, 15467}, {40, 0.0, 16383},
                 {-1, -30.0, 518}, {41, 0.0, 16383},  {21, -9.5, 5488},  {5, -25.0, 921}};
    for (const auto& row : table) {
        SCOPED_TRACE("position " + std::to_string(row.position));
        EXPECT_DOUBLE_EQ(CVelkManager::gainIndex2dB(row.position), row.decibels);
        EXPECT_EQ(CVelkManager::shortGain(row.decibels), row.word);
        EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(row.word), row.decibels);
    }
    EXPECT_EQ(CVelkManager::shortGain(3.0), 16383) << "clamped to fourteen bits";
    for (int position = 0; position <= 40; ++position) {
        const double dB = CVelkManager::gainIndex2dB(position);
        EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(CVelkManager::shortGain(dB)), dB)
            << "position " << position;
    }
}

TEST(GainConversion, doubleGainSnapsToHalfDecibelsAndTreatsNegativeWordsAsTheFloor) {
    const std::pair<int16_t, double> table[] = {{-5, -30.0},   {0, -30.0},    {1, -30.0},   {16383, 0.0},
                                                {5063, -10.0}, {4780, -10.5}, {4922, -10.5}};
    for (const auto& [word, decibels] : table)
        EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(word), decibels) << "word " << word;
}

// ---- The mirror

using StateMirror = ManagerTest;

TEST_F(StateMirror, startsWithBypassPlayingAndSilentSlotsAtMinusTenDecibels) {
    FIRCOE silent{};
    silent.gain = 5181;
    FIRCOE bypass{};  // a unit impulse at unity gain
    std::strcpy(bypass.name, "Bypass");
    bypass.gain = 16383;
    bypass.coe[0] = 32767;
    EXPECT_EQ(recordBytes(playBuffer(0)), recordBytes(bypass));
    EXPECT_EQ(recordBytes(playBuffer(1)), recordBytes(bypass));
    for (int slot = 0; slot < 10; ++slot)
        EXPECT_EQ(recordBytes(firSlot(slot)), recordBytes(silent)) << "slot " << slot;
}

TEST_F(StateMirror, accessorsRefuseAmpsOtherThanIAndII) {
    EffectData effect{-7, -7, -7, -7, -7};
    EXPECT_FALSE(manager->getEffectData(2, effect));
    EXPECT_FALSE(manager->getEffectData(-1, effect));
    EXPECT_EQ(effect.boosterType, -7);
    EXPECT_EQ(manager->getAmpType(2), -1);
    EXPECT_EQ(manager->getAmpType(-1), -1);
    FIRCOE record = sampleRecord("x", 1);
    EXPECT_FALSE(manager->getPlayBuffer(2, record));
    EXPECT_FALSE(manager->setPlayBuffer(-1, record));
    EXPECT_FALSE(manager->getFirSlot(10, record));
    EXPECT_FALSE(manager->getFirSlot(-1, record));
}

TEST_F(StateMirror, ampTypesBeyondTheFiveSlotsChooseNoSlot) {
    std::array<uint8_t, 16> block{};
    block[0] = 0x7F;
    block[8] = 5;
    receive(effectDump(block));
    const FIRCOE preview = sampleRecord("Preview", 4115);
    for (int amp = 0; amp < 2; ++amp) {
        manager->setPlayBuffer(amp, preview);
        manager->setFlashBuffer(amp);
    }
    for (int slot = 0; slot < 10; ++slot)
        EXPECT_NE(recordBytes(firSlot(slot)), recordBytes(preview)) << "slot " << slot;
}

}  // namespace
