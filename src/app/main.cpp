#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <cstdio>
#include <memory>

#include "app/AppDelegate.h"
#include "app/AppWindow.h"
#include "app/AppWindowController.h"
#include "app/LaunchOptions.h"
#include "app/MainMenu.h"
#include "app/MidiConnection.h"
#include "app/MidiMonitorWindowController.h"
#include "app/PreferenceWindowController.h"
#include "app/Screenshot.h"
#include "app/SimulatedAmplifier.h"
#include "app/VelkUtilityApp.h"
#include "common/MIDIManager.h"
#include "strings/StringTable.h"

int main(int argc, char** argv) {
    // A screenshot needs no screen: draw offscreen unless the caller chose a platform.
    if (LaunchOptions::wantsScreenshot(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    VelkUtilityApp app(argc, argv);
    QString error;
    const std::optional<LaunchOptions> options = LaunchOptions::parse(QApplication::arguments(), error);
    if (!options) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    // The MIDI service is chosen before the window creates the device manager.
    std::unique_ptr<SimulatedAmplifier> simulated;
    if (options->simulate)
        simulated = std::make_unique<SimulatedAmplifier>(*options->simulate);
    if (options->effectBlock)
        simulated->head().editState(
            [&](velk::sim::AmpState& state) { state.effectBlock = *options->effectBlock; });
    else if (options->midi)
        CMIDIManager::setServiceChoice(*options->midi);

    AppDelegate delegate;
    MidiMonitorWindowController monitor;
    if (!simulated)  // the simulated head is found under its own name on its own hub
        velk::app::applyStoredMidiChoice(!options->midi);
    AppWindow window;
    AppWindowController controller(window);
    auto* menu = new MainMenu(window);
    auto* settings = new PreferenceWindowController(&window);
    QObject::connect(menu, &MainMenu::settingsRequested, settings, &PreferenceWindowController::startAction);
    QObject::connect(menu, &MainMenu::midiMonitorRequested, &monitor,
                     &MidiMonitorWindowController::showWindow);
    controller.setStartTab(options->tab);
    if (simulated)
        window.statusBar()->addPermanentWidget(new QLabel(velk::strings::text("Status_Simulated")));
    controller.awakeFromNib();
    window.show();
    delegate.applicationDidFinishLaunching();
    if (!options->screenshot.isEmpty())
        new Screenshot(controller, options->screenshot);
    return app.exec();
}
