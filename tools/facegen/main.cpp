// tamzel-facegen OUTDIR [--sheet FILE.png] [--scale N]
//
// Draws the face frames of the voice pack and writes them as OUTDIR/<name>.jpg, and at twice
// the size as OUTDIR/<name>@2x.jpg for scaled screens; with
// --sheet it also renders a contact sheet of the written files (read back and decoded) to
// look at. The committed frames in data/gorvin/Jpg come from this tool (target face_frames).
#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "tools/facegen/ContactSheet.h"
#include "tools/facegen/FaceFrames.h"
#include "tools/facegen/FacePainter.h"
#include "tools/facegen/JpegCodec.h"

namespace {

using namespace tamzel::speech;

constexpr int kJpegQuality = 95;

struct Options {
    QString outDir;
    QString sheet;
    int scale = 1;
};

void WriteFile(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw std::runtime_error("Súbor " + path.toStdString() + " sa nepodarilo zapísať: " +
                                 file.errorString().toStdString());
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("Súbor " + path.toStdString() + " sa nepodarilo prečítať");
    return file.readAll().toStdString();
}

// Frames for scaled screens: <name>@2x.jpg beside <name>.jpg.
constexpr int kDoubleScale = 2;

QImage FramePicture(const FaceFrame& frame, int scale) {
    const QImage face = DrawFace(frame.pose, scale);
    if (frame.whole) return face;
    return face.copy(kSmallFrameLeft * scale, kSmallFrameTop * scale, kSmallFrameWidth * scale,
                     kSmallFrameHeight * scale);
}

QString FramePath(const Options& options, const std::string& name, int scale = 1) {
    const std::string suffix = scale == 1 ? "" : "@" + std::to_string(scale) + "x";
    return QDir(options.outDir).filePath(QString::fromStdString(name + suffix) + ".jpg");
}

void WriteSheet(const Options& options) {
    std::vector<NamedImage> decoded;
    for (const FaceFrame& frame : FaceFrames())
        decoded.emplace_back(frame.name, DecodeJpeg(ReadFile(FramePath(options, frame.name))));
    if (!RenderContactSheet(decoded, options.scale).save(options.sheet, "PNG"))
        throw std::runtime_error("Prehľad " + options.sheet.toStdString() + " sa nepodarilo uložiť");
    std::printf("Prehľad snímok: %s\n", qPrintable(options.sheet));
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sheet" && i + 1 < argc) {
            options.sheet = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == "--scale" && i + 1 < argc) {
            options.scale = std::atoi(argv[++i]);
            if (options.scale < 1 || options.scale > 8) return false;
        } else if (!arg.starts_with("--") && options.outDir.isEmpty()) {
            options.outDir = QString::fromLocal8Bit(argv[i]);
        } else {
            return false;
        }
    }
    return !options.outDir.isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
    // Only images are drawn; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "Použitie: tamzel-facegen VÝSTUPNÝ_PRIEČINOK [--sheet PREHĽAD.png] [--scale 1..8]\n");
        return 2;
    }
    try {
        if (!QDir().mkpath(options.outDir))
            throw std::runtime_error("Priečinok " + options.outDir.toStdString() + " sa nepodarilo vytvoriť");
        for (const FaceFrame& frame : FaceFrames()) {
            for (int scale : {1, kDoubleScale})
                WriteFile(FramePath(options, frame.name, scale),
                          EncodeJpeg(FramePicture(frame, scale), kJpegQuality));
        }
        std::printf("Zapísaných %zu snímok tváre do %s\n", FaceFrames().size(), qPrintable(options.outDir));
        if (!options.sheet.isEmpty()) WriteSheet(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tamzel-facegen: %s\n", e.what());
        return 1;
    }
    return 0;
}
