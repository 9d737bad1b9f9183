#include "midi/ServiceSelection.h"

#if VELK_HAVE_ALSA
#include "midi/AlsaService.h"
#endif
#if VELK_HAVE_JACK
#include "midi/JackService.h"
#endif

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

ServiceAttempt alsaService() {
#if VELK_HAVE_ALSA
    std::string whyNot;
    auto service = openAlsaService(whyNot);
    return {std::move(service), "no ALSA sequencer (" + whyNot + ")"};
#else
    return {nullptr, "built without ALSA sequencer support"};
#endif
}

ServiceAttempt jackService() {
#if VELK_HAVE_JACK
    std::string whyNot;
    auto service = openJackService(whyNot);
    return {std::move(service), "no JACK server running (" + whyNot + ")"};
#else
    return {nullptr, "built without JACK support"};
#endif
}

DeviceAttempt alsaDevice([[maybe_unused]] const std::string& name,
                         [[maybe_unused]] MidiService::InputHandler handler) {
#if VELK_HAVE_ALSA
    std::string whyNot;
    auto device = openAlsaDevice(name, std::move(handler), whyNot);
    return {std::move(device), "no ALSA sequencer (" + whyNot + ")"};
#else
    return {nullptr, "built without ALSA sequencer support"};
#endif
}

DeviceAttempt jackDevice([[maybe_unused]] const std::string& name,
                         [[maybe_unused]] MidiService::InputHandler handler) {
#if VELK_HAVE_JACK
    std::string whyNot;
    auto device = openJackDevice(name, std::move(handler), whyNot);
    return {std::move(device), "no JACK server running (" + whyNot + ")"};
#else
    return {nullptr, "built without JACK support"};
#endif
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
    ServiceAttempt opened = attempt<std::shared_ptr<MidiService>>(choice, alsaService, jackService);
    if (opened.opened)
        return {std::move(opened.opened), ""};
    return {nullptr, std::move(opened.whyNot)};
}

DeviceSelection openDevice(ServiceChoice choice, const std::string& name, MidiService::InputHandler handler) {
    DeviceAttempt opened = attempt<std::unique_ptr<MidiDevice>>(
        choice, [&] { return alsaDevice(name, handler); }, [&] { return jackDevice(name, handler); });
    if (opened.opened)
        return {std::move(opened.opened), ""};
    return {nullptr, std::move(opened.whyNot)};
}

}  // namespace midi
