#include "app/SimulatorMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/SimulatedAmplifier.h"
#include "strings/StringTable.h"

void addSimulatorMenu(QMenuBar& menuBar, SimulatedAmplifier& amplifier) {
    using velk::strings::text;
    QMenu* menu = menuBar.addMenu(text("Menu_Simulator"));
    QAction* unplug = menu->addAction(text("Menu_Simulator_Unplug"));
    QAction* plug = menu->addAction(text("Menu_Simulator_Plug"));
    velk::sim::AmpSimulator& head = amplifier.head();
    // Only the move that makes sense for the head as it is now.
    const auto offerTheOther = [unplug, plug, &head] {
        unplug->setEnabled(head.isPlugged());
        plug->setEnabled(!head.isPlugged());
    };
    QObject::connect(unplug, &QAction::triggered, menu, [&head, offerTheOther] {
        head.unplug();
        offerTheOther();
    });
    QObject::connect(plug, &QAction::triggered, menu, [&head, offerTheOther] {
        head.plug();
        offerTheOther();
    });
    offerTheOther();
}
