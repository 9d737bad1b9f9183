#include "midi/SequencerInputGate.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using midi::SequencerInputGate;
using Address = SequencerInputGate::Address;

constexpr int kOurPort = 1;
constexpr Address kAmp{20, 0};
constexpr Address kOther{21, 0};

struct AdmitCase {
    const char* name;
    bool open;
    bool anySource;
    int port;
    Address source;
    bool admitted;
};

const AdmitCase kAdmitCases[] = {
    {"closedInputTakesNothing", false, false, kOurPort, kAmp, false},
    {"openInputTakesItsSource", true, false, kOurPort, kAmp, true},
    {"openInputRefusesAnotherSource", true, false, kOurPort, kOther, false},
    {"openInputRefusesAnotherPort", true, false, kOurPort + 1, kAmp, false},
    {"listeningInputTakesAnySource", true, true, kOurPort, kOther, true},
    {"listeningInputRefusesAnotherPort", true, true, kOurPort + 1, kOther, false},
};

TEST(SequencerInputGate, takesOnlyWhatIsSentToTheOpenInput) {
    for (const AdmitCase& row : kAdmitCases) {
        SequencerInputGate gate;
        if (row.open)
            gate.open(kOurPort, row.anySource ? std::nullopt : std::optional(kAmp));
        EXPECT_EQ(gate.admit(row.port, row.source).has_value(), row.admitted) << row.name;
    }
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
