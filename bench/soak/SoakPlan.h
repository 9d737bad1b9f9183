#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/FIRCOE.h"
#include "sim/AmpModel.h"
#include "sim/AmpState.h"

namespace velk::soak {

// What the user asks for in one step, as the windows post it.
enum class Action { Effect, Preview, Bypass, Gain, Install, Rename, Reset, SelectStored, FullRead };

// What goes wrong meanwhile, on the head or on the wire.
enum class Fault {
    None,
    Silence,           // the head takes and answers nothing for a while
    DropReplies,       // replies of one kind are lost
    LateReplies,       // replies of one kind come after the editor stopped waiting (over 5 s)
    SlowReplies,       // every reply takes a few real milliseconds
    DuplicateReplies,  // replies of one kind arrive twice
    RejectPackets,     // the head refuses chosen coefficient packets
    FailFlash,         // the next flash write fails
    CorruptDumps,      // the next dumps carry a bad checksum
    SwitchModel,       // the head is swapped for the other model
    UnplugMidway,      // the head vanishes on the nth message of one kind and comes back later
    TurnAmpTypeKnob,   // the player turns an amp's type knob
};

struct Step {
    Action action = Action::Effect;
    // A second action queued right behind the first, so that both run in one pass: an install,
    // an effect change, or a preview behind an action that stages nothing.
    std::optional<Action> then;
    int amp = 0;
    int32_t request = 0;  // for Effect: the request kind
    int32_t value = 0;    // for Effect
    int32_t gain = 0;     // for Gain
    FIRCOE record{};      // for Preview; its name for Rename

    Fault fault = Fault::None;
    sim::Request faultRequest = sim::Request::Ignored;  // the kind of message the fault acts on
    int faultCount = 0;                                 // how many (WireFaults::kForever for all)
    int faultAfter = 0;                                 // how many of that kind pass first
    uint64_t faultAtMS = 0;                             // clock time after the step starts
    uint64_t faultLastsMS = 0;
    std::bitset<10> rejectedPackets;
    int ampType = 0;  // for TurnAmpTypeKnob

    uint64_t dwellMS = 0;  // clock time the step lasts at least, for the heartbeat to play
};

// A head and what happens to it: everything a scenario does follows from its seed.
struct Plan {
    sim::HeadModel model = sim::HeadModel::Dual;
    sim::AmpState headState;
    std::vector<Step> steps;
};

Plan makePlan(uint64_t seed);
std::string describe(const Step& step);

}  // namespace velk::soak
