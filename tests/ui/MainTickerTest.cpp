#include "ui/MainTicker.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace tamzel::ui {
namespace {

// A scripted host: pointer, activation and speech are set by the test; random numbers come
// from a queue (then a value that never fires).
class FakeHost : public TickHost {
public:
    bool QuitRequested() override { return quit; }
    bool Speaking() override { return speaking; }
    void SaveAndQuit() override { ++quits; }
    bool WindowActive() override { return active; }
    void SetOpacity(int o) override { opacity = o; }
    void ReloadThemeImages() override { ++reloads; }
    void ShowFaceFrame(const std::string& name) override { frames.push_back(name); }
    bool AnimationOn() override { return animation; }
    bool InfoBarOn() override { return infoBar; }
    void InfoBegin(int index) override { infoIndex = index; labelTop = -20; ++infoShown; }
    void InfoMoveDown() override { ++labelTop; }
    void InfoEnd() override { ++infoEnded; }
    ScreenPoint Pointer() override { return pointer; }
    ScreenPoint WindowTopLeft() override { return window; }
    ScreenPoint WindowSize() override { return size; }
    bool SimpleLayout() override { return simple; }
    void HoverTurn() override { ++hoverTurns; }
    void IdleTurn() override { ++idleTurns; }
    int Random(int n) override {
        if (!randoms.empty()) {
            int r = randoms.front();
            randoms.pop_front();
            return r;
        }
        return n - 1;  // largest value: no blink, no look-mode switch
    }

