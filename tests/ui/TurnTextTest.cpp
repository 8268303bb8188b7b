#include "ui/TurnText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/Codepage.h"
#include "base/Files.h"
#include "ui/Text.h"

namespace tamzel::ui {
namespace {

std::string SourceDir() {
    const char* source = std::getenv("TAMZEL_SOURCE_DIR");
    return source ? source : TAMZEL_TEST_SOURCE_DIR;
}

TEST(TurnTextTest, LookDirectionTable) {
    struct Case { int x, y; const char* frame; } cases[] = {
        {30, 0, "right"}, {30, 30, "look1"}, {0, -40, "down"}, {-30, 80, "up"},
        {0, 0, "up"}, {0, 5, "up"}, {-30, 0, "left"}, {-30, -30, "look3"},
        {30, -30, "look2"}, {-30, 30, "look4"}, {10, 50, "up"}, {-10, -50, "down"},
        {100, 41, "look1"}, {100, 40, "right"}, {100, -41, "look2"}, {100, -242, "down"},
        {-100, -41, "look3"}, {-100, -40, "left"}, {-100, 242, "up"}, {-100, 241, "look4"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(LookFrame(LookDirection(c.x, c.y)), c.frame) << c.x << "," << c.y;
    }
}

TEST(TurnTextTest, MoodWords) {
    struct Case { int mood; const char* word; } cases[] = {
        {21, "Vynikajúca"}, {500, "Vynikajúca"}, {20, "Dobrá"}, {11, "Dobrá"},
        {10, "Neutrálna"}, {1, "Neutrálna"}, {0, "Zlá"}, {-9, "Zlá"},
        {-10, "Hrozná"}, {-400, "Hrozná"},
    };
    for (const Case& c : cases) EXPECT_EQ(MoodWord(c.mood), base::Cp1250(c.word)) << c.mood;
    EXPECT_EQ(InfoMessage(4, 15), base::Cp1250("Tamzelova nálada: Dobrá"));
    EXPECT_EQ(InfoMessage(4, -10), base::Cp1250("Tamzelova nálada: Hrozná"));
}

// The bar's messages are read by users: they name the program, and none sends anyone to an
// address that does not exist.
TEST(TurnTextTest, InfoBarTextsNameTamzelAndNoAddress) {
    std::vector<std::string> texts = {ThemeHintText()};
    for (int i = 1; i <= 5; ++i) texts.push_back(InfoMessage(i, 0));
    for (const std::string& text : texts) {
        std::string shown = base::ToUtf8(text);
        for (const char* stray : {"Vuvuviz", "Zarevidod", "http", "www.", "@", "example"})
            EXPECT_EQ(shown.find(stray), std::string::npos) << stray << " in " << shown;
    }
}

// Every page and anchor the bar opens is one the program ships.
TEST(TurnTextTest, InfoBarHelpPagesExistWithTheirAnchors) {
    struct Case { int index; bool page; } cases[] = {
        {1, true}, {2, true}, {3, true}, {4, false}, {5, false}};
    for (const Case& c : cases) {
        HelpPage page = InfoHelpPage(c.index);
        EXPECT_EQ(*page.path != 0, c.page) << c.index;
        if (!c.page) continue;
        std::string html;
        ASSERT_TRUE(base::ReadWholeFile(SourceDir() + "/data/" + page.path, html)) << page.path;
        if (*page.anchor) {
            EXPECT_NE(html.find(std::string("id=\"") + page.anchor + "\""), std::string::npos)
                << page.path << "#" << page.anchor;
        }
    }
}

TEST(TurnTextTest, RoundingTakesHalvesToEven) {
    struct Case { double v; long r; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {5.1, 5}, {-0.5, 0}, {-1.5, -2}, {16.9, 17}, {17.0, 17},
    };
    for (const Case& c : cases) EXPECT_EQ(RoundHalfEven(c.v), c.r) << c.v;
}

TEST(TurnTextTest, PlainFadeOutStopsBelowHundred) {
    FadeState s;
    s.FadeActive = true;
    int ticks = 0;
    while (s.FadeActive && ticks < 1000) {
        EXPECT_FALSE(FadeTick(s));
        ++ticks;
    }
    EXPECT_EQ(s.opacity, 95);
    EXPECT_EQ(ticks, 32);
    s.FadeActive = true;
    s.FadeIn = true;
    while (s.FadeActive && ticks < 1000) {
        FadeTick(s);
        ++ticks;
    }
    EXPECT_EQ(s.opacity, 255);
}

TEST(TurnTextTest, ThemeFadeReloadsAtTheBottomAndReturnsToFull) {
    FadeState s;
    s.FadeActive = s.ThemeFade = true;
    // First step from 255: Round(255 / 15) + 1 = 18.
    FadeTick(s);
    EXPECT_EQ(s.opacity, 237);
    int reloads = 0, ticks = 1;
    while (s.FadeActive && ticks < 2000) {
        if (FadeTick(s)) ++reloads;
        ++ticks;
    }
    EXPECT_GE(reloads, 1);
    EXPECT_EQ(s.opacity, 255);
    EXPECT_FALSE(s.ThemeFade);
    EXPECT_TRUE(s.FadeIn);
}

}  // namespace
}  // namespace tamzel::ui
