#include "cli/ReportCommands.h"

#include "cli/DeviceReport.h"

namespace velk::cli {

namespace {

using ReportPrinter = void (*)(const DeviceReport&, std::ostream&);

DeviceAction printReport(const ParsedArguments& arguments, ReportPrinter printer) {
    requirePositionals(arguments, {});
    return [printer](DeviceSession& session, std::ostream& out) { printer(readDeviceReport(session), out); };
}

}  // namespace

DeviceAction InfoCommand::plan(const ParsedArguments& arguments, const DeviceOptions& options) const {
    return printReport(arguments, options.json ? printInfoJson : printInfoText);
}

DeviceAction DumpCommand::plan(const ParsedArguments& arguments, const DeviceOptions& options) const {
    return printReport(arguments, options.json ? printDeviceReportJson : printDeviceReportText);
}

}  // namespace velk::cli
