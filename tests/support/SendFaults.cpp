#include "support/SendFaults.h"

#include "midi/MessageRecorder.h"
#include "midi/TracingMidiService.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace midi::test {

struct SendFaultsState {
    // A send on its way through the wrapped service; it ends the caller's request when that one ends.
    struct Forwarded {
        SysexRequest inner;
        SysexRequest* outer;
        std::shared_ptr<MidiService> service;
        std::shared_ptr<SendFaultsState> faults;
    };

    std::mutex mutex;
    bool holding = false;
    bool completeBeforeReturn = false;
    int sendsInFlight = 0;
    std::vector<Forwarded*> held;

    void forget(Forwarded* send) {
        {
            std::lock_guard lock(mutex);
            --sendsInFlight;
        }
        delete send;
    }
    void finish(Forwarded* send, int status) {
        SysexRequest& outer = *send->outer;
        forget(send);
        completeSysex(outer, status);
    }
    // The held sends of `service`, or of every service.
    std::vector<Forwarded*> takeHeld(const MidiService* service) {
        std::lock_guard lock(mutex);
        const auto kept = std::stable_partition(held.begin(), held.end(), [&](Forwarded* send) {
            return service && send->service.get() != service;
        });
        std::vector<Forwarded*> taken(kept, held.end());
        held.erase(kept, held.end());
        return taken;
    }
};

namespace {

using Forwarded = SendFaultsState::Forwarded;

struct NoTrace final : TraceSink {
    void write(TraceDirection, std::span<const uint8_t>) override {}
};

// The wrapped service but for System Exclusive sends (tracing nothing, it only passes the rest on).
class FaultyService : public TracingMidiService {
public:
    FaultyService(std::shared_ptr<MidiService> inner, std::shared_ptr<SendFaultsState> faults)
        : TracingMidiService(inner, std::make_shared<NoTrace>()),
          m_Inner(std::move(inner)),
          m_Faults(std::move(faults)) {}
    ~FaultyService() override { cancelHeld(); }

    int closeOutput() override {
        cancelHeld();
        return TracingMidiService::closeOutput();
    }

    int sendSysex(SysexRequest& request) override {
        std::unique_lock lock(m_Faults->mutex);
        if (m_Faults->completeBeforeReturn) {
            lock.unlock();
            completeSysex(request,
                          sendSysexAndWait(*m_Inner, Bytes(request.data, request.data + request.length)));
            return 0;
        }
        auto* send =
            new Forwarded{{.data = request.data, .length = request.length}, &request, m_Inner, m_Faults};
        send->inner.completionRefCon = send;
        send->inner.completion = [](SysexRequest* done) {
            auto* self = static_cast<Forwarded*>(done->completionRefCon);
            self->faults->finish(self, done->status);
        };
        ++m_Faults->sendsInFlight;
        if (m_Faults->holding) {
            m_Faults->held.push_back(send);
            return 0;
        }
        lock.unlock();
        const int refused = m_Inner->sendSysex(send->inner);
        if (refused)
            m_Faults->forget(send);
        return refused;
    }

private:
    void cancelHeld() {
        for (Forwarded* send : m_Faults->takeHeld(m_Inner.get()))
            m_Faults->finish(send, kStatusCancelled);
    }

    std::shared_ptr<MidiService> m_Inner;
    std::shared_ptr<SendFaultsState> m_Faults;
};

}  // namespace

SendFaults::SendFaults() : m_State(std::make_shared<SendFaultsState>()) {}

std::shared_ptr<MidiService> SendFaults::wrap(std::shared_ptr<MidiService> service) {
    return std::make_shared<FaultyService>(std::move(service), m_State);
}

void SendFaults::setHolding(bool holding) {
    std::lock_guard lock(m_State->mutex);
    m_State->holding = holding;
}

void SendFaults::release() {
    for (Forwarded* send : m_State->takeHeld(nullptr)) {
        if (const int refused = send->service->sendSysex(send->inner))
            m_State->finish(send, refused);
    }
}

void SendFaults::setCompleteBeforeReturn(bool enabled) {
    std::lock_guard lock(m_State->mutex);
    m_State->completeBeforeReturn = enabled;
}

int SendFaults::sendsInFlight() const {
    std::lock_guard lock(m_State->mutex);
    return m_State->sendsInFlight;
}

}  // namespace midi::test
