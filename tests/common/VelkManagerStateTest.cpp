#include "VelkManagerFixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace velktest;

// ---- Gain conversions

struct KnobCase {
    int position;
    double decibels;
    int16_t word;
};
void PrintTo(const KnobCase& c, std::ostream* os) {
    *os << "position " << c.position << " (" << c.decibels << " dB)";
}

class GainKnob : public testing::TestWithParam<KnobCase> {};

TEST_P(GainKnob, positionGivesDecibelsAndGainWord) {
    EXPECT_DOUBLE_EQ(CVelkManager::gainIndex2dB(GetParam().position), GetParam().decibels);
    EXPECT_EQ(CVelkManager::shortGain(GetParam().decibels), GetParam().word);
    EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(GetParam().word), GetParam().decibels);
}

INSTANTIATE_TEST_SUITE_P(KnobTable, GainKnob,
                         testing::Values(KnobCase{0, -30.0, 518}, KnobCase{10, -20.0, 1638},
                                         KnobCase{18, -12.0, 4115}, KnobCase{20, -10.0, 5181},
                                         KnobCase{28, -6.0, 8211}, KnobCase{34, -3.0, 11598},
                                         KnobCase{39, -0.5, 15467}, KnobCase{40, 0.0, 16383}));

TEST(GainKnobRange, clampsPositionsOutsideTheKnob) {
    EXPECT_DOUBLE_EQ(CVelkManager::gainIndex2dB(-1), -30.0);
    EXPECT_DOUBLE_EQ(CVelkManager::gainIndex2dB(41), 0.0);
    EXPECT_DOUBLE_EQ(CVelkManager::gainIndex2dB(21), -9.5);
    EXPECT_DOUBLE_EQ(CVelkManager::gainIndex2dB(5), -25.0);
}

TEST(GainKnobRange, everyPositionSurvivesTheTripThroughTheGainWord) {
    for (int position = 0; position <= 40; ++position) {
        const double dB = CVelkManager::gainIndex2dB(position);
        EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(CVelkManager::shortGain(dB)), dB)
            << "position " << position;
    }
}

TEST(ShortGain, clampsUnityToFourteenBits) {
    EXPECT_EQ(CVelkManager::shortGain(0.0), 16383);
    EXPECT_EQ(CVelkManager::shortGain(3.0), 16383);
}

TEST(DoubleGain, snapsToHalfDecibelsTowardsTheMoreNegativeStepAtMidpoints) {
    EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(0), -30.0);
    EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(1), -30.0);
    EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(16383), 0.0);
    EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(5063), -10.0);  // -10.2 dB
    EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(4780), -10.5);  // -10.7 dB
    EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(4922), -10.5);  // -10.45 dB
}

TEST(DoubleGain, treatsNegativeWordsAsTheFloor) {
    EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(-5), -30.0);
}

struct RoundingCase {
    int64_t fixed;
    int16_t word;
};
void PrintTo(const RoundingCase& c, std::ostream* os) {
    *os << std::hex << "0x" << c.fixed;
}

class Long2Short : public testing::TestWithParam<RoundingCase> {};

TEST_P(Long2Short, roundsUpOnlyWhenHalfAndLowestKeptBitAreSet) {
    EXPECT_EQ(CVelkManager::long2short(GetParam().fixed), GetParam().word);
}

INSTANTIATE_TEST_SUITE_P(Rounding, Long2Short,
                         testing::Values(RoundingCase{0x18000, 2}, RoundingCase{0x28000, 2},
                                         RoundingCase{0x2C000, 2}, RoundingCase{0x38000, 4},
                                         RoundingCase{0x17FFF, 1}, RoundingCase{0x40000000, 16384}));

// ---- The mirror

using StateMirror = ManagerTest;

TEST_F(StateMirror, newManagerKnowsNoAmplifier) {
    EXPECT_FALSE(manager->isConnected());
    EXPECT_EQ(manager->getModel(), 0);
    EXPECT_FALSE(manager->isEnableFxLoopConnection());
    EXPECT_EQ(manager->getMainVer(), 0);
    EXPECT_EQ(manager->getAmpType(0), 0);
    EXPECT_EQ(manager->getAmpType(1), 0);
}

TEST_F(StateMirror, bothAmpsPlayTheBypassRecordBeforeAnyAmplifierIsSeen) {
    for (int amp = 0; amp < 2; ++amp) {
        FIRCOE play;
        ASSERT_TRUE(manager->getPlayBuffer(amp, play));
        EXPECT_STREQ(play.name, "Bypass");
        EXPECT_EQ(std::count(play.name, play.name + 64, 0), 58);
        EXPECT_EQ(play.gain, 16383);
        EXPECT_EQ(play.coe[0], 32767);
        EXPECT_TRUE(std::all_of(play.coe + 1, play.coe + 2048, [](int16_t c) { return c == 0; }));
        EXPECT_DOUBLE_EQ(CVelkManager::doubleGain(play.gain), 0.0);
    }
}

