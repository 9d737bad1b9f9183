#include "midi/ServiceSelection.h"

#include "midi/BackendModule.h"

#include <functional>

namespace midi {

namespace {

// What opening one backend gave: the service or device, else why not.
template <typename Opened>
struct Attempt {
    Opened opened;
    std::string whyNot;
};

// ALSA, JACK, or for Auto the ALSA sequencer when it can be opened and else JACK.
template <typename Opened>
Attempt<Opened> attempt(ServiceChoice choice, const std::function<Attempt<Opened>()>& alsa,
                        const std::function<Attempt<Opened>()>& jack) {
    switch (choice) {
        case ServiceChoice::Alsa:
            return alsa();
        case ServiceChoice::Jack:
            return jack();
        case ServiceChoice::Auto:
            break;
    }
    Attempt<Opened> fromAlsa = alsa();
    if (fromAlsa.opened)
        return fromAlsa;
    Attempt<Opened> fromJack = jack();
    if (fromJack.opened)
        return fromJack;
    return {nullptr, fromAlsa.whyNot + " and " + fromJack.whyNot};
}

using ServiceAttempt = Attempt<std::shared_ptr<MidiService>>;
using DeviceAttempt = Attempt<std::unique_ptr<MidiDevice>>;

// What `open` gives on a backend, else why not: its module could not be loaded, or the backend's
// own reason.
template <typename Opened, typename Open>
Attempt<Opened> onBackend(Backend backend, const Open& open) {
    std::string whyNot;
    const BackendEntry* entry = loadBackend(backend, whyNot);
    if (!entry)
        return {nullptr, whyNot};
    Opened opened = open(*entry, whyNot);
    const char* absent = backend == Backend::Alsa ? "no ALSA sequencer" : "no JACK server running";
    return {std::move(opened), std::string(absent) + " (" + whyNot + ")"};
}

ServiceAttempt serviceOn(Backend backend) {
    return onBackend<std::shared_ptr<MidiService>>(
        backend, [](const BackendEntry& entry, std::string& whyNot) { return entry.openService(whyNot); });
}

DeviceAttempt deviceOn(Backend backend, const std::string& name, const MidiService::InputHandler& handler) {
    return onBackend<std::unique_ptr<MidiDevice>>(backend,
                                                  [&](const BackendEntry& entry, std::string& whyNot) {
                                                      return entry.openDevice(name, handler, whyNot);
                                                  });
}

}  // namespace

std::optional<ServiceChoice> parseServiceChoice(std::string_view text) {
    if (text == "auto")
        return ServiceChoice::Auto;
    if (text == "alsa")
        return ServiceChoice::Alsa;
    if (text == "jack")
        return ServiceChoice::Jack;
    return std::nullopt;
}

ServiceSelection selectService(ServiceChoice choice) {
    ServiceAttempt opened = attempt<std::shared_ptr<MidiService>>(
        choice, [] { return serviceOn(Backend::Alsa); }, [] { return serviceOn(Backend::Jack); });
    if (opened.opened)
        return {std::move(opened.opened), ""};
    return {nullptr, std::move(opened.whyNot)};
}

DeviceSelection openDevice(ServiceChoice choice, const std::string& name, MidiService::InputHandler handler) {
    DeviceAttempt opened = attempt<std::unique_ptr<MidiDevice>>(
        choice, [&] { return deviceOn(Backend::Alsa, name, handler); },
        [&] { return deviceOn(Backend::Jack, name, handler); });
    if (opened.opened)
        return {std::move(opened.opened), ""};
    return {nullptr, std::move(opened.whyNot)};
}

}  // namespace midi
