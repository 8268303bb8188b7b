#include "profiles/windows/WindowChrome.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "profiles/ProfileMessages.h"
#include "tests/ui/TempFolder.h"
#include "tests/ui/TestApplication.h"
#include "ui/Theme.h"

namespace tamzel::profiles {
namespace {

using ui::testing::TempFolder;
using ui::testing::TestApp;

struct ColourCase {
    const char* content;  // nullptr: no file
    std::optional<int> colour;
};

// The start window and the main window read the same theme file; they must agree on it,
// or a theme the main window shows is called broken by the start window (which then falls
// back to the default theme for both).
TEST(ThemeColour, BothWindowsReadTheSameColourFromATheme) {
    const std::vector<ColourCase> cases = {
        {"14474460\n", 14474460},
        {"14474460\r\nignored", 14474460},
        {"  \t255 modra\n", 255},
        {"+16777215", 16777215},
        {"007", 7},
        {"-16", -16},
        // System colours of the toolkit come in both of its encodings.
        {"-16777201\n", -16777201},
        {"-2147483633\n", -2147483633},
        {"2147483647", INT_MAX},
        {"1234567890", 1234567890},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"\n14474460", std::nullopt},
        {"modra 255", std::nullopt},
        {"-", std::nullopt},
        {"+ 5", std::nullopt},
        {"0x10", 0},
        {nullptr, std::nullopt},
    };
    TempFolder temp;
    for (const auto& c : cases) {
        const std::string file = temp.path() + "/tema.thm";
        std::remove(file.c_str());
        if (c.content) std::ofstream(file, std::ios::binary) << c.content;
        const char* what = c.content ? c.content : "(no file)";
        EXPECT_EQ(ReadThemeColor(file), c.colour) << "start window: " << what;
        EXPECT_EQ(ui::ReadThemeColor(file), c.colour) << "main window: " << what;
    }
}

TEST(ThemeColour, AThemeFileAtTheSizeBoundIsReadAndOneByteMoreIsNot) {
    TempFolder temp;
    const std::string file = temp.path() + "/tema.thm";
    std::string text = "8421504\n";
    text.resize(kMaxThemeFileBytes, ' ');
    std::ofstream(file, std::ios::binary) << text;
    EXPECT_EQ(ReadThemeColor(file), 8421504);
    std::ofstream(file, std::ios::binary) << text << ' ';
    EXPECT_EQ(ReadThemeColor(file), std::nullopt);
}

TEST(ThemeColour, TheToolkitEncodingBecomesRedGreenBlue) {
    struct Case {
        int encoded;
        QColor colour;
    };
    const std::vector<Case> cases = {
        {0xDCDCDC, QColor(220, 220, 220)}, {0x0000FF, QColor(255, 0, 0)},
        {0x00FF00, QColor(0, 255, 0)},     {0xFF0000, QColor(0, 0, 255)},
        {0x123456, QColor(0x56, 0x34, 0x12)}, {0, QColor(0, 0, 0)},
        {-16, QColor(220, 220, 220)},      {-2147483633, QColor(220, 220, 220)},
    };
    for (const auto& c : cases) {
        WindowTheme theme;
        theme.color = c.encoded;
        EXPECT_EQ(theme.Color(), c.colour) << c.encoded;
        EXPECT_EQ(ui::ThemeQColor(c.encoded), c.colour) << c.encoded;
    }
}

TEST(ThemeFolder, IsTheFileWithoutItsExtension) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"design/interface.thm", "design/interface/"},
        {"/home/peter/Témy/modrá.thm", "/home/peter/Témy/modrá/"},
        {"x.thm", "x/"},
        {"design/tmava.THM", "design/tmava/"},
        {".thm", "/"},
        {"abc", "/"},
        {"", "/"},
    };
    for (const auto& [file, folder] : cases) {
        EXPECT_EQ(ThemeFolderOf(file), folder) << file;
        EXPECT_EQ(ui::ThemeFolderOf(file), folder) << file;
    }
}

