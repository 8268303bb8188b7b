#include "ui/MainTicker.h"

#include <cstdlib>

namespace tamzel::ui {

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
    BlinkTicks += 1;
    if (!host_.Speaking()) IdleTicks += 1;
    if (BlinkTicks == 5 && !host_.Speaking()) host_.ShowFaceFrame("-");
    BlinkStep();
    if (IdleTicks > 2000) {
        IdleTicks = 0;
        host_.IdleTurn();
    }
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
    if (!host_.Speaking() && QuitCountdown > 100) {
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
    if (InfoTicks == 1000 && !InfoShown) {
        InfoShown = true;
        InfoTicks = 0;
        InfoIndex = host_.Random(5) + 1;
        host_.InfoBegin(InfoIndex);
    }
    InfoTicks += 1;
    if (!InfoShown) return;
    if (InfoTicks < 25 || (InfoTicks > 1100 && InfoTicks < 1120)) host_.InfoMoveDown();
    if (InfoTicks == 1120) {
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
    if (CloseHoverTicks == 750) CloseHoverTicks = 0;
    if (CloseHoverTicks == 10) LookMode = true;
    if (CloseHoverTicks == 100) host_.HoverTurn();
}

void MainTicker::BlinkStep() {
    bool fire = false;
    if (!host_.Speaking() && LookMode) fire = host_.Random(401) + 200 < BlinkTicks;
    if (!fire) fire = host_.Random(401) + 600 < BlinkTicks;
    if (!fire) return;
    host_.ShowFaceFrame("mrk");
    BlinkTicks = 0;
}

void MainTicker::LookModeStep() {
    int draw = host_.Random(LookMode ? 500 : 1200);
    if (draw != 0 || CloseHoverTicks != 0 || host_.Speaking()) return;
    LookMode = !LookMode;
    if (!LookMode) host_.ShowFaceFrame("-");
}

void MainTicker::GazeStep() {
    if (host_.Speaking() || BlinkTicks <= 5 || !LookMode) return;
    ScreenPoint p = host_.Pointer();
    ScreenPoint w = host_.WindowTopLeft();
    int x = p.x - w.x - (host_.SimpleLayout() ? 127 : 432);
    int y = w.y + 144 - p.y;
    if (x != LastLookX || y != LastLookY || CloseHoverTicks != 0) {
        bool deadZone = std::abs(x) < 22 && std::abs(y) < 10;
        host_.ShowFaceFrame(deadZone ? "-" : LookFrame(LookDirection(x, y)));
    }
    LastLookX = x;
    LastLookY = y;
}

}  // namespace tamzel::ui
