// Pure pieces of the main window's behaviour: the gaze direction
// of the pointer, the mood word of the info bar, the info-bar messages, the window fade
// arithmetic and halves-to-even rounding. Texts are Windows-1250.
#pragma once

#include <string>

#include "base/Tags.h"

namespace tamzel::ui {

// The window shows, records and speaks replies without their tags.
using base::StripTags;

// Gaze direction 1..8 (1 up, then clockwise) for a pointer offset; y grows upwards.
int LookDirection(int x, int y);
// The face frame of a direction: "up", "look1", "right", "look2", "down", "look3", "left", "look4".
const char* LookFrame(int direction);

// "Vynikajúca", "Dobrá", "Neutrálna", "Zlá" or "Hrozná" (Windows-1250).
std::string MoodWord(int mood);

// Info-bar message 1..5 (Windows-1250); message 4 carries the mood word.
std::string InfoMessage(int index, int mood);
// The help page a click on info-bar message `index` opens: a path relative to the program
// folder and an anchor in it (may be empty); an empty path for messages without a page.
struct HelpPage {
    const char* path = "";
    const char* anchor = "";
};
HelpPage InfoHelpPage(int index);
// The text of the message dialog behind message 5 (Windows-1250).
std::string ThemeHintText();

// Halves to the even neighbour, as every rounding of the program.
long RoundHalfEven(double value);

// The window fade of one tick. Returns true when the theme images are to be reloaded.
struct FadeState {
    int opacity = 255;  // 0..255
    bool FadeActive = false;
    bool FadeIn = false;
    bool ThemeFade = false;
};
bool FadeTick(FadeState& s);

}  // namespace tamzel::ui
