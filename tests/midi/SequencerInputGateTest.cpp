#include "midi/SequencerInputGate.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using midi::SequencerInputGate;
using Address = SequencerInputGate::Address;

constexpr int kOurPort = 1;
constexpr Address kAmp{20, 0};
constexpr Address kOther{21, 0};

TEST(SequencerInputGate, takesOnlyWhatIsSentToTheOpenInput) {
    SequencerInputGate gate;
    EXPECT_FALSE(gate.admit(kOurPort, kAmp).has_value()) << "closed, it takes nothing";
    gate.open(kOurPort, kAmp);
    EXPECT_TRUE(gate.admit(kOurPort, kAmp).has_value());
    EXPECT_FALSE(gate.admit(kOurPort, kOther).has_value());
    EXPECT_FALSE(gate.admit(kOurPort + 1, kAmp).has_value());
    SequencerInputGate listening;  // to any source
    listening.open(kOurPort, std::nullopt);
    EXPECT_TRUE(listening.admit(kOurPort, kOther).has_value());
    EXPECT_FALSE(listening.admit(kOurPort + 1, kOther).has_value());
}

// What happens to our input between reading an event and handing it to the handler.
enum class Step { Close, Reopen };

struct DeliveryCase {
    const char* name;
    std::vector<Step> between;
    bool delivered;
};

const DeliveryCase kDeliveryCases[] = {
    {"inputStillOpen", {}, true},
    {"inputClosed", {Step::Close}, false},
    // The next input gets the same port number and source back, as the sequencer hands them out.
    {"inputClosedAndOpenedAgain", {Step::Close, Step::Reopen}, false},
    {"inputOpenedTwiceAgain", {Step::Close, Step::Reopen, Step::Close, Step::Reopen}, false},
};

TEST(SequencerInputGate, handsOverOnlyWhatWasReadForTheInputStillOpen) {
    for (const DeliveryCase& row : kDeliveryCases) {
        SequencerInputGate gate;
        gate.open(kOurPort, kAmp);
        const std::optional<uint64_t> opening = gate.admit(kOurPort, kAmp);
        ASSERT_TRUE(opening);
        for (Step step : row.between) {
            if (step == Step::Close)
                gate.close();
            else
                gate.open(kOurPort, kAmp);
        }
        EXPECT_EQ(gate.lasts(*opening), row.delivered) << row.name;
    }
}

}  // namespace