QImage Filled(QColor colour, QSize size = {4, 3}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A theme whose pictures come from a table instead of files; records what was asked.
struct FakePictures {
    std::map<std::string, QImage> files;
    std::vector<std::string> asked;

    WindowTheme Theme(const std::string& folder) {
        WindowTheme theme;
        theme.folder = folder;
        theme.load = [this](const std::string& path) {
            asked.push_back(path);
            auto it = files.find(path);
            return it == files.end() ? QImage() : it->second;
        };
        return theme;
    }
};

constexpr char kOwn[] = "design/modra/";

TEST(ThemePictures, AnIntactThemeGivesItsOwnPicturesAndNoProblem) {
    FakePictures fake;
    fake.files["design/modra/welcome.jpg"] = Filled(Qt::blue);
    fake.files["design/interface/welcome.jpg"] = Filled(Qt::gray);
    ThemePictures pictures(fake.Theme(kOwn));
    EXPECT_EQ(pictures.Image("welcome.jpg").pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(pictures.Problem(), "");
}

TEST(ThemePictures, AMissingPictureComesFromTheDefaultThemeAndIsNamedOnce) {
    FakePictures fake;
    fake.files["design/interface/3.jpg"] = Filled(Qt::gray);
    ThemePictures pictures(fake.Theme(kOwn));
    EXPECT_EQ(pictures.Image("3.jpg").pixelColor(0, 0), QColor(Qt::gray));
    EXPECT_EQ(pictures.Image("3.jpg").pixelColor(0, 0), QColor(Qt::gray));
    EXPECT_EQ(pictures.Problem(),
              Cp1250("Obrázok vzhľadu design/modra/3.jpg chýba alebo je poškodený. Okno ukazuje "
                     "obrázok základného vzhľadu alebo predchádzajúci."));
}

TEST(ThemePictures, ThePicturesOfTheDefaultThemeAreNotLookedForTwice) {
    FakePictures fake;
    ThemePictures pictures(fake.Theme(kDefaultThemeFolder));
    EXPECT_TRUE(pictures.Image("welcome.jpg").isNull());
    EXPECT_EQ(fake.asked, std::vector<std::string>{"design/interface/welcome.jpg"});
    EXPECT_NE(pictures.Problem().find("design/interface/welcome.jpg"), std::string::npos);
}

TEST(ThemePictures, APictureMissingInBothThemesGivesANullImage) {
    FakePictures fake;
    ThemePictures pictures(fake.Theme(kOwn));
    EXPECT_TRUE(pictures.Image("1.jpg").isNull());
    EXPECT_EQ(fake.asked, (std::vector<std::string>{"design/modra/1.jpg", "design/interface/1.jpg"}));
}

TEST(ThemePictures, TheMessageNamesAFewFailedPicturesAndCountsTheRest) {
    struct Case {
        std::vector<const char*> missing;
        std::string message;
    };
    const std::string start = "Obrázky vzhľadu chýbajú alebo sú poškodené: ";
    const std::string end = ". Okno ukazuje obrázky základného vzhľadu alebo predchádzajúce.";
    const std::vector<Case> cases = {
        {{"1.jpg", "2.jpg"}, start + "design/modra/1.jpg, design/modra/2.jpg" + end},
        {{"1.jpg", "2.jpg", "3.jpg"},
         start + "design/modra/1.jpg, design/modra/2.jpg, design/modra/3.jpg" + end},
        {{"1.jpg", "2.jpg", "3.jpg", "4.jpg", "1.jpg", "5.jpg"},
         start + "design/modra/1.jpg, design/modra/2.jpg, design/modra/3.jpg a ďalšie (spolu 5)" +
             end},
    };
    for (const auto& c : cases) {
        FakePictures fake;
        ThemePictures pictures(fake.Theme(kOwn));
        for (const char* name : c.missing) pictures.Image(name);
        EXPECT_EQ(pictures.Problem(), Cp1250(c.message)) << c.missing.size();
    }
}

TEST(ThemePictures, AProblemOfTheThemeFileLeadsTheMessage) {
    const std::string themeProblem = Cp1250("Súbor témy modra.thm sa nedá prečítať.");
    FakePictures fake;
    ThemePictures pictures(fake.Theme(kOwn));
    pictures.AddThemeProblem(themeProblem);
    EXPECT_EQ(pictures.Problem(), themeProblem);
    pictures.Image("2.jpg");
    std::string message = pictures.Problem();
    EXPECT_EQ(message.rfind(themeProblem + "\\" + Cp1250("Obrázok vzhľadu design/modra/2.jpg"), 0),
              0u)
        << message;
}

TEST(ThemePictures, AFolderWithSlovakLettersIsNamedInTheMessagesEncoding) {
    FakePictures fake;
    ThemePictures pictures(fake.Theme("design/modrá téma/"));
    pictures.Image("3.jpg");
    EXPECT_NE(pictures.Problem().find(Cp1250("design/modrá téma/3.jpg")), std::string::npos);
}

TEST(ThemePictures, WithoutADecoderThePicturesAreReadFromTheFiles) {
    TestApp();
    TempFolder temp;
    temp.MakeFolder("design/interface");
    temp.MakeFolder("design/modra");
    ASSERT_TRUE(Filled(Qt::red).save("design/modra/a.png"));
    ASSERT_TRUE(Filled(Qt::green).save("design/interface/b.png"));
    WindowTheme theme;
    theme.folder = kOwn;
    ThemePictures pictures(theme);
    EXPECT_EQ(pictures.Image("a.png").pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(pictures.Image("b.png").pixelColor(0, 0), QColor(Qt::green));
    EXPECT_NE(pictures.Problem().find("design/modra/b.png"), std::string::npos);
}

TEST(Text1250, SlovakTextCrossesTheToolkitBoundaryUnchanged) {
    const std::string slovak = Cp1250("Ľúbivé ďatelinky, šťavnaté žihľavy a čučoriedky: ÄÔŇŔĹ äôňŕĺ €„“");
    QString shown = Qt1250(slovak);
    EXPECT_EQ(shown, QString::fromUtf8("Ľúbivé ďatelinky, šťavnaté žihľavy a čučoriedky: ÄÔŇŔĹ "
                                       "äôňŕĺ €„“"));
    EXPECT_EQ(From1250(shown), slovak);
}

TEST(Text1250, CharactersWithoutAWindows1250FormBecomeOneQuestionMarkEach) {
    EXPECT_EQ(From1250(QString::fromUtf8("a漢b😀c")), "a?b?c");
    EXPECT_EQ(From1250(QString()), "");
}

// Sends a mouse event as the toolkit would deliver it, passing it on to the parents while
// it is ignored.
void Mouse(QWidget* widget, QEvent::Type type, QPoint global,
           Qt::MouseButton button = Qt::LeftButton) {
    QPointF local = widget->mapFromGlobal(QPointF(global));
    Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    if (type == QEvent::MouseMove) button = Qt::NoButton;
    QMouseEvent event(type, local, QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QColor Shown(const QLabel& label) { return label.pixmap().toImage().pixelColor(0, 0); }

class ChromeTest : public ::testing::Test {
protected:
    ChromeTest() { TestApp(); }
};

TEST_F(ChromeTest, AButtonShowsItsPressedPictureWhileHeldAndClicksOnRelease) {
    ChromeButton button;
    button.SetImages(Filled(Qt::white), Filled(Qt::black));
    int clicks = 0;
    QObject::connect(&button, &ChromeButton::clicked, [&] { ++clicks; });
    QPoint at = button.mapToGlobal(QPoint(1, 1));
    Mouse(&button, QEvent::MouseButtonPress, at);
    EXPECT_TRUE(button.pressedShown());
    EXPECT_EQ(Shown(button), QColor(Qt::black));
    EXPECT_EQ(clicks, 0);
    Mouse(&button, QEvent::MouseButtonRelease, at);
    EXPECT_FALSE(button.pressedShown());
    EXPECT_EQ(Shown(button), QColor(Qt::white));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ChromeTest, OnlyALeftPressFollowedByItsReleaseClicks) {
    ChromeButton button;
    button.SetImages(Filled(Qt::white), Filled(Qt::black));
    int clicks = 0;
    QObject::connect(&button, &ChromeButton::clicked, [&] { ++clicks; });
    QPoint at = button.mapToGlobal(QPoint(1, 1));
    Mouse(&button, QEvent::MouseButtonPress, at, Qt::RightButton);
    EXPECT_FALSE(button.pressedShown());
    Mouse(&button, QEvent::MouseButtonRelease, at, Qt::RightButton);
    Mouse(&button, QEvent::MouseButtonRelease, at);  // a release without a press of its own
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(Shown(button), QColor(Qt::white));
    button.Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ChromeTest, AMissingPictureKeepsTheButtonsPreviousOne) {
    ChromeButton button;
    button.SetImages(Filled(Qt::white), Filled(Qt::black));
    button.SetImages(QImage(), QImage());
    EXPECT_EQ(Shown(button), QColor(Qt::white));
    QPoint at = button.mapToGlobal(QPoint(1, 1));
    Mouse(&button, QEvent::MouseButtonPress, at);
    EXPECT_EQ(Shown(button), QColor(Qt::black));
}

TEST_F(ChromeTest, APressOnAFreePointOrAPictureDragsTheWindow) {
    ChromeWindow window;
    window.resize(300, 200);
    window.move(100, 100);
    QLabel* picture = MakePicture(&window, 10, 10, 50, 50);
    for (QWidget* target : {static_cast<QWidget*>(&window), static_cast<QWidget*>(picture)}) {
        QPoint start = window.pos();
        QPoint grab = target->mapToGlobal(QPoint(5, 5));
        Mouse(target, QEvent::MouseButtonPress, grab);
        Mouse(&window, QEvent::MouseMove, grab + QPoint(20, 40));
        EXPECT_EQ(window.pos(), start + QPoint(20, 40));
        Mouse(&window, QEvent::MouseButtonRelease, grab + QPoint(20, 40));
        Mouse(&window, QEvent::MouseMove, grab + QPoint(90, 90));
        EXPECT_EQ(window.pos(), start + QPoint(20, 40)) << "moves after the release";
    }
}

TEST_F(ChromeTest, AControlThatTakesTheMouseKeepsItAndARightPressDoesNotDrag) {
    ChromeWindow window;
    window.resize(300, 200);
    window.move(100, 100);
    auto* control = new QPushButton("OK", &window);
    control->setGeometry(10, 10, 80, 30);
    QPoint grab = control->mapToGlobal(QPoint(5, 5));
    Mouse(control, QEvent::MouseButtonPress, grab);
    Mouse(&window, QEvent::MouseMove, grab + QPoint(30, 30));
    EXPECT_EQ(window.pos(), QPoint(100, 100));
    Mouse(control, QEvent::MouseButtonRelease, grab);
    Mouse(&window, QEvent::MouseButtonPress, window.mapToGlobal(QPoint(200, 150)), Qt::RightButton);
    Mouse(&window, QEvent::MouseMove, window.mapToGlobal(QPoint(250, 190)));
    EXPECT_EQ(window.pos(), QPoint(100, 100));
}

TEST_F(ChromeTest, TheCutOutLeavesTheShapeAndFollowsTheRightEdge) {
    ChromeWindow window;
    window.resize(400, 300);
    window.show();  // a hidden window hears of its new size only when shown
    window.SetCutOut(QRect(300, 0, 100, 50));
    EXPECT_FALSE(window.mask().contains(QPoint(350, 10)));
    EXPECT_TRUE(window.mask().contains(QPoint(250, 10)));
    EXPECT_TRUE(window.mask().contains(QPoint(350, 60)));
    window.resize(600, 300);
    EXPECT_FALSE(window.mask().contains(QPoint(550, 10))) << "the cut reaches the new edge";
    EXPECT_TRUE(window.mask().contains(QPoint(550, 60)));
    EXPECT_TRUE(window.mask().contains(QPoint(250, 10)));
}

TEST_F(ChromeTest, CentringPutsTheWindowInTheMiddleOfTheScreen) {
    ChromeWindow window;
    window.resize(200, 100);
    window.CentreOnScreen();
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((window.geometry().center() - area.center()).manhattanLength(), 2);
}

TEST_F(ChromeTest, APictureTakesItsImagesSizeAndAMissingOneKeepsThePrevious) {
    QWidget parent;
    QLabel* picture = MakePicture(&parent, 7, 9);
    EXPECT_EQ(picture->pos(), QPoint(7, 9));
    EXPECT_TRUE(picture->testAttribute(Qt::WA_TransparentForMouseEvents));
    ShowPicture(picture, Filled(Qt::red, {30, 20}));
    EXPECT_EQ(picture->size(), QSize(30, 20));
    ShowPicture(picture, QImage());
    EXPECT_EQ(picture->size(), QSize(30, 20));
    EXPECT_EQ(Shown(*picture), QColor(Qt::red));
    QLabel* sized = MakePicture(&parent, 0, 0, 40, 25);
    EXPECT_EQ(sized->size(), QSize(40, 25));
}

}  // namespace
}  // namespace tamzel::profiles
