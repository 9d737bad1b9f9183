#include "app/LaunchOptions.h"

#include <QCommandLineParser>
#include <cstring>

#include "strings/StringTable.h"

namespace {

using velk::strings::text;

const QString kSimulate = QStringLiteral("simulate");
const QString kMidi = QStringLiteral("midi");
const QString kScreenshot = QStringLiteral("screenshot");
const QString kTab = QStringLiteral("tab");
const QString kEffectBlock = QStringLiteral("effect-block");
constexpr int kTabCount = 4;

std::optional<velk::sim::HeadModel> headModel(const QString& name) {
    if (name == QLatin1String("single"))
        return velk::sim::HeadModel::Single;
    if (name == QLatin1String("dual"))
        return velk::sim::HeadModel::Dual;
    return std::nullopt;
}

// Sixteen 7-bit bytes, as the amplifier holds them: anything else is no effect block.
std::optional<LaunchOptions::EffectBlock> parseEffectBlock(const QString& hex) {
    const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
    LaunchOptions::EffectBlock block{};
    if (hex.size() != 2 * static_cast<qsizetype>(block.size()) ||
        bytes.size() != static_cast<qsizetype>(block.size()))
        return std::nullopt;
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<uint8_t>(bytes[static_cast<qsizetype>(i)]);
        if (block[i] > 0x7F)
            return std::nullopt;
    }
    return block;
}

}  // namespace

std::optional<LaunchOptions> LaunchOptions::parse(const QStringList& arguments, QString& error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(text("Launch_Description"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({kSimulate, text("Launch_Simulate"), QStringLiteral("single|dual")});
    parser.addOption({kMidi, text("Launch_Midi"), QStringLiteral("auto|alsa|jack")});
    parser.addOption({kScreenshot, text("Launch_Screenshot"), QStringLiteral("FILE")});
    parser.addOption({kTab, text("Launch_Tab"), QStringLiteral("N")});
    parser.addOption({kEffectBlock, text("Launch_EffectBlock"), QStringLiteral("HEX")});
    parser.process(arguments);

    LaunchOptions options;
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
    if (parser.isSet(kTab)) {
        bool isNumber = false;
        const int position = parser.value(kTab).toInt(&isNumber);
        if (!isNumber || position < 1 || position > kTabCount) {
            error = text("Launch_BadTab").arg(parser.value(kTab));
            return std::nullopt;
        }
        options.tab = position - 1;
    }
    if (parser.isSet(kEffectBlock)) {
        options.effectBlock = parseEffectBlock(parser.value(kEffectBlock));
        if (!options.effectBlock || !options.simulate) {
            error = text("Launch_BadEffectBlock").arg(parser.value(kEffectBlock));
            return std::nullopt;
        }
    }
    return options;
}

bool LaunchOptions::wantsScreenshot(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 || std::strncmp(argv[i], "--screenshot=", 13) == 0)
            return true;
    }
    return false;
}
