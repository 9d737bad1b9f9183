#pragma once

#include <ostream>

#include "cli/Command.h"
#include "convert/IrConversion.h"

namespace velk::cli {

// Throws UsageError for a missing or extra file, an OUT not named .wav, or an option value
// outside its words.
convert::ConversionRequest parseIrConvertOptions(const ParsedArguments& arguments);

void printConversionText(const convert::ConversionRequest& request, const convert::ConversionReport& report,
                         std::ostream& out);
void printConversionJson(const convert::ConversionRequest& request, const convert::ConversionReport& report,
                         std::ostream& out);

// "velkctl ir convert IN [OUT] ...": a copy of an impulse response in the form the amplifier takes.
class IrConvertCommand : public Command {
public:
    std::vector<std::string> words() const override { return {"ir", "convert"}; }
    std::string synopsis() const override {
        return "ir convert IN [OUT] [--channel left|right|both] [--bits 16|24] [--trim] [--normalize DB] "
               "[--force] [--json]";
    }
    const char* summaryKey() const override { return "Cli_IrConvert_Summary"; }
    const char* helpKey() const override { return "Cli_IrConvert_Help"; }
    std::vector<OptionRule> options() const override {
        return {{"--channel", true},   {"--bits", true},   {"--trim", false},
                {"--normalize", true}, {"--force", false}, {"--json", false}};
    }
    int run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) const override;
};

}  // namespace velk::cli
