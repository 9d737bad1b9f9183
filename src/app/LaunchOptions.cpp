#include "app/LaunchOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "strings/StringTable.h"

namespace {

using velk::strings::text;

const QString kSimulate = QStringLiteral("simulate");
const QString kMidi = QStringLiteral("midi");
const QString kScreenshot = QStringLiteral("screenshot");

std::optional<velk::sim::HeadModel> headModel(const QString& name) {
    if (name == QLatin1String("single"))
        return velk::sim::HeadModel::Single;
    if (name == QLatin1String("dual"))
        return velk::sim::HeadModel::Dual;
    return std::nullopt;
}

}  // namespace

std::optional<LaunchOptions> LaunchOptions::parse(const QStringList& arguments, QString& error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(text("Launch_Description"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOption({kSimulate, text("Launch_Simulate"), QStringLiteral("single|dual")});
    parser.addOption({kMidi, text("Launch_Midi"), QStringLiteral("auto|alsa|jack")});
    parser.addOption({kScreenshot, text("Launch_Screenshot"), QStringLiteral("FILE")});
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return std::nullopt;
    }

    LaunchOptions options;
    if (parser.isSet(help)) {
        options.answer = parser.helpText();
        return options;
    }
    if (parser.isSet(version)) {
        options.answer =
            QCoreApplication::applicationName() + ' ' + QCoreApplication::applicationVersion() + '\n';
        return options;
    }
    if (parser.isSet(kSimulate)) {
        options.simulate = headModel(parser.value(kSimulate));
        if (!options.simulate) {
            error = text("Launch_BadSimulate").arg(parser.value(kSimulate));
            return std::nullopt;
        }
    }
    if (parser.isSet(kMidi)) {
        options.midi = midi::parseServiceChoice(parser.value(kMidi).toStdString());
        if (!options.midi) {
            error = text("Launch_BadMidi").arg(parser.value(kMidi));
            return std::nullopt;
        }
    }
    options.screenshot = parser.value(kScreenshot);
    return options;
}