    bool quit = false, speaking = false, active = true, animation = true, infoBar = false,
         simple = false;
    int quits = 0, opacity = 255, reloads = 0, infoIndex = 0, labelTop = 0, infoShown = 0,
        infoEnded = 0, hoverTurns = 0, idleTurns = 0;
    ScreenPoint pointer{0, 700};
    ScreenPoint window{100, 50};
    ScreenPoint size{558, 378};
    std::vector<std::string> frames;
    std::deque<int> randoms;
};

class MainTickerTest : public ::testing::Test {
protected:
    void Run(int ticks) {
        for (int i = 0; i < ticks; ++i) ticker.Tick();
    }
    FakeHost host;
    MainTicker ticker{host};
};

TEST_F(MainTickerTest, HoverTurnAfterHundredTicksOnTheCloseButton) {
    // Close button: panel left 492 + 44, top 2, 16 x 16; strictly inside.
    host.pointer = {100 + 536 + 8, 50 + 2 + 8};
    host.speaking = false;
    Run(99);
    EXPECT_EQ(host.hoverTurns, 0);
    EXPECT_TRUE(ticker.LookMode);  // switched on at tick 10
    Run(1);
    EXPECT_EQ(host.hoverTurns, 1);
    Run(649);
    EXPECT_EQ(host.hoverTurns, 1);
    Run(1);  // 750 starts the count again
    EXPECT_EQ(ticker.CloseHoverTicks, 0);
    Run(100);
    EXPECT_EQ(host.hoverTurns, 2);
}

TEST_F(MainTickerTest, HoverNeedsThePointerStrictlyInside) {
    host.pointer = {100 + 536, 50 + 2 + 8};  // on the left edge
    Run(200);
    EXPECT_EQ(host.hoverTurns, 0);
    EXPECT_EQ(ticker.CloseHoverTicks, 0);
}

TEST_F(MainTickerTest, IdleTurnAfterTwoThousandSilentTicks) {
    Run(2000);
    EXPECT_EQ(host.idleTurns, 0);
    Run(1);
    EXPECT_EQ(host.idleTurns, 1);
    EXPECT_EQ(ticker.IdleTicks, 0);
    host.speaking = true;  // speaking ticks do not count
    Run(3000);
    EXPECT_EQ(host.idleTurns, 1);
    host.speaking = false;
    Run(1000);
    ticker.ResetIdle();
    Run(1500);
    EXPECT_EQ(host.idleTurns, 1);
}

// Nobody at the keyboard: three remarks, then silence until the user shows up again by a
// key, a click or the pointer moving over the window; a pointer moving elsewhere on the
// screen is nobody.
TEST_F(MainTickerTest, IdleRemarksStopAfterThreeInARowUntilTheUserIsBack) {
    struct Step {
        const char* what;
        int periods;   // idle periods of kIdleTurn + 1 ticks after the sign below
        int remarks;   // idle remarks counted after them, in all
    } steps[] = {
        {"nobody", 5, 3},
        {"pointer moves outside", 2, 3},
        {"pointer moves over the window", 5, 6},
        {"pointer rests there", 2, 6},
        {"click", 1, 7},
        {"key", 4, 10},
    };
    const int period = ticks::kIdleTurn + 1;
    for (const Step& step : steps) {
        std::string what = step.what;
        if (what == "pointer moves outside") host.pointer = {50, 20};
        if (what == "pointer moves over the window") host.pointer = {300, 300};
        if (what == "click") ticker.UserPresent();
        if (what == "key") ticker.ResetIdle();
        Run(step.periods * period);
        EXPECT_EQ(host.idleTurns, step.remarks) << step.what;
    }
}

TEST_F(MainTickerTest, InfoBarTimingAndInactiveWindow) {
    host.infoBar = true;
    host.randoms = {};
    Run(1000);
    EXPECT_EQ(host.infoShown, 0);
    host.active = false;
    Run(500);  // nothing advances while inactive
    EXPECT_EQ(ticker.InfoTicks, 1000);
    host.active = true;
    Run(1);
    EXPECT_EQ(host.infoShown, 1);
    EXPECT_EQ(host.infoIndex, 5);
    Run(30);
    EXPECT_EQ(host.labelTop, 4);  // slid in from -20
    Run(1089);
    EXPECT_EQ(host.infoEnded, 1);
    EXPECT_EQ(host.labelTop, 23);  // slid out
    EXPECT_FALSE(ticker.InfoShown);
    host.infoBar = false;
    Run(2000);
    EXPECT_EQ(host.infoShown, 1);
}

TEST_F(MainTickerTest, QuitWaitsForSilenceAndMoreThanHundredTicks) {
    host.quit = true;
    host.speaking = true;
    Run(300);
    EXPECT_EQ(host.quits, 0);
    host.speaking = false;
    Run(1);
    EXPECT_EQ(host.quits, 1);
    MainTicker fresh(host);
    host.quits = 0;
    for (int i = 0; i < 101; ++i) fresh.Tick();
    EXPECT_EQ(host.quits, 0);  // -1 -> 0 on the first tick, then 100 more
    fresh.Tick();
    EXPECT_EQ(host.quits, 1);
}

TEST_F(MainTickerTest, ActivationFramesAndBlink) {
    ticker.WasActive = true;
    host.active = false;
    Run(1);
    host.active = true;
    Run(1);
    ASSERT_GE(host.frames.size(), 2u);
    EXPECT_EQ(host.frames[0], "mrk");
    EXPECT_EQ(host.frames[1], "-");
    host.frames.clear();
    // Look mode is off: one draw for the blink (0 + 600 < 701 fires), one for look mode.
    ticker.BlinkTicks = 700;
    host.randoms = {0, 5};
    Run(1);
    EXPECT_EQ(ticker.BlinkTicks, 0);
    EXPECT_EQ(host.frames, std::vector<std::string>{"mrk"});
}

TEST_F(MainTickerTest, GazeFollowsThePointerInLookMode) {
    ticker.LookMode = true;
    ticker.BlinkTicks = 10;
    host.pointer = {100 + 432 + 30, 50 + 144 - 30};  // (30, 30)
    Run(1);
    ASSERT_FALSE(host.frames.empty());
    EXPECT_EQ(host.frames.back(), "look1");
    size_t count = host.frames.size();
    Run(1);  // same offset: no new frame
    EXPECT_EQ(host.frames.size(), count);
    host.pointer = {100 + 432, 50 + 144 + 5};  // (0, -5): dead zone
    Run(1);
    EXPECT_EQ(host.frames.back(), "-");
    host.simple = true;
    host.pointer = {100 + 127 - 30, 50 + 144};  // (-30, 0) in the simple layout
    Run(1);
    EXPECT_EQ(host.frames.back(), "left");
}

TEST_F(MainTickerTest, ThemeFadeReloadsImagesOnce) {
    ticker.StartFade(false, true);
    Run(200);
    EXPECT_GE(host.reloads, 1);
    EXPECT_EQ(host.opacity, 255);
    EXPECT_FALSE(ticker.fade.FadeActive);
}

}  // namespace
}  // namespace tamzel::ui
