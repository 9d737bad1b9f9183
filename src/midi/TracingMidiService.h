#pragma once

#include <memory>

#include "midi/MidiService.h"
#include "midi/TraceLog.h"

namespace midi {

// A service that reports every message it sends and every delivery it receives to a trace sink,
// and otherwise is the service it wraps. Wrap the service before the port manager opens it.
class TracingMidiService : public MidiService {
public:
    TracingMidiService(std::shared_ptr<MidiService> traced, std::shared_ptr<TraceSink> log);

    std::string serviceName() const override { return m_Traced->serviceName(); }
    bool alive() const override { return m_Traced->alive(); }
    std::vector<Endpoint> sources() override { return m_Traced->sources(); }
    std::vector<Endpoint> destinations() override { return m_Traced->destinations(); }
    int openInput(const Endpoint& source, InputHandler handler) override;
    int closeInput() override { return m_Traced->closeInput(); }
    int openOutput(const Endpoint& destination) override { return m_Traced->openOutput(destination); }
    int closeOutput() override { return m_Traced->closeOutput(); }
    int sendSysex(SysexRequest& request) override;
    int sendPacket(const uint8_t* bytes, uint32_t length) override;
    void setChangeHandler(ChangeHandler handler) override { m_Traced->setChangeHandler(std::move(handler)); }

private:
    const std::shared_ptr<MidiService> m_Traced;
    const std::shared_ptr<TraceSink> m_Log;
};

}  // namespace midi
