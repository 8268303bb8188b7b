// The longest sentence Tamzel reads. Every input path (the window's input line, the
// console, the self-talk file) cuts a longer line to this length and says so; the engine
// cuts again as the last guard, so no path can make one turn take minutes or gigabytes.
#pragma once

#include <cstddef>
#include <string>

namespace tamzel::engine {

// Characters (Windows-1250 bytes) of one input line; the window's input line allows as many.
constexpr size_t kMaxInputLength = 4096;

// Cuts `text` to kMaxInputLength characters; true when something was cut off.
bool CutToInputLimit(std::string& text);

// The one-line notice shown when a line was cut (Windows-1250).
std::string InputCutNotice();

}  // namespace tamzel::engine
