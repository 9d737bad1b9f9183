#pragma once

#include "midi/MessageRecorder.h"
#include "midi/MidiService.h"

#include <algorithm>
#include <optional>
#include <string>

namespace midi::test {

// Sends like the port manager does: the status the send completed with, the refusal of a send the
// service did not take, or -1 when it never completed.
inline int sendSysexAndWait(MidiService& service, const Bytes& message) {
    Handoff<int> done;
    SysexRequest request;
    request.data = message.data();
    request.length = static_cast<uint32_t>(message.size());
    request.completionRefCon = &done;
    request.completion = [](SysexRequest* sent) {
        static_cast<Handoff<int>*>(sent->completionRefCon)->set(sent->status);
    };
    if (const int refused = service.sendSysex(request))
        return refused;
    return done.wait().value_or(-1);
}

// An input handler that records every packet of every delivery.
inline MidiService::InputHandler recorderFor(MessageRecorder& recorder) {
    return [&recorder](const PacketList& packets) {
        for (const Packet& packet : packets)
            recorder.record(packet.bytes);
    };
}

// The first endpoint whose name contains `text`.
inline std::optional<Endpoint> findEndpoint(const std::vector<Endpoint>& endpoints, const std::string& text) {
    const auto found = std::ranges::find_if(
        endpoints, [&](const Endpoint& e) { return e.name.find(text) != std::string::npos; });
    return found == endpoints.end() ? std::nullopt : std::optional(*found);
}

}  // namespace midi::test
