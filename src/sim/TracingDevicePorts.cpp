#include "sim/TracingDevicePorts.h"

#include <utility>

namespace velk::sim {

TracingDevicePorts::TracingDevicePorts(std::unique_ptr<DevicePorts> traced,
                                       std::shared_ptr<midi::TraceLog> log)
    : m_Traced(std::move(traced)), m_Log(std::move(log)) {}

int TracingDevicePorts::plug(const std::string& name, ReceiveHandler handler) {
    return m_Traced->plug(name, [log = m_Log, handler = std::move(handler)](std::span<const uint8_t> bytes) {
        log->write(midi::TraceDirection::In, bytes);
        handler(bytes);
    });
}

int TracingDevicePorts::send(std::span<const uint8_t> bytes) {
    m_Log->write(midi::TraceDirection::Out, bytes);
    return m_Traced->send(bytes);
}

}  // namespace velk::sim
