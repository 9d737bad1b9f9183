#pragma once

#include <QObject>
#include <cstdint>

// Starts the device manager once the window is up, stops it before the process ends, keeps the
// preferences around the run, and shows the one error alert every window uses.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    // Loads the preferences; the application quits when its last window closes.
    AppDelegate();

    // Creates the device manager if the window has not already, and starts its utility thread.
    void applicationDidFinishLaunching();
    // Saves the preferences, stops and joins the utility thread, destroys the managers. Runs when
    // the application is about to quit.
    void applicationWillTerminate();
    // Asks the application to quit.
    void terminate();

    // Tells the user about an error code of the core: the text of its message key, "Err_Unknown"
    // for a code without one. Returns when the alert is dismissed.
    static void displayError(int32_t errorCode);
};
