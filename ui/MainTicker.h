// The main window's fast timer as a plain state machine: one call of Tick() is one tick of
// Timer1 with every step in order (quit countdown, fade, activation frames, info bar,
// close-button hover turn, blink, idle turn, look mode, gaze). Everything it reads or does
// goes through TickHost, so tests drive it with simulated ticks, a fixed pointer and a
// scripted random generator, without a window or sleeping.
#pragma once

#include <string>

#include "ui/TurnText.h"

namespace tamzel::ui {

// The fast timer's tick counts. A tick is kTickMs milliseconds; every count below is in
// ticks of that timer, so the window's rhythm (blinking, the idle remark, the info bar's
// slide) changes in one place.
namespace ticks {
inline constexpr int kTickMs = 15;
// The program saves and ends at least this long after the brain's quit command, and not
// before the farewell has been spoken.
inline constexpr int kQuitWait = 100;
// Silence before Tamzel starts talking by itself.
inline constexpr int kIdleTurn = 2000;
// Idle remarks in a row without a sign of the user; then Tamzel waits for one (a key, a
// click or the pointer moving over the window) before remarking again.
inline constexpr int kIdleRemarksInARow = 3;
// The eyes open again this many ticks after a blink.
inline constexpr int kBlinkReopen = 5;
// A blink comes after kBlinkAfter + a random 0..kBlinkSpread-1 ticks, sooner while looking
// at the pointer.
inline constexpr int kBlinkSpread = 401;
inline constexpr int kBlinkAfter = 600;
inline constexpr int kBlinkAfterLooking = 200;
// Looking at the pointer starts or stops with a chance of one in this many per tick.
inline constexpr int kLookStartChance = 1200;
inline constexpr int kLookStopChance = 500;
// The info bar: shown after kInfoDelay ticks, slides in during its first kInfoSlideIn
// ticks, slides out between kInfoSlideOut and kInfoEnd, then hides.
inline constexpr int kInfoDelay = 1000;
inline constexpr int kInfoSlideIn = 25;
inline constexpr int kInfoSlideOut = 1100;
inline constexpr int kInfoEnd = 1120;
inline constexpr int kInfoMessages = 5;  // the bar's texts are numbered 1..kInfoMessages
// The pointer resting on the close button: Tamzel looks at it after kHoverLook ticks and
// remarks on it after kHoverTurn; the count starts again at kHoverRestart.
inline constexpr int kHoverLook = 10;
inline constexpr int kHoverTurn = 100;
inline constexpr int kHoverRestart = 750;
}  // namespace ticks

// The gaze follows the pointer outside a dead zone around the face's centre, so that small
// moves near the face keep the eyes straight ahead (half-width and half-height, pixels).
inline constexpr int kGazeDeadZoneX = 22;
inline constexpr int kGazeDeadZoneY = 10;

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

class TickHost {
public:
    virtual ~TickHost() = default;
    virtual bool QuitRequested() = 0;
    virtual bool Speaking() = 0;
    virtual void SaveAndQuit() = 0;
    virtual bool WindowActive() = 0;
    virtual void SetOpacity(int opacity) = 0;   // 0..255
    virtual void ReloadThemeImages() = 0;
    virtual void ShowFaceFrame(const std::string& name) = 0;  // draws nothing while animation is off
    virtual bool AnimationOn() = 0;
    virtual bool InfoBarOn() = 0;
    virtual void InfoBegin(int index) = 0;      // label enabled, top -20, message `index`
    virtual void InfoMoveDown() = 0;            // label one pixel lower
    virtual void InfoEnd() = 0;                 // label disabled
    virtual ScreenPoint Pointer() = 0;          // screen coordinates
    virtual ScreenPoint WindowTopLeft() = 0;
    virtual ScreenPoint WindowSize() = 0;       // width, height
    virtual bool SimpleLayout() = 0;
    virtual void HoverTurn() = 0;
    virtual void IdleTurn() = 0;
    virtual int Random(int n) = 0;              // uniform 0..n-1
};

// Geometry of the close button in window coordinates (left includes its panel's left).
struct CloseButtonBox {
    int left = 492 + 44;
    int top = 2;
    int width = 16;
    int height = 16;
};

class MainTicker {
public:
    explicit MainTicker(TickHost& host) : host_(host) {}

    void Tick();
    // Every key in the input line resets the idle count and the remarks in a row.
    void ResetIdle() {
        IdleTicks = 0;
        IdleRemarks = 0;
    }
    // A click in the window: the user is there, Tamzel may remark again.
    void UserPresent() { IdleRemarks = 0; }
    void SetCloseButton(const CloseButtonBox& box) { close_ = box; }
    // A fade started by the settings window (plain) or a theme change.
    void StartFade(bool fadeIn, bool themeFade);

    int QuitCountdown = -1;
    FadeState fade;
    bool WasActive = false;
    bool InfoShown = false;
    int InfoTicks = 0;
    int InfoIndex = 1;
    int CloseHoverTicks = 0;
    int IdleTicks = 0;
    int IdleRemarks = 0;  // idle remarks since the user was last seen
    int BlinkTicks = 0;
    bool LookMode = false;
    int LastLookX = 0;
    int LastLookY = 0;

private:
    bool QuitStep();
    void FadeStep();
    void ActivationStep();
    void InfoStep();
    void HoverStep();
    void PresenceStep();
    void IdleStep();
    void BlinkStep();
    void LookModeStep();
    void GazeStep();

    TickHost& host_;
    CloseButtonBox close_;
    ScreenPoint lastPointer_{-1, -1};
};

}  // namespace tamzel::ui
