#pragma once

#include <QString>
#include <QStringList>

namespace velk::app {

// The MIDI service and the port text the amplifier is looked for with, as the preferences keep
// them. Main thread only.

// Hands the stored choice to the MIDI port manager and the device manager; at start-up, before
// the device manager opens the service. `useStoredService` is false when the service was chosen
// on the command line (--midi).
void applyStoredMidiChoice(bool useStoredService);

// Keeps a new choice and has the device manager look for the amplifier again with it at once.
// Nothing happens when nothing changed.
void changeMidiChoice(const QString& service, const QString& deviceText);

// The devices on the MIDI service now that have both a source and a destination (a port name up
// to its first ':', the client's name), in the order of the sources.
QStringList presentDeviceNames();

}  // namespace velk::app
