#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

#include "midi/ServiceSelection.h"
#include "sim/AmpState.h"

// What the editor was started with:
//   --simulate single|dual   run against the built-in simulated amplifier instead of a real one
//   --midi auto|alsa|jack    the MIDI service to look for the amplifier on
//   --screenshot FILE        render the main window to a PNG once connected, then quit
//   --tab N                  show the Nth tab (from 1, left to right) once the tabs are built
//   --effect-block HEX       with --simulate: the simulated head's 16-byte effect block, 32 hex digits
struct LaunchOptions {
    using EffectBlock = std::array<uint8_t, velk::sim::AmpState::kEffectBlockSize>;

    std::optional<velk::sim::HeadModel> simulate;
    std::optional<midi::ServiceChoice> midi;
    QString screenshot;
    int tab = 0;  // from 0
    std::optional<EffectBlock> effectBlock;

    // Reads the options; on a mistake returns nothing and says why in `error`. --help and
    // --version print and exit as usual.
    static std::optional<LaunchOptions> parse(const QStringList& arguments, QString& error);

    // Whether the arguments ask for a screenshot; read before the application exists, so that
    // the window can be drawn offscreen.
    static bool wantsScreenshot(int argc, char** argv);
};
