#include "cli/IrConvertCommand.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "cli/ArgumentValues.h"
#include "cli/CommandFailure.h"
#include "cli/DeviceReport.h"
#include "cli/Json.h"
#include "cli/Text.h"
#include "convert/ConversionError.h"

namespace velk::cli {

namespace {

using convert::AudioDescription;
using convert::ChannelChoice;
using convert::ConversionFault;

// The loader picks its reader by the extension, so a copy under another name could not be used.
bool namedWav(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".wav";
}

// Adding 0.0 turns a -0.0 into 0.0, so a peak a hair below full scale shows as "0.00".
std::string twoDecimals(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", std::round(value * 100) / 100 + 0.0);
    return text;
}

std::string codingText(const convert::SampleCoding& coding) {
    if (coding.bits == 0)
        return text("Cli_IrConvert_OtherCoding");
    return text(coding.floatingPoint ? "Cli_IrConvert_FloatBits" : "Cli_IrConvert_Bits", coding.bits);
}

std::string describedText(const AudioDescription& audio) {
    const auto peak = convert::decibelsFullScale(audio.peak);
    return text("Cli_IrConvert_Format", audio.sampleRate, codingText(audio.coding),
                audio.channels == 1 ? text("Cli_IrConvert_OneChannel")
                                    : text("Cli_IrConvert_Channels", audio.channels),
                audio.frames,
                peak ? text("Cli_IrConvert_Peak", twoDecimals(*peak)) : text("Cli_IrConvert_Silent"));
}

std::string describedJson(const AudioDescription& audio) {
    const auto peak = convert::decibelsFullScale(audio.peak);
    return "{\"sampleRate\":" + std::to_string(audio.sampleRate) +
           ",\"channels\":" + std::to_string(audio.channels) + ",\"frames\":" + std::to_string(audio.frames) +
           ",\"sampleSize\":" + (audio.coding.bits ? std::to_string(audio.coding.bits) : "null") +
           ",\"float\":" + (audio.coding.floatingPoint ? "true" : "false") +
           ",\"peakDb\":" + (peak ? twoDecimals(*peak) : "null") + "}";
}

// What the user can do on the command line, for the faults an option can avoid.
std::string adviceFor(ConversionFault fault) {
    switch (fault) {
        case ConversionFault::OutputExists:
            return '\n' + text("Cli_Advice_ConvertExists");
        case ConversionFault::MissingChannel:
        case ConversionFault::TooManyChannels:
            return '\n' + text("Cli_Advice_ConvertChannel");
        default:
            return "";
    }
}

CommandFailure conversionFailure(const convert::ConversionError& error) {
    const char* key = error.messageKey();
    const std::string message = error.reason().empty() ? text(key, quoted(error.path()))
                                                       : text(key, quoted(error.path()), error.reason());
    return ownFailure(eExit_FileError, key, message + adviceFor(error.fault()));
}

}  // namespace

convert::ConversionRequest parseIrConvertOptions(const ParsedArguments& arguments) {
    if (arguments.positionals.empty())
        throw UsageError{"Cli_Err_MissingFile", ""};
    if (arguments.positionals.size() > 2)
        throw UsageError{"Cli_Err_ExtraArgument", arguments.positionals[2]};
    convert::ConversionRequest request;
    request.input = arguments.positionals[0];
    if (arguments.positionals.size() == 2) {
        request.output = arguments.positionals[1];
        if (!namedWav(request.output))
            throw UsageError{"Cli_Err_OutputNotWav", request.output};
        // The input is only ever read: --force replaces another file, never the one converted.
        std::error_code unknown;
        if (std::filesystem::equivalent(request.input, request.output, unknown))
            throw UsageError{"Cli_Err_OutputIsInput", request.output};
    }
    if (arguments.has("--channel"))
        request.channel = static_cast<ChannelChoice>(
            parseWord(arguments.value("--channel"), {"left", "right", "both"}, "Cli_Err_BadConvertChannel"));
    if (arguments.has("--bits"))
        request.bits = parseWord(arguments.value("--bits"), {"16", "24"}, "Cli_Err_BadBits") == 0 ? 16 : 24;
    if (arguments.has("--normalize"))
        request.normalizeDb = parseDecibels(arguments.value("--normalize"), 0, "Cli_Err_BadNormalize");
    request.trim = arguments.has("--trim");
    request.overwrite = arguments.has("--force");
    return request;
}

void printConversionText(const convert::ConversionRequest& request, const convert::ConversionReport& report,
                         std::ostream& out) {
    out << text("Cli_IrConvert_Done", quoted(request.input), quoted(report.output)) << '\n'
        << text("Cli_IrConvert_From", describedText(report.from)) << '\n'
        << text("Cli_IrConvert_To", describedText(report.to)) << '\n';
}

void printConversionJson(const convert::ConversionRequest& request, const convert::ConversionReport& report,
                         std::ostream& out) {
    out << "{\"input\":" << jsonString(request.input) << ",\"output\":" << jsonString(report.output)
        << ",\"from\":" << describedJson(report.from) << ",\"to\":" << describedJson(report.to)
        << ",\"clippedSamples\":" << report.clippedSamples << "}\n";
}

int IrConvertCommand::run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) const {
    const convert::ConversionRequest request = parseIrConvertOptions(arguments);
    const bool json = arguments.has("--json");
    try {
        const convert::ConversionReport report = convert::convertImpulseResponse(request);
        if (json)
            printConversionJson(request, report, out);
        else
            printConversionText(request, report, out);
        if (report.clippedSamples)
            err << "velkctl: " << text("Cli_IrConvert_Clipped", report.clippedSamples) << '\n';
        return eExit_Done;
    } catch (const convert::ConversionError& error) {
        printFailure(conversionFailure(error), json, out, err);
        return eExit_FileError;
    }
}

}  // namespace velk::cli
