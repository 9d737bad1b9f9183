#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <cstdio>
#include <memory>

#include "app/AppDelegate.h"
#include "app/AppIdentity.h"
#include "app/AppWindow.h"
#include "app/AppWindowController.h"
#include "app/LaunchOptions.h"
#include "app/MainMenu.h"
#include "app/MidiConnection.h"
#include "app/MidiMonitorWindowController.h"
#include "app/PreferenceWindowController.h"
#include "app/Screenshot.h"
#include "app/SimulatedAmplifier.h"
#include "app/SimulatorMenu.h"
#include "app/VelkUtilityApp.h"
#include "app/speaker/LaunchOpener.h"
#include "common/MIDIManager.h"
#include "strings/StringTable.h"

namespace {

// Reads the command line before the GUI starts, so that --help, --version and a mistake need no
// display.
std::optional<LaunchOptions> readOptions(int argc, char** argv, QString& error) {
    QCoreApplication reader(argc, argv);
    velk::app::identifyApplication();
    return LaunchOptions::parse(QCoreApplication::arguments(), error);
}

}  // namespace

int main(int argc, char** argv) {
    QString error;
    const std::optional<LaunchOptions> options = readOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    if (!options->answer.isEmpty()) {
        std::fputs(qPrintable(options->answer), stdout);
        return 0;
    }
    // A screenshot needs no screen: draw offscreen unless the caller chose a platform.
    if (!options->screenshot.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    VelkUtilityApp app(argc, argv);
    // The MIDI service is chosen before the window creates the device manager.
    std::unique_ptr<SimulatedAmplifier> simulated;
    if (options->simulate) {
        simulated = std::make_unique<SimulatedAmplifier>(*options->simulate);
        if (options->effectBlock)
            simulated->head().editState(
                [&](velk::sim::AmpState& state) { state.effectBlock = *options->effectBlock; });
    } else if (options->midi) {
        CMIDIManager::setServiceChoice(*options->midi);
    }

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
    if (simulated) {
        window.statusBar()->addPermanentWidget(new QLabel(velk::strings::text("Status_Simulated")));
        addSimulatorMenu(*window.menuBar(), *simulated);
    }
    controller.awakeFromNib();
    window.show();
    delegate.applicationDidFinishLaunching();
    int settleMs = 0;
    if (!options->open.isEmpty())
        settleMs = (new LaunchOpener(controller, options->open))->duration();
    if (!options->screenshot.isEmpty())
        new Screenshot(controller, options->screenshot, settleMs);
    return app.exec();
}
