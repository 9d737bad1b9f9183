#include "IrShowCommand.h"

#include <cstring>
#include <filesystem>
#include <iomanip>

#include "cli/ArgumentValues.h"
#include "cli/CommandFailure.h"
#include "cli/Json.h"
#include "cli/Text.h"
#include "common/ErrorCodes.h"
#include "common/FIRFile.h"
#include "common/GenericException.h"
#include "common/StringUtil.h"
#include "eLibrary/InputFileStream.h"
#include "eLibrary/WaveFormat.h"

namespace velk::cli {

namespace {

constexpr int kCoefficientsPerLine = 8;

// Tools commonly write 24- and 32-bit WAVE files with the extensible header, which the amp's file
// format does not take; naming it saves the user from guessing what is wrong with a file that plays.
bool hasExtensibleWaveHeader(const std::string& path) {
    eLibrary::InputFileStream stream(path.c_str());
    if (stream.fail())
        return false;
    const eLibrary::WaveFormatReader reader(stream);
    return reader.fmtChunk().formatTag == eLibrary::WaveFmtChunk::kFormatExtensible;
}

}  // namespace

IrShowOptions parseIrShowOptions(const ParsedArguments& arguments) {
    if (arguments.positionals.empty())
        throw UsageError{"Cli_Err_MissingFile", ""};
    if (arguments.positionals.size() > 1)
        throw UsageError{"Cli_Err_ExtraArgument", arguments.positionals[1]};
    IrShowOptions options;
    options.path = arguments.positionals.front();
    if (arguments.has("--channel"))
        options.channel = parseChannel(arguments.value("--channel"));
    options.json = arguments.has("--json");
    return options;
}

IrReport loadImpulseResponse(const std::string& path, int requestedChannel) {
    IrReport report;
    CFIRFile file;
    file.open(path.c_str());
    report.channel = file.getChannels() >= 2 ? requestedChannel : 0;
    file.read(report.coefficients.data(), report.channel);
    file.close();

    report.name = irNameOfFile(path);
    // The loader has accepted the file, so its reader answers the format of a valid file.
    const auto reader = CFIRFile::createAudioFormatReader(path.c_str());
    report.channels = reader->getChannels();
    report.sampleRate = reader->getSampleRate();
    report.sampleSize = reader->getSampleSize();
    report.frames = reader->getSampleFrames();
    return report;
}

std::string irNameOfFile(const std::string& path) {
    const std::string fileName = std::filesystem::path(path).filename().string();
    std::string shown(fileName.size() + 1, '\0');
    const auto size = static_cast<int32_t>(fileName.size());
    mstd::adjustUTF8String(shown.data(), size, fileName.data(), size);
    const std::string stem = std::filesystem::path(shown.c_str()).stem().string();
    char name[CFIRFile::kNameSize];
    CFIRFile::makeFirName(name, stem.c_str());
    return name;
}

void printIrReportText(const IrReport& report, std::ostream& out) {
    out << text("Cli_IrShow_Name", report.name) << '\n'
        << text("Cli_IrShow_Channels", report.channels) << '\n'
        << text("Cli_IrShow_SampleRate", report.sampleRate) << '\n'
        << text("Cli_IrShow_SampleSize", report.sampleSize) << '\n'
        << text("Cli_IrShow_Frames", report.frames) << '\n'
        << text("Cli_IrShow_Channel", text(report.channel == 0 ? "Cli_Channel_Left" : "Cli_Channel_Right"))
        << '\n'
        << text("Cli_IrShow_Coefficients", static_cast<int>(report.coefficients.size())) << '\n';
    for (size_t i = 0; i < report.coefficients.size(); ++i) {
        if (i % kCoefficientsPerLine == 0)
            out << std::setw(5) << i << ':';
        out << std::setw(7) << report.coefficients[i];
        if (i % kCoefficientsPerLine == kCoefficientsPerLine - 1 || i + 1 == report.coefficients.size())
            out << '\n';
    }
}

void printIrReportJson(const IrReport& report, std::ostream& out) {
    out << "{\"name\":" << jsonString(report.name) << ",\"channels\":" << report.channels
        << ",\"sampleRate\":" << report.sampleRate << ",\"sampleSize\":" << report.sampleSize
        << ",\"frames\":" << report.frames << ",\"channel\":" << report.channel << ",\"coefficients\":[";
    for (size_t i = 0; i < report.coefficients.size(); ++i)
        out << (i ? "," : "") << report.coefficients[i];
    out << "]}\n";
}

int IrShowCommand::run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) const {
    const IrShowOptions options = parseIrShowOptions(arguments);
    try {
        const IrReport report = loadImpulseResponse(options.path, options.channel);
        if (options.json)
            printIrReportJson(report, out);
        else
            printIrReportText(report, out);
        return eExit_Done;
    } catch (const mstd::CGenericException& e) {
        printFailure(coreFailure(eExit_FileError, e.getErrorCode()), options.json, out, err);
        if (e.getErrorCode() == mstd::eErr_FIRFileOpen && hasExtensibleWaveHeader(options.path))
            err << text("Cli_IrShow_ExtensibleHint") << '\n';
        return eExit_FileError;
    }
}

}  // namespace velk::cli
