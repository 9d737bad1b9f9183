#include "midi/ServiceSelection.h"

#if VELK_HAVE_ALSA
#include "midi/AlsaService.h"
#endif
#if VELK_HAVE_JACK
#include "midi/JackService.h"
#endif

namespace midi {

namespace {

ServiceSelection selectAlsa() {
#if VELK_HAVE_ALSA
    std::string whyNot;
    auto service = openAlsaService(whyNot);
    return {std::move(service), "no ALSA sequencer (" + whyNot + ")"};
#else
    return {nullptr, "built without ALSA sequencer support"};
#endif
}

ServiceSelection selectJack() {
#if VELK_HAVE_JACK
    std::string whyNot;
    auto service = openJackService(whyNot);
    return {std::move(service), "no JACK server running (" + whyNot + ")"};
#else
    return {nullptr, "built without JACK support"};
#endif
}

ServiceSelection selected(ServiceSelection selection) {
    if (selection.service)
        selection.unavailableReason.clear();
    return selection;
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
    switch (choice) {
        case ServiceChoice::Alsa:
            return selected(selectAlsa());
        case ServiceChoice::Jack:
            return selected(selectJack());
        case ServiceChoice::Auto:
            break;
    }
    ServiceSelection alsa = selectAlsa();
    if (alsa.service)
        return selected(std::move(alsa));
    ServiceSelection jack = selectJack();
    if (jack.service)
        return selected(std::move(jack));
    return {nullptr, alsa.unavailableReason + " and " + jack.unavailableReason};
}

}  // namespace midi
