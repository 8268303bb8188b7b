// The shipped themes' pictures fit together where the windows put them side by side.
#include <QImage>
#include <cstdlib>
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

}  // namespace
}  // namespace tamzel::ui
