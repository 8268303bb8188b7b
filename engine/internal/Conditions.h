// Word tests of the condition lines that need no engine state. Texts are Windows-1250,
// normalised as the working sentence is.
#pragma once

#include <cstddef>
#include <string>

namespace tamzel::engine {

// Runs of plain lower-case letters.
int WordCount(const std::string& text);
// Long runs of consonants or of vowels: typing that is no Slovak word.
bool LooksLikeGibberish(const std::string& text);
// True when no character is anything but a digit (so an empty text too).
bool AllDigits(const std::string& text);
// Position of the first ';' from `start` on outside "<...>", or npos: where a word list's
// item ends (stored and inline lists inside an item keep their own ';').
size_t ListItemEnd(const std::string& list, size_t start);

}  // namespace tamzel::engine