TEST_F(StateMirror, storedSlotsStartSilentAtMinusTenDecibels) {
    receive(ampTypeChange(1, 4));
    FIRCOE play;
    manager->getPlayBuffer(1, play);
    EXPECT_EQ(play.gain, 5181);
    EXPECT_EQ(recordBytes(play), recordBytes([] {
                  FIRCOE silent{};
                  silent.gain = 5181;
                  return silent;
              }()));
}

TEST_F(StateMirror, accessorsRefuseAmpsOtherThanIAndII) {
    EffectData effect{-7, -7, -7, -7, -7};
    EXPECT_FALSE(manager->getEffectData(2, effect));
    EXPECT_FALSE(manager->getEffectData(-1, effect));
    EXPECT_EQ(effect.boosterType, -7);
    EXPECT_EQ(manager->getAmpType(2), -1);
    EXPECT_EQ(manager->getAmpType(-1), -1);
    FIRCOE record = recordWithPattern("x", 1, 1);
    EXPECT_FALSE(manager->getPlayBuffer(2, record));
    EXPECT_FALSE(manager->setPlayBuffer(-1, record));
}

TEST_F(StateMirror, effectDataComesFromTheEffectBlock) {
    receive(effectDump({3, 2, 1, 3, 2, 4, 5, 0, 1, 1, 0, 2, 3, 0, 0, 0}));
    EffectData ampI{-1, -1, -1, -1, -1};
    EffectData ampII{-1, -1, -1, -1, -1};
    ASSERT_TRUE(manager->getEffectData(0, ampI));
    ASSERT_TRUE(manager->getEffectData(1, ampII));
    EXPECT_EQ(ampI.ampType, -1) << "the amp type is read with getAmpType";
    EXPECT_EQ((std::array{ampI.boosterType, ampI.fxLoop, ampI.reverbType, ampI.noiseGate}),
              (std::array{2, 1, 3, 2}));
    EXPECT_EQ((std::array{ampII.boosterType, ampII.fxLoop, ampII.reverbType, ampII.noiseGate}),
              (std::array{1, 0, 2, 3}));
    EXPECT_EQ(manager->getAmpType(0), 3);
    EXPECT_EQ(manager->getAmpType(1), 1);
    FxLoopConnection connection{};
    ASSERT_TRUE(manager->getFxLoopConnection(connection));
    EXPECT_EQ(connection.sendConnection, 4);
    EXPECT_EQ(connection.returnConnection, 5);
}

TEST_F(StateMirror, flashBufferCopiesThePlayBufferIntoTheCurrentAmpTypesSlot) {
    receive(ampTypeChange(1, 3));
    const FIRCOE preview = recordWithPattern("Preview", 4115, 3);
    ASSERT_TRUE(manager->setPlayBuffer(1, preview));
    manager->setFlashBuffer(1);

    receive(ampTypeChange(1, 2));  // plays slot 7
    FIRCOE play;
    manager->getPlayBuffer(1, play);
    EXPECT_NE(recordBytes(play), recordBytes(preview));
    receive(ampTypeChange(1, 3));  // plays slot 8 again
    manager->getPlayBuffer(1, play);
    EXPECT_EQ(recordBytes(play), recordBytes(preview));
}

TEST_F(StateMirror, ampTypesBeyondTheFiveSlotsChooseNoSlot) {
    std::array<uint8_t, 16> block{};
    block[0] = 0x7F;
    block[8] = 5;
    receive(effectDump(block));
    const FIRCOE preview = recordWithPattern("Preview", 4115, 3);
    manager->setPlayBuffer(0, preview);
    manager->setPlayBuffer(1, preview);
    manager->setFlashBuffer(0);
    manager->setFlashBuffer(1);
    for (int ampType = 0; ampType < 5; ++ampType) {
        receive(ampTypeChange(1, static_cast<uint8_t>(ampType)));
        FIRCOE play;
        manager->getPlayBuffer(1, play);
        EXPECT_NE(recordBytes(play), recordBytes(preview)) << "slot " << 5 + ampType;
    }
}

TEST_F(StateMirror, stagedNameIsCopiedWhole) {
    char name[64] = {};
    std::memcpy(name, "Cab 4x12", 8);
    manager->setSpeakerTabIrName(name);
    name[0] = 'X';  // the manager keeps its own copy
    manager->setPlayBuffer(0, recordWithPattern("", 1, 0));
    manager->sendRequest(eVelkRequest_FIRName, 0, 0);
    runPassWithPauses();
    FIRCOE play;
    manager->getPlayBuffer(0, play);
    EXPECT_STREQ(play.name, "Cab 4x12");
}

TEST_F(StateMirror, informationAccessorsStoreWhatTheyAreGiven) {
    manager->setModel(0x32);
    manager->enableFxLoopConnection(true);
    manager->setMainVer(110);
    EXPECT_TRUE(manager->isConnected());
    EXPECT_TRUE(manager->isEnableFxLoopConnection());
    EXPECT_EQ(manager->getMainVer(), 110);
    manager->initInfo();
    EXPECT_FALSE(manager->isConnected());
    EXPECT_FALSE(manager->isEnableFxLoopConnection());
    EXPECT_EQ(manager->getMainVer(), 0);
}

}  // namespace
