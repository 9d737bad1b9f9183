#pragma once

#include <memory>

#include "midi/TraceLog.h"
#include "sim/DevicePorts.h"

namespace velk::sim {

// A head's ports that write every message the head receives ("in") and sends ("out") to a trace
// log, and otherwise are the ports they wrap.
class TracingDevicePorts : public DevicePorts {
public:
    TracingDevicePorts(std::unique_ptr<DevicePorts> traced, std::shared_ptr<midi::TraceLog> log);

    int plug(const std::string& name, ReceiveHandler handler) override;
    void unplug() override { m_Traced->unplug(); }
    int send(std::span<const uint8_t> bytes) override;
    std::string serviceName() const override { return m_Traced->serviceName(); }
    std::string shownName() const override { return m_Traced->shownName(); }
    std::string plugFailure() const override { return m_Traced->plugFailure(); }

private:
    const std::unique_ptr<DevicePorts> m_Traced;
    const std::shared_ptr<midi::TraceLog> m_Log;
};

}  // namespace velk::sim
