// Choosing between a picture and its double-size companion by the window's device pixel ratio.
#include "chrome/PixelRatio.h"

#include <QLabel>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "chrome/WindowChrome.h"
#include "tests/ui/TestApplication.h"

namespace tamzel::profiles {
namespace {

QImage Filled(QColor colour, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Files by path; records what was read.
struct FakeFiles {
    std::map<std::string, QImage> files;
    std::vector<std::string> asked;

    PictureLoader Loader() {
        return [this](const std::string& path) {
            asked.push_back(path);
            auto it = files.find(path);
            return it == files.end() ? QImage() : it->second;
        };
    }
};

constexpr QSize kPlainSize{16, 12};
const std::string kPlain = "design/modra/1.jpg";
const std::string kDouble = "design/modra/1@2x.jpg";

enum class Companion { Missing, TwiceTheSize, WrongSize };

TEST(PictureForRatio, PicksTheDoublePictureFromRatioOneAndAHalfWhenItFits) {
    struct Case {
        double ratio;
        Companion companion;
        bool sharp;  // the double-size picture is shown
    } cases[] = {
        {1.0, Companion::TwiceTheSize, false}, {1.25, Companion::TwiceTheSize, false},
        {1.5, Companion::TwiceTheSize, true},  {2.0, Companion::TwiceTheSize, true},
        {3.0, Companion::TwiceTheSize, true},
        {1.0, Companion::Missing, false},      {1.25, Companion::Missing, false},
        {1.5, Companion::Missing, false},      {2.0, Companion::Missing, false},
        {1.5, Companion::WrongSize, false},    {2.0, Companion::WrongSize, false},
    };
    for (const Case& c : cases) {
        FakeFiles fake;
        fake.files[kPlain] = Filled(Qt::blue, kPlainSize);
        if (c.companion == Companion::TwiceTheSize) fake.files[kDouble] = Filled(Qt::red, kPlainSize * 2);
        if (c.companion == Companion::WrongSize)
            fake.files[kDouble] = Filled(Qt::red, kPlainSize * 2 + QSize(1, 0));
        const QImage image = PictureForRatio(kPlain, c.ratio, fake.Loader());
        const std::string what = "ratio " + std::to_string(c.ratio) + ", companion " +
                                 std::to_string(static_cast<int>(c.companion));
        ASSERT_FALSE(image.isNull()) << what;
        EXPECT_EQ(image.pixelColor(0, 0), c.sharp ? QColor(Qt::red) : QColor(Qt::blue)) << what;
        EXPECT_DOUBLE_EQ(image.devicePixelRatio(), c.sharp ? 2.0 : 1.0) << what;
        EXPECT_EQ(image.deviceIndependentSize().toSize(), kPlainSize) << what;
        EXPECT_EQ(image.size(), c.sharp ? kPlainSize * 2 : kPlainSize) << what;
    }
}

TEST(PictureForRatio, ALowRatioNeverReadsTheDoublePicture) {
    for (double ratio : {1.0, 1.25, 1.49}) {
        FakeFiles fake;
        fake.files[kPlain] = Filled(Qt::blue, kPlainSize);
        fake.files[kDouble] = Filled(Qt::red, kPlainSize * 2);
        (void)PictureForRatio(kPlain, ratio, fake.Loader());
        EXPECT_EQ(fake.asked, std::vector<std::string>{kPlain}) << ratio;
    }
}

// Without the plain picture the picture counts as missing (the theme's fallback takes
// over), even when a double one lies there.
TEST(PictureForRatio, AMissingPlainPictureIsMissingAtEveryRatio) {
    for (double ratio : {1.0, 2.0}) {
        FakeFiles fake;
        fake.files[kDouble] = Filled(Qt::red, kPlainSize * 2);
        EXPECT_TRUE(PictureForRatio(kPlain, ratio, fake.Loader()).isNull()) << ratio;
    }
}

TEST(DoubleSizePath, TheSuffixGoesBeforeTheExtensionOfTheFileName) {
    const std::pair<std::string, std::string> cases[] = {
        {"design/interface/1.jpg", "design/interface/1@2x.jpg"},
        {"gorvin/Jpg/default2.jpg", "gorvin/Jpg/default2@2x.jpg"},
        {"/home/peter/Témy/modrá/alert_ok1.JPG", "/home/peter/Témy/modrá/alert_ok1@2x.JPG"},
        {"a.b/welcome", "a.b/welcome@2x"},
        {"x.tar.jpg", "x.tar@2x.jpg"},
        {"dir/.jpg", "dir/.jpg@2x"},
        {"welcome", "welcome@2x"},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(DoubleSizePath(path), expected) << path;
}

// A picture missing from a user's theme comes from the default theme, sharp there too.
TEST(ThemePicturesAtRatio, TheDefaultThemeStandsInWithItsDoublePicture) {
    FakeFiles fake;
    fake.files["design/modra/welcome.jpg"] = Filled(Qt::green, kPlainSize);  // no companion
    fake.files["design/interface/3.jpg"] = Filled(Qt::gray, kPlainSize);
    fake.files["design/interface/3@2x.jpg"] = Filled(Qt::red, kPlainSize * 2);
    WindowTheme theme;
    theme.folder = "design/modra/";
    theme.load = fake.Loader();
    theme.pixelRatio = 2.0;
    ThemePictures pictures(theme);
    const QImage own = pictures.Image("welcome.jpg");
    EXPECT_EQ(own.pixelColor(0, 0), QColor(Qt::green));
    EXPECT_DOUBLE_EQ(own.devicePixelRatio(), 1.0);
    const QImage standIn = pictures.Image("3.jpg");
    EXPECT_EQ(standIn.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_DOUBLE_EQ(standIn.devicePixelRatio(), 2.0);
    EXPECT_NE(pictures.Problem().find("design/modra/3.jpg"), std::string::npos);
}

TEST(ShowPicture, TheLabelTakesTheLogicalSizeOfADoublePicture) {
    ui::testing::TestApp();
    for (int scale : {1, 2}) {
        QImage image = Filled(Qt::blue, kPlainSize * scale);
        image.setDevicePixelRatio(scale);
        QLabel label;
        ShowPicture(&label, image);
        EXPECT_EQ(label.size(), kPlainSize) << scale;
    }
}

// The title colour is chosen from the same place of the tab at both sizes.
TEST(PictureColorAt, ReadsTheSameLogicalPointAtBothSizes) {
    for (int scale : {1, 2}) {
        QImage image = Filled(Qt::white, kPlainSize * scale);
        image.setPixelColor(QPoint(10, 6) * scale, Qt::black);
        image.setDevicePixelRatio(scale);
        EXPECT_EQ(PictureColorAt(image, {10, 6}), QColor(Qt::black)) << scale;
        EXPECT_EQ(PictureColorAt(image, {3, 2}), QColor(Qt::white)) << scale;
        EXPECT_FALSE(PictureColorAt(image, {16, 0}).isValid()) << scale;
    }
}

}  // namespace
}  // namespace tamzel::profiles
