// The shipped themes' pictures fit together where the windows put them side by side.
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace tamzel::ui {
namespace {

std::string SourceDir() {
    const char* source = std::getenv("TAMZEL_SOURCE_DIR");
    return source ? source : TAMZEL_TEST_SOURCE_DIR;
}

int Difference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// A window's title strip (background.jpg, 64 x 22 at y 2) lies on the band of the window's
// background; a step between the two at any row shows as a seam.
TEST(ThemeImagesTest, TitleStripsMeetTheirBackgroundsWithoutASeam) {
    constexpr int kJpegTolerance = 8;
    struct Case { const char* background; int stripLeft; int stripWidth; } cases[] = {
        {"background1.jpg", 492, 64}, {"background2.jpg", 189, 64}, {"welcome.jpg", 211, 64},
        {"options.jpg", 304, 44},
    };
    for (const char* theme : {"interface", "tmava"}) {
        const std::string folder = SourceDir() + "/data/design/" + theme + "/";
        QImage strip(QString::fromStdString(folder + "background.jpg"));
        ASSERT_FALSE(strip.isNull()) << folder;
        for (const Case& c : cases) {
            QImage back(QString::fromStdString(folder + c.background));
            ASSERT_FALSE(back.isNull()) << c.background;
            int worst = 0, worstRow = -1;
            for (int y = 0; y < strip.height(); ++y) {
                // The band behind the strip is what shows on either side of it (a few
                // pixels in, clear of the ringing at the simple layout's notch).
                int d = Difference(strip.pixel(2, y), back.pixel(c.stripLeft + 8, y + 2));
                if (d > worst) worst = d, worstRow = y + 2;
            }
            EXPECT_LE(worst, kJpegTolerance)
                << theme << "/" << c.background << " differs most at row " << worstRow;
        }
    }
}

// Scaled screens show NAME@2x.jpg instead of NAME.jpg; one missing or of another size is a
// blurred or misplaced picture there.
TEST(ThemeImagesTest, EveryShippedPictureHasADoubleSizeCompanion) {
    const char* folders[] = {"data/design/interface", "data/design/tmava", "data/gorvin/Jpg"};
    for (const char* folder : folders) {
        size_t plain = 0;
        for (const auto& entry : std::filesystem::directory_iterator(SourceDir() + "/" + folder)) {
            const std::filesystem::path path = entry.path();
            if (path.extension() != ".jpg" || path.stem().string().ends_with("@2x")) continue;
            ++plain;
            const std::filesystem::path companion =
                path.parent_path() / (path.stem().string() + "@2x.jpg");
            const QImage one(QString::fromStdString(path.string()));
            const QImage two(QString::fromStdString(companion.string()));
            ASSERT_FALSE(one.isNull()) << path;
            ASSERT_FALSE(two.isNull()) << companion << " is missing: draw the pictures again";
            EXPECT_EQ(two.size(), one.size() * 2) << companion;
        }
        EXPECT_GT(plain, 20u) << folder;
    }
}

}  // namespace
}  // namespace tamzel::ui
