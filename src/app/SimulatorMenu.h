#pragma once

class QMenuBar;
class SimulatedAmplifier;

// The "Simulator" menu of an editor started with --simulate: the simulated head can be unplugged
// and plugged in again, to see how the editor behaves when the amplifier goes away and comes back.
// The amplifier must outlive the menu bar.
void addSimulatorMenu(QMenuBar& menuBar, SimulatedAmplifier& amplifier);
