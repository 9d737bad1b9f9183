#include "app/MidiConnection.h"

#include "app/Preference.h"
#include "common/MIDIManager.h"
#include "common/VelkManager.h"
#include "midi/MidiService.h"
#include "midi/ServiceSelection.h"

namespace velk::app {

namespace {

QString deviceOf(const midi::Endpoint& endpoint) {
    const QString name = QString::fromStdString(endpoint.name);
    return name.section(QLatin1Char(':'), 0, 0);
}

QStringList devicesOf(const std::vector<midi::Endpoint>& endpoints) {
    QStringList devices;
    for (const midi::Endpoint& endpoint : endpoints)
        devices.append(deviceOf(endpoint));
    return devices;
}

void useService(const QString& service) {
    if (const std::optional<midi::ServiceChoice> choice = midi::parseServiceChoice(service.toStdString()))
        CMIDIManager::setServiceChoice(*choice);
}

}  // namespace

void applyStoredMidiChoice(bool useStoredService) {
    const Preference& preference = Preference::sharedInstance();
    if (useStoredService)
        useService(preference.m_MidiService());
    CVelkManager::instance()->setDeviceModelText(preference.m_MidiDeviceText().toStdString());
}

void changeMidiChoice(const QString& service, const QString& deviceText) {
    Preference& preference = Preference::sharedInstance();
    const bool serviceChanged = service != preference.m_MidiService();
    if (!serviceChanged && deviceText == preference.m_MidiDeviceText())
        return;
    preference.setM_MidiService(service);
    preference.setM_MidiDeviceText(deviceText);
    preference.save();
    if (serviceChanged)
        useService(service);
    CVelkManager* manager = CVelkManager::instance();
    manager->setDeviceModelText(deviceText.toStdString());
    manager->reconnect();
}

QStringList presentDeviceNames() {
    const CMIDIManager* midi = CMIDIManager::instance();
    const auto service = midi ? midi->service() : nullptr;
    if (!service)
        return {};
    const QStringList destinations = devicesOf(service->destinations());
    QStringList devices;
    for (const QString& device : devicesOf(service->sources())) {
        if (destinations.contains(device) && !devices.contains(device))
            devices.append(device);
    }
    return devices;
}

}  // namespace velk::app
