#include "SoakScenario.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "AckLedger.h"
#include "MirrorCheck.h"
#include "SoakPlan.h"
#include "SoakRig.h"

namespace velk::soak {

namespace {

// Clock time within which a step's requests must have ended (each awaited reply may take 5 s,
// and a dump is tried up to six times).
constexpr uint64_t kStepLimitMS = 60'000;
// From a head that answers again to a manager that has read it whole: the 3-second search, the
// connection sequence, and a dropped connection's 6-second silence limit.
constexpr uint64_t kReconnectLimitMS = 30'000;
constexpr uint64_t kSettleMS = 50;
constexpr auto kDeliveryPatience = std::chrono::milliseconds(200);

class Scenario {
public:
    Scenario(uint64_t seed, bool trace)
        : m_Plan(makePlan(seed)),
          m_Trace(trace),
          m_Rig(m_Plan.headState, [this](const Event& event) { onEvent(event); }) {}

    std::vector<std::string> run() {
        if (!reconnect("the manager did not connect to the head"))
            return m_Failures;
        for (size_t n = 0; n < m_Plan.steps.size() && m_Failures.empty(); ++n) {
            m_StepName = "step " + std::to_string(n + 1) + " (" + describe(m_Plan.steps[n]) + ")";
            if (m_Trace)
                std::fprintf(stderr, "%8llu ms  %s\n", static_cast<unsigned long long>(m_Rig.nowMS()),
                             m_StepName.c_str());
            runStep(m_Plan.steps[n]);
        }
        return m_Failures;
    }

private:
    void fail(const std::string& what) { m_Failures.push_back(m_StepName + ": " + what); }

    // The main window's and the settings window's answers to the manager's events.
    void onEvent(const Event& event) {
        m_StepEvents.push_back(event.id);
        if (m_Trace)
            std::fprintf(stderr, "%8llu ms    event %d data %d\n",
                         static_cast<unsigned long long>(m_Rig.nowMS()), event.id, event.data);
        m_Ledger.onEvent(event);
        switch (event.id) {
            case eVelkEvent_NotConnected:
                m_Rig.post(eVelkRequest_Open);
                break;
            case eVelkEvent_Connected:
                m_Rig.post(eVelkRequest_MainVersion);
                break;
            case eVelkEvent_MainVersion:
                if (event.data != m_Rig.head().state().mainVersion)
                    fail("main version " + std::to_string(event.data) + " announced, the head has " +
                         std::to_string(m_Rig.head().state().mainVersion));
                m_Rig.post(eVelkRequest_AllBulkDump);
                break;
            case eVelkEvent_FIRDataInitialized:
                m_Rig.post(eVelkRequest_AllBulkDump);
                break;
            default:
                break;
        }
    }

    // Faults are over: the manager finds the head again and reads it whole. A read that failed
    // on a connection that stayed up is asked for again, as the user would.
    bool reconnect(const std::string& failure) {
        bool readAsked = false;
        const bool ready = m_Rig.driveUntil(
            [&] {
                if (!m_Rig.idle())
                    return false;
                // A switched head is noticed only at its next heartbeat reply.
                const auto headModel = static_cast<uint8_t>(m_Rig.head().state().model);
                if (m_Ledger.synced() && m_Rig.manager().getModel() == headModel)
                    return true;
                if (m_Rig.manager().isConnected() && !readAsked) {
                    m_Rig.post(eVelkRequest_AllBulkDump);
                    readAsked = true;
                }
                return false;
            },
            kReconnectLimitMS);
        if (!ready)
            fail(failure);
        return ready;
    }

    void runStep(const Step& step) {
        const bool losesMessages = armFault(step);
        if (losesMessages)
            m_Ledger.forgetAfterWireFault();
        m_StepEvents.clear();
        postAction(step, step.action);
        if (step.then)
            postAction(step, *step.then);
        const uint64_t endsNoEarlierThan = m_Rig.nowMS() + step.dwellMS;
        if (!m_Rig.driveUntil([&] { return m_Rig.idle() && m_Rig.nowMS() >= endsNoEarlierThan; },
                              kStepLimitMS)) {
            fail("hang: its requests neither ended nor failed within " + std::to_string(kStepLimitMS / 1000) +
                 " s of clock time");
            return;
        }
        settle();
        checkOutcome(step.then.value_or(step.action));
        if (losesMessages)
            m_Ledger.forgetAfterWireFault();
        // The manager learns of a swapped head only at its next heartbeat: what it acknowledged
        // before then was acknowledged by the old head.
        if (step.fault == Fault::SwitchModel)
            m_Ledger.resetStarts();
        compareMirror("");
        clearFaults();
        if (reconnect("the manager did not reconnect once the fault was over")) {
            settle();
            compareMirror("once the faults were over, ");
        }
    }

