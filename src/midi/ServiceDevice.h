#pragma once

#include "midi/MidiDevice.h"

#include <memory>
#include <string>

namespace midi {

// A device made of a service client of its own (the backends' device side): named after the
// device, its input taking whatever others send to it and its output going to whoever connects.
// `Service` offers closeInput(), serviceName(), clientName() and sendToConnected().
template <typename Service>
class ServiceDevice final : public MidiDevice {
public:
    explicit ServiceDevice(std::shared_ptr<Service> service) : m_Service(std::move(service)) {}
    ~ServiceDevice() override { m_Service->closeInput(); }

    std::string serviceName() const override { return m_Service->serviceName(); }
    std::string name() const override { return m_Service->clientName(); }
    int send(const uint8_t* bytes, uint32_t length) override {
        return m_Service->sendToConnected(bytes, length);
    }

private:
    std::shared_ptr<Service> m_Service;
};

}  // namespace midi
