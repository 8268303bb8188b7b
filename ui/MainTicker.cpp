#include "ui/MainTicker.h"

#include <cstdlib>

#include "speech/playback/FaceGeometry.h"

namespace tamzel::ui {

using namespace ticks;

void MainTicker::StartFade(bool fadeIn, bool themeFade) {
    fade.FadeActive = true;
    fade.FadeIn = fadeIn;
    fade.ThemeFade = themeFade;
}

void MainTicker::Tick() {
    if (QuitStep()) return;
    FadeStep();
    ActivationStep();
    if (!host_.WindowActive()) return;
    InfoStep();
    HoverStep();
    PresenceStep();
    BlinkTicks += 1;
    if (!host_.Speaking()) IdleTicks += 1;
    if (BlinkTicks == kBlinkReopen && !host_.Speaking()) host_.ShowFaceFrame("-");
    BlinkStep();
    IdleStep();
    LookModeStep();
    GazeStep();
}

// Returns true when the program is ending and the tick must stop.
bool MainTicker::QuitStep() {
    if (!host_.QuitRequested()) return false;
    if (QuitCountdown == -1) {
        QuitCountdown = 0;
        return false;
    }
    QuitCountdown += 1;
    if (!host_.Speaking() && QuitCountdown > kQuitWait) {
        host_.SaveAndQuit();
        return true;
    }
    return false;
}

void MainTicker::FadeStep() {
    if (!fade.FadeActive) return;
    bool reload = FadeTick(fade);
    host_.SetOpacity(fade.opacity);
    if (reload) host_.ReloadThemeImages();
}

void MainTicker::ActivationStep() {
    bool active = host_.WindowActive();
    if (active == WasActive) return;
    WasActive = active;
    if (host_.AnimationOn()) host_.ShowFaceFrame(active ? "-" : "mrk");
}

void MainTicker::InfoStep() {
    if (!host_.InfoBarOn()) return;
    if (InfoTicks == kInfoDelay && !InfoShown) {
        InfoShown = true;
        InfoTicks = 0;
        InfoIndex = host_.Random(kInfoMessages) + 1;
        host_.InfoBegin(InfoIndex);
    }
    InfoTicks += 1;
    if (!InfoShown) return;
    if (InfoTicks < kInfoSlideIn || (InfoTicks > kInfoSlideOut && InfoTicks < kInfoEnd))
        host_.InfoMoveDown();
    if (InfoTicks == kInfoEnd) {
        InfoShown = false;
        host_.InfoEnd();
        InfoTicks = 0;
    }
}

void MainTicker::HoverStep() {
    ScreenPoint p = host_.Pointer();
    ScreenPoint w = host_.WindowTopLeft();
    int left = close_.left + w.x;
    int top = close_.top + w.y;
    bool inside = p.x > left && p.x < left + close_.width && p.y > top && p.y < top + close_.height;
    if (!inside) {
        CloseHoverTicks = 0;
        return;
    }
    CloseHoverTicks += 1;
    if (CloseHoverTicks == kHoverRestart) CloseHoverTicks = 0;
    if (CloseHoverTicks == kHoverLook) LookMode = true;
    if (CloseHoverTicks == kHoverTurn) host_.HoverTurn();
}

// The pointer moving over the window counts as the user being there; the idle count itself
// goes on, only a key starts it again.
void MainTicker::PresenceStep() {
    ScreenPoint p = host_.Pointer();
    bool moved = p.x != lastPointer_.x || p.y != lastPointer_.y;
    bool first = lastPointer_.x == -1 && lastPointer_.y == -1;
    lastPointer_ = p;
    if (!moved || first) return;
    ScreenPoint w = host_.WindowTopLeft();
    ScreenPoint size = host_.WindowSize();
    if (p.x >= w.x && p.x < w.x + size.x && p.y >= w.y && p.y < w.y + size.y) UserPresent();
}

void MainTicker::IdleStep() {
    if (IdleTicks <= kIdleTurn) return;
    IdleTicks = 0;
    if (IdleRemarks >= kIdleRemarksInARow) return;
    IdleRemarks += 1;
    host_.IdleTurn();
}

void MainTicker::BlinkStep() {
    bool fire = false;
    if (!host_.Speaking() && LookMode) fire = host_.Random(kBlinkSpread) + kBlinkAfterLooking < BlinkTicks;
    if (!fire) fire = host_.Random(kBlinkSpread) + kBlinkAfter < BlinkTicks;
    if (!fire) return;
    host_.ShowFaceFrame("mrk");
    BlinkTicks = 0;
}

void MainTicker::LookModeStep() {
    int draw = host_.Random(LookMode ? kLookStopChance : kLookStartChance);
    if (draw != 0 || CloseHoverTicks != 0 || host_.Speaking()) return;
    LookMode = !LookMode;
    if (!LookMode) host_.ShowFaceFrame("-");
}

void MainTicker::GazeStep() {
    if (host_.Speaking() || BlinkTicks <= kBlinkReopen || !LookMode) return;
    ScreenPoint p = host_.Pointer();
    ScreenPoint w = host_.WindowTopLeft();
    int x = p.x - w.x - speech::GazeCentreX(host_.SimpleLayout());
    int y = w.y + speech::kGazeCentreY - p.y;
    if (x != LastLookX || y != LastLookY || CloseHoverTicks != 0) {
        bool deadZone = std::abs(x) < kGazeDeadZoneX && std::abs(y) < kGazeDeadZoneY;
        host_.ShowFaceFrame(deadZone ? "-" : LookFrame(LookDirection(x, y)));
    }
    LastLookX = x;
    LastLookY = y;
}

}  // namespace tamzel::ui
