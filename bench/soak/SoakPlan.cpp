#include "SoakPlan.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <utility>

#include "common/VelkManager.h"
#include "sim/WireFaults.h"

namespace velk::soak {

namespace {

using sim::Request;
using Random = std::mt19937_64;

constexpr int kMaxSteps = 12;
constexpr int kEffectRequests[] = {eVelkRequest_BoosterType,    eVelkRequest_FxLoop,
                                   eVelkRequest_ReverbType,     eVelkRequest_NoiseGate,
                                   eVelkRequest_SendConnection, eVelkRequest_ReturnConnection};
constexpr int kEffectChoices[] = {3, 2, 4, 4, 4, 4};  // values each setting takes

int uniform(Random& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

bool chance(Random& random, double probability) {
    return std::bernoulli_distribution(probability)(random);
}

template <typename T, size_t N>
T pick(Random& random, const std::array<std::pair<T, int>, N>& weighted) {
    int total = 0;
    for (const auto& [value, weight] : weighted)
        total += weight;
    int roll = uniform(random, 0, total - 1);
    for (const auto& [value, weight] : weighted) {
        if (roll < weight)
            return value;
        roll -= weight;
    }
    return weighted.back().first;
}

void nameRecord(FIRCOE& record, const char* prefix, Random& random) {
    std::memset(record.name, 0, sizeof record.name);
    std::snprintf(record.name, sizeof record.name, "%s %d", prefix, uniform(random, 0, 99999));
}

FIRCOE randomRecord(Random& random) {
    FIRCOE record{};
    nameRecord(record, "Soak", random);
    record.gain = static_cast<int16_t>(uniform(random, 0, 16383));
    for (int16_t& coefficient : record.coe)
        coefficient = static_cast<int16_t>(uniform(random, -32768, 32767));
    return record;
}

// Every setting of each amp and every slot's header away from the factory's.
sim::AmpState randomHead(sim::HeadModel model, Random& random) {
    sim::AmpState state = sim::AmpState::factory(model, static_cast<uint16_t>(uniform(random, 42, 130)));
    for (int amp = 0; amp < sim::ampCount(model); ++amp) {
        uint8_t* block = state.effectBlock.data() + amp * sim::AmpState::kAmpBlockStride;
        block[0] = static_cast<uint8_t>(uniform(random, 0, sim::AmpState::kAmpTypes - 1));
        for (int setting = 0; setting < 4; ++setting)
            block[1 + setting] = static_cast<uint8_t>(uniform(random, 0, kEffectChoices[setting] - 1));
    }
    for (FIRCOE& slot : state.firSlots) {
        nameRecord(slot, "Cab", random);
        slot.gain = static_cast<int16_t>(uniform(random, 0, 16383));
    }
    for (int amp = 0; amp < sim::ampCount(model); ++amp)
        state.playBuffers[amp] = state.firSlots[state.currentSlot(amp)];
    return state;
}

// The kind of reply the action waits for, which the wire faults then act on.
Request awaitedReply(Action action) {
    switch (action) {
        case Action::Preview:
        case Action::Bypass:
            return Request::CoefficientPacket;
        case Action::Install:
        case Action::Rename:
            return Request::FlashWrite;
        case Action::Reset:
            return Request::InitIrData;
        case Action::FullRead:
            return Request::Dump;
        default:
            return Request::HeartBeat;
    }
}

void chooseAction(Step& step, int amps, Random& random) {
    step.action = pick<Action, 9>(random, {{{Action::Effect, 25},
                                            {Action::Preview, 20},
                                            {Action::Bypass, 5},
                                            {Action::Gain, 10},
                                            {Action::Install, 12},
                                            {Action::Rename, 8},
                                            {Action::Reset, 4},
                                            {Action::SelectStored, 6},
                                            {Action::FullRead, 10}}});
    if (chance(random, 0.3)) {
        const bool stages = step.action == Action::Preview || step.action == Action::Rename;
        step.then = pick<Action, 3>(
            random, {{{Action::Install, 4}, {Action::Preview, stages ? 0 : 4}, {Action::Effect, 2}}});
    }
    // Now and then the amp the head lacks, as a stale window might ask.
    step.amp = chance(random, 0.05) ? 1 - (amps - 1) : uniform(random, 0, amps - 1);
    const int setting = uniform(random, 0, 5);
    step.request = kEffectRequests[setting];
    step.value = uniform(random, 0, kEffectChoices[setting] - 1);
    step.gain = uniform(random, 0, 16383);
    if (step.action == Action::Preview || step.then == Action::Preview)
        step.record = randomRecord(random);
    if (step.action == Action::Rename)
        nameRecord(step.record, "Renamed", random);
}

void chooseFault(Step& step, int amps, Random& random) {
    if (chance(random, 0.45))
        return;
    step.fault = pick<Fault, 11>(random, {{{Fault::Silence, 10},
                                           {Fault::DropReplies, 12},
                                           {Fault::LateReplies, 12},
                                           {Fault::SlowReplies, 6},
                                           {Fault::DuplicateReplies, 12},
                                           {Fault::RejectPackets, 8},
                                           {Fault::FailFlash, 8},
                                           {Fault::CorruptDumps, 8},
                                           {Fault::SwitchModel, 5},
                                           {Fault::UnplugMidway, 12},
                                           {Fault::TurnAmpTypeKnob, 10}}});
    step.faultRequest =
        chance(random, 0.8) ? awaitedReply(step.action) : static_cast<Request>(uniform(random, 1, 10));
    step.faultCount = chance(random, 0.3) ? sim::WireFaults::kForever : uniform(random, 1, 3);
    step.faultAfter = uniform(random, 0, 4);
    step.faultAtMS = static_cast<uint64_t>(uniform(random, 0, 400));
    step.faultLastsMS = static_cast<uint64_t>(uniform(random, 500, 9000));
    if (step.fault == Fault::LateReplies)
        step.faultLastsMS = static_cast<uint64_t>(uniform(random, 5100, 8000));
    step.rejectedPackets.set(static_cast<size_t>(uniform(random, 0, 9)));
    step.faultCount = step.fault == Fault::CorruptDumps ? uniform(random, 1, 7) : step.faultCount;
    step.amp = step.fault == Fault::TurnAmpTypeKnob ? uniform(random, 0, amps - 1) : step.amp;
    step.ampType = uniform(random, 0, sim::AmpState::kAmpTypes - 1);
}

const char* actionName(Action action) {
    static constexpr const char* kNames[] = {"effect", "preview", "bypass",           "gain",     "install",
                                             "rename", "reset",   "select-stored-ir", "full-read"};
    return kNames[static_cast<int>(action)];
}

const char* faultName(Fault fault) {
    static constexpr const char* kNames[] = {"none",           "silence",       "drop-replies",
                                             "late-replies",   "slow-replies",  "duplicate-replies",
                                             "reject-packets", "fail-flash",    "corrupt-dumps",
                                             "switch-model",   "unplug-midway", "turn-amp-type-knob"};
    return kNames[static_cast<int>(fault)];
}

}  // namespace

Plan makePlan(uint64_t seed) {
    Random random(seed);
    Plan plan;
    plan.model = chance(random, 0.5) ? sim::HeadModel::Single : sim::HeadModel::Dual;
    plan.headState = randomHead(plan.model, random);
    const int steps = uniform(random, 3, kMaxSteps);
    sim::HeadModel model = plan.model;
    for (int n = 0; n < steps; ++n) {
        Step step;
        const int amps = sim::ampCount(model);
        chooseAction(step, amps, random);
        chooseFault(step, amps, random);
        if (step.fault == Fault::SwitchModel)
            model = model == sim::HeadModel::Single ? sim::HeadModel::Dual : sim::HeadModel::Single;
        step.dwellMS = chance(random, 0.1) ? static_cast<uint64_t>(uniform(random, 3000, 8000)) : 0;
        plan.steps.push_back(std::move(step));
    }
    return plan;
}

std::string describe(const Step& step) {
    std::string text = std::string(actionName(step.action));
    if (step.then)
        text += std::string(" then ") + actionName(*step.then);
    text += " amp " + std::to_string(step.amp);
    if (step.fault == Fault::None)
        return text;
    return text + " with " + faultName(step.fault) + " (" + sim::requestName(step.faultRequest) + ", count " +
           std::to_string(step.faultCount) + ", after " + std::to_string(step.faultAfter) + ")";
}

}  // namespace velk::soak
