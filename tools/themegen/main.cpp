// tamzel-themegen DATA_FOLDER: draws the light theme design/interface.thm with its folder,
// the dark theme design/tmava.thm with its folder, and zaznamy/pozadie.jpg and
// zaznamy/records.gif of the records page, and the desktop icon design/tamzel.png. Every
// theme picture is also drawn at twice the size for scaled screens.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "tools/themegen/ImageFiles.h"
#include "tools/themegen/ThemePainter.h"

using namespace tamzel::tools;

namespace {

// Companions for scaled screens: NAME@2x.jpg beside NAME.jpg.
constexpr int kDoubleScale = 2;

QString DoubleSizeName(const QString& file) {
    const qsizetype dot = file.lastIndexOf('.');
    return file.left(dot) + "@2x" + file.mid(dot);
}

bool WriteTheme(const QString& data, const QString& name, const ThemeColors& colors) {
    QString folder = data + "/design/" + name;
    QDir().mkpath(folder);
    QFile thm(data + "/design/" + name + ".thm");
    if (!thm.open(QIODevice::WriteOnly)) return false;
    thm.write(QByteArray::number(colors.themeColor) + "\r\n");
    bool ok = true;
    for (const auto& [file, image] : DrawTheme(colors)) ok = WriteJpeg(image, folder + "/" + file) && ok;
    for (const auto& [file, image] : DrawTheme(colors, kDoubleScale))
        ok = WriteJpeg(image, folder + "/" + DoubleSizeName(file)) && ok;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: tamzel-themegen DATA_FOLDER\n");
        return 2;
    }
    QString data = QString::fromLocal8Bit(argv[1]);
    bool ok = WriteTheme(data, "interface", LightColors());
    ok = WriteTheme(data, "tmava", DarkColors()) && ok;
    QDir().mkpath(data + "/zaznamy");
    ok = WriteJpeg(DrawRecordsBackground(), data + "/zaznamy/pozadie.jpg") && ok;
    ok = WriteGif(DrawRecordsTitle(), data + "/zaznamy/records.gif") && ok;
    ok = DrawProgramIcon().save(data + "/design/tamzel.png") && ok;
    return ok ? 0 : 1;
}