    // A request ends in the event that announces it, or in a failure that drops the requests
    // behind it; one that vanished without either was dropped silently. The event of a reply comes
    // from the receiving thread after the request that waited for it has moved on, so it may still
    // be on its way when everything is idle.
    void checkOutcome(Action last) {
        if (!outcomeMissing(last))
            return;
        letDeliveriesArrive();
        if (outcomeMissing(last))
            fail("its last request was neither carried out nor reported as failed");
    }

    bool outcomeMissing(Action last) const {
        const auto heard = [this](EVelkEventID id) {
            return std::find(m_StepEvents.begin(), m_StepEvents.end(), id) != m_StepEvents.end();
        };
        if (heard(eVelkEvent_Error) || heard(eVelkEvent_Disconnected))
            return false;
        const std::vector<EVelkEventID> outcomes = announcedBy(last);
        return !outcomes.empty() && std::none_of(outcomes.begin(), outcomes.end(), heard);
    }

    static std::vector<EVelkEventID> announcedBy(Action action) {
        switch (action) {
            case Action::Preview:
                return {eVelkEvent_FIRCOESent};
            case Action::Bypass:
                return {eVelkEvent_BypassSent};
            case Action::Install:
            case Action::Rename:
                return {eVelkEvent_FIRWriteDone, eVelkEvent_FIRWriteFailed};
            case Action::Reset:
                return {eVelkEvent_FIRDataInitialized};
            case Action::FullRead:
                return {eVelkEvent_AllDataReceived};
            default:
                return {};
        }
    }

    // A message sent without a reply to wait for (an effect change, a name character) or an
    // announcement of the head may still be on its way when everything is idle, so a difference
    // counts only if it is still there a while later.
    void compareMirror(const std::string& when) {
        std::vector<std::string> differences;
        const auto collect = [&differences](const std::string& what) { differences.push_back(what); };
        checkMirror(m_Rig, m_Ledger, collect);
        if (differences.empty())
            return;
        letDeliveriesArrive();
        differences.clear();
        checkMirror(m_Rig, m_Ledger, collect);
        for (const std::string& difference : differences)
            fail(when + difference);
    }

    void letDeliveriesArrive() {
        std::this_thread::sleep_for(kDeliveryPatience);
        settle();
    }

    // Lets what is still on its way (an announcement of the head, a late reply) arrive.
    void settle() {
        const uint64_t until = m_Rig.nowMS() + kSettleMS;
        m_Rig.driveUntil([&] { return m_Rig.idle() && m_Rig.nowMS() >= until; }, kStepLimitMS);
    }

    void postAction(const Step& step, Action action) {
        switch (action) {
            case Action::Effect:
                postEffect(step);
                break;
            case Action::Preview:
                m_Ledger.playChanges(step.amp, true);
                m_Rig.onMainThread([this, &step] { m_Rig.manager().setSpeakerTabFIRCOE(step.record); });
                m_Rig.post(eVelkRequest_FIRCOE, step.amp);
                break;
            case Action::Bypass:
                m_Ledger.playChanges(step.amp, true);
                m_Rig.post(eVelkRequest_Bypass, step.amp);
                break;
            case Action::Gain:
                m_Ledger.playChanges(step.amp, false);
                m_Rig.post(eVelkRequest_FIRGain, step.amp, step.gain);
                break;
            case Action::Install:
                m_Ledger.flashStarts(step.amp, m_Rig.manager());
                m_Rig.post(eVelkRequest_FIRDataWrite, step.amp);
                break;
            case Action::Rename:
                m_Ledger.playsStored(step.amp, m_Rig.manager());
                m_Ledger.playChanges(step.amp, false);
                m_Rig.post(eVelkRequest_ChangeFIR, step.amp);
                m_Rig.onMainThread([this, &step] { m_Rig.manager().setSpeakerTabIrName(step.record.name); });
                m_Rig.post(eVelkRequest_FIRName, step.amp);
                m_Ledger.flashStarts(step.amp, m_Rig.manager());
                m_Rig.post(eVelkRequest_FIRDataWrite, step.amp);
                break;
            case Action::Reset:
                m_Ledger.resetStarts();
                m_Rig.post(eVelkRequest_InitFIRData);
                break;
            case Action::SelectStored:
                m_Ledger.playsStored(step.amp, m_Rig.manager());
                m_Rig.post(eVelkRequest_ChangeFIR, step.amp);
                break;
            case Action::FullRead:
                m_Rig.post(eVelkRequest_AllBulkDump);
                break;
        }
    }

