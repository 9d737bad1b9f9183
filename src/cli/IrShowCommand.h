#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>

#include "cli/Command.h"
#include "common/FIRCOE.h"

namespace velk::cli {

// What "ir show" was asked: the file, the channel of a stereo file (0 left, 1 right), JSON or text.
struct IrShowOptions {
    std::string path;
    int channel = 0;
    bool json = false;
};

// What the amplifier would receive from a file, and the file's format.
struct IrReport {
    std::string name;
    int channels = 0;
    int sampleRate = 0;
    int sampleSize = 0;
    int frames = 0;
    int channel = 0;  // the channel read
    std::array<int16_t, FIRCOE::kCoefficientCount> coefficients{};
};

// Throws UsageError for a missing or extra FILE or a channel other than left or right.
IrShowOptions parseIrShowOptions(const ParsedArguments& arguments);

// Loads the file as the speaker simulation panel does: the record's name from the file name, the
// requested channel for a file of two or more channels, channel 0 otherwise. Throws
// mstd::CGenericException with the loader's file error code.
IrReport loadImpulseResponse(const std::string& path, int requestedChannel);

// The IR name the panel gives a file: its name without directories and extension, each non-ASCII
// character shown as "?", cut to the record's 63 bytes ("Untitled" when empty).
std::string irNameOfFile(const std::string& path);

void printIrReportText(const IrReport& report, std::ostream& out);
void printIrReportJson(const IrReport& report, std::ostream& out);

// "velkctl ir show FILE [--channel left|right] [--json]"
class IrShowCommand : public Command {
public:
    std::vector<std::string> words() const override { return {"ir", "show"}; }
    std::string synopsis() const override { return "ir show FILE [--channel left|right] [--json]"; }
    const char* summaryKey() const override { return "Cli_IrShow_Summary"; }
    const char* helpKey() const override { return "Cli_IrShow_Help"; }
    std::vector<OptionRule> options() const override { return {{"--channel", true}, {"--json", false}}; }
    int run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) const override;
};

}  // namespace velk::cli
