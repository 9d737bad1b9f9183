#include "midi/TracingMidiService.h"

#include <utility>

namespace midi {

TracingMidiService::TracingMidiService(std::shared_ptr<MidiService> traced, std::shared_ptr<TraceSink> log)
    : m_Traced(std::move(traced)), m_Log(std::move(log)) {}

// Each delivery is one line, as the service handed it over: a message split over deliveries
// shows as its parts.
int TracingMidiService::openInput(const Endpoint& source, InputHandler handler) {
    return m_Traced->openInput(source,
                               [log = m_Log, handler = std::move(handler)](const PacketList& packets) {
                                   for (const Packet& packet : packets)
                                       log->write(TraceDirection::In, packet.bytes);
                                   handler(packets);
                               });
}

// Logged before the hand-over: once handed over, the bytes belong to the service until completion.
int TracingMidiService::sendSysex(SysexRequest& request) {
    m_Log->write(TraceDirection::Out, {request.data, request.length});
    return m_Traced->sendSysex(request);
}

int TracingMidiService::sendPacket(const uint8_t* bytes, uint32_t length) {
    m_Log->write(TraceDirection::Out, {bytes, length});
    return m_Traced->sendPacket(bytes, length);
}

}  // namespace midi
