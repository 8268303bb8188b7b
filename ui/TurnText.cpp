#include "ui/TurnText.h"

#include <algorithm>
#include <cmath>

#include "base/Codepage.h"

namespace tamzel::ui {

int LookDirection(int x, int y) {
    if (x == 0) return y >= 0 ? 1 : 5;
    double r = static_cast<double>(y) / x;
    if (x > 0 && y >= 0) return r < 0.41 ? 3 : (r <= 2.41 ? 2 : 1);
    if (x > 0) return r > -0.41 ? 3 : (r >= -2.41 ? 4 : 5);
    if (y < 0) return r > 2.41 ? 5 : (r >= 0.41 ? 6 : 7);
    return r > -0.41 ? 7 : (r >= -2.41 ? 8 : 1);
}

const char* LookFrame(int direction) {
    static const char* const frames[] = {"up",   "look1", "right", "look2",
                                         "down", "look3", "left",  "look4"};
    if (direction < 1 || direction > 8) return "-";
    return frames[direction - 1];
}

std::string MoodWord(int mood) {
    if (mood >= 21) return base::Cp1250("Vynikajúca");
    if (mood >= 11) return base::Cp1250("Dobrá");
    if (mood >= 1) return base::Cp1250("Neutrálna");
    if (mood >= -9) return base::Cp1250("Zlá");
    return base::Cp1250("Hrozná");
}

std::string InfoMessage(int index, int mood) {
    switch (index) {
        case 1: return base::Cp1250("Ako sa rozprávať s Tamzelom?");
        case 2: return "O programe Tamzel";
        case 3: return base::Cp1250("Čo si Tamzel pamätá?");
        case 4: return base::Cp1250("Tamzelova nálada: ") + MoodWord(mood);
        default: return base::Cp1250("Zmeň vzhľad programu!");
    }
}

// The program has no web site of its own: what the bar offers is in its local help.
HelpPage InfoHelpPage(int index) {
    switch (index) {
        case 1: return {"help/index.htm", ""};
        case 2: return {"help/about.htm", ""};
        case 3: return {"help/index.htm", "pamat"};
        default: return {};
    }
}

std::string ThemeHintText() {
    return base::Cp1250(
        "Tamzel podporuje zmenu svojho vzhľadu! Vzhľad (súbor .thm a priečinok jeho obrázkov "
        "s rovnakým menom) nakopíruj do priečinka design programu a vyber ho v "
        "Menu/Program/Zmeň vzhľad.");
}

long RoundHalfEven(double value) {
    double down = std::floor(value);
    double diff = value - down;
    if (diff < 0.5) return static_cast<long>(down);
    if (diff > 0.5) return static_cast<long>(down) + 1;
    long d = static_cast<long>(down);
    return d % 2 == 0 ? d : d + 1;
}

bool FadeTick(FadeState& s) {
    if (!s.FadeActive) return false;
    int step = s.ThemeFade ? static_cast<int>(RoundHalfEven(s.opacity / 15.0)) + 1 : 5;
    if (s.FadeIn) {
        if (s.opacity + step <= 255) {
            s.opacity += step;
        } else {
            s.opacity = 255;
            s.ThemeFade = false;
        }
    } else {
        s.opacity = std::max(0, s.opacity - step);
    }
    if (s.ThemeFade) {
        if (s.opacity < 5) {
            s.FadeIn = true;
            return true;
        }
    } else if (s.opacity < 100 || s.opacity == 255) {
        s.FadeActive = false;
    }
    return false;
}

}  // namespace tamzel::ui
