#include "app/SimulatedAmplifier.h"

#include "common/MIDIManager.h"
#include "sim/VirtualDevicePorts.h"

SimulatedAmplifier::SimulatedAmplifier(velk::sim::HeadModel model, uint16_t mainVersion)
    : m_head(std::make_unique<velk::sim::AmpSimulator>(
          std::make_unique<velk::sim::VirtualDevicePorts>(m_hub),
          velk::sim::AmpSimulator::Options{model, mainVersion, {}})) {
    m_head->plug();
    CMIDIManager::setServiceProvider([this] { return m_hub.openService(); });
}

SimulatedAmplifier::~SimulatedAmplifier() {
    CMIDIManager::setServiceProvider(nullptr);
    m_head.reset();
}
