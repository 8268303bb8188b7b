// Word tests of the condition lines that need no engine state. Texts are Windows-1250,
// normalised as the working sentence is.
#pragma once

#include <string>

namespace tamzel::engine {

// Runs of plain lower-case letters.
int WordCount(const std::string& text);
// Long runs of consonants or of vowels: typing that is no Slovak word.
bool LooksLikeGibberish(const std::string& text);
// True when no character is anything but a digit (so an empty text too).
bool AllDigits(const std::string& text);

}  // namespace tamzel::engine
