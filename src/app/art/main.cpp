// Draws every image of the editor into a folder, with the resource list that embeds them.
//   velk-artgen OUTPUT_DIR
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

#include "app/art/ArtCatalog.h"
#include "controls/ImageStrip.h"

namespace {

// Every image is drawn for ordinary and for high-density screens, under the names Qt looks for.
constexpr int kRatios[] = {1, velk::controls::kDenseArtRatio};

bool writePiece(const QDir& output, const velk::art::ArtPiece& piece, int ratio) {
    const QString name = velk::controls::scaledImageName(piece.name, ratio);
    const QImage image = piece.paint(ratio);
    if (image.isNull() || image.height() % piece.frames != 0) {
        std::fprintf(stderr, "%s: %d frames do not divide its height\n", qPrintable(name), piece.frames);
        return false;
    }
    const QString path = output.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeResourceList(const QDir& output, const std::vector<velk::art::ArtPiece>& pieces) {
    QFile file(output.filePath(QStringLiteral("art.qrc")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream out(&file);
    out << "<RCC>\n  <qresource prefix=\"/\">\n";
    for (const velk::art::ArtPiece& piece : pieces) {
        for (int ratio : kRatios)
            out << "    <file>" << velk::controls::scaledImageName(piece.name, ratio) << "</file>\n";
    }
    out << "  </qresource>\n</RCC>\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velk-artgen OUTPUT_DIR\n");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    const std::vector<velk::art::ArtPiece> pieces = velk::art::catalog();
    for (const velk::art::ArtPiece& piece : pieces) {
        for (int ratio : kRatios) {
            if (!writePiece(output, piece, ratio))
                return 1;
        }
    }
    return writeResourceList(output, pieces) ? 0 : 1;
}