    // The FX loop connection is one setting of the whole head: its value is the first argument.
    void postEffect(const Step& step) {
        const auto kind = static_cast<eVelkRequestEvent>(step.request);
        if (kind == eVelkRequest_SendConnection || kind == eVelkRequest_ReturnConnection)
            m_Rig.post(kind, step.value);
        else
            m_Rig.post(kind, step.amp, step.value);
    }

    // Sets the step's fault on the head, now or at its time; true when messages may be lost.
    bool armFault(const Step& step) {
        sim::AmpSimulator& head = m_Rig.head();
        const uint64_t start = m_Rig.nowMS();
        const uint64_t faultAt = start + step.faultAtMS;
        const uint64_t faultEnds = faultAt + step.faultLastsMS;
        switch (step.fault) {
            case Fault::None:
                return false;
            case Fault::Silence:
                m_Rig.at(faultAt, [&head] { head.setSilent(true); });
                m_Rig.at(faultEnds, [&head] { head.setSilent(false); });
                return true;
            case Fault::DropReplies:
                head.editWireFaults([&step](sim::WireFaults& w) {
                    w.dropReplies(step.faultRequest, step.faultCount, step.faultAfter);
                });
                return true;
            case Fault::LateReplies:
                head.editWireFaults([&step](sim::WireFaults& w) { w.holdReplies(step.faultRequest, true); });
                m_Rig.at(faultEnds, [&head, &step] {
                    head.editWireFaults(
                        [&step](sim::WireFaults& w) { w.holdReplies(step.faultRequest, false); });
                    head.releaseHeldReplies();
                });
                return true;
            case Fault::SlowReplies:
                head.editWireFaults(
                    [](sim::WireFaults& w) { w.setReplyDelay(std::chrono::milliseconds(2)); });
                return false;
            case Fault::DuplicateReplies:
                head.editWireFaults([&step](sim::WireFaults& w) {
                    w.duplicateReplies(step.faultRequest, step.faultCount, step.faultAfter);
                });
                return false;
            case Fault::RejectPackets:
                head.editAmpFaults([&step](sim::AmpFaults& f) { f.rejectedPackets = step.rejectedPackets; });
                return false;
            case Fault::FailFlash:
                head.editAmpFaults([](sim::AmpFaults& f) { f.failingFlashWrites = 1; });
                return false;
            case Fault::CorruptDumps:
                head.editAmpFaults([&step](sim::AmpFaults& f) { f.corruptDumps = step.faultCount; });
                return false;
            case Fault::SwitchModel:
                m_Rig.at(faultAt, [this, &head] {
                    const auto state = head.state();
                    head.switchModel(state.model == sim::HeadModel::Single ? sim::HeadModel::Dual
                                                                           : sim::HeadModel::Single);
                    m_Ledger.forgetSlots();
                });
                return true;
            case Fault::UnplugMidway:
                head.editWireFaults(
                    [&step](sim::WireFaults& w) { w.unplugOn(step.faultRequest, step.faultAfter + 1); });
                m_Rig.at(faultEnds, [&head] { head.plug(); });
                return true;
            case Fault::TurnAmpTypeKnob:
                m_Rig.at(faultAt, [&head, &step] { head.changeAmpType(step.amp, step.ampType); });
                return false;
        }
        return false;
    }

    void clearFaults() {
        sim::AmpSimulator& head = m_Rig.head();
        head.editWireFaults([](sim::WireFaults& w) { w = sim::WireFaults(); });
        head.editAmpFaults([](sim::AmpFaults& f) { f = sim::AmpFaults(); });
        head.setSilent(false);
        head.releaseHeldReplies();
        if (!head.isPlugged())
            head.plug();
    }

    Plan m_Plan;
    AckLedger m_Ledger;
    std::vector<std::string> m_Failures;
    std::string m_StepName = "connecting";
    std::vector<EVelkEventID> m_StepEvents;
    bool m_Trace;
    SoakRig m_Rig;  // last: its threads call back into the members above
};

}  // namespace

std::vector<std::string> runScenario(uint64_t seed, bool trace) {
    Scenario scenario(seed, trace);
    return scenario.run();
}

}  // namespace velk::soak
