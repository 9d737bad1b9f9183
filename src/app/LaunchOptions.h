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
//   --open PATH              open a file or folder in a speaker panel once connected (repeatable)
//   --effect-block HEX       with --simulate: the simulated head's 16-byte effect block, 32 hex digits
//   --help, --version        print and exit
struct LaunchOptions {
    using EffectBlock = std::array<uint8_t, velk::sim::AmpState::kEffectBlockSize>;

    std::optional<velk::sim::HeadModel> simulate;
    std::optional<midi::ServiceChoice> midi;
    QString screenshot;
    int tab = 0;  // from 0
    QStringList open;
    std::optional<EffectBlock> effectBlock;
    // What --help or --version asks to print instead of starting the editor.
    QString answer;

    // Reads the options in a running application object; on a mistake returns nothing and says
    // why in `error`.
    static std::optional<LaunchOptions> parse(const QStringList& arguments, QString& error);
};
