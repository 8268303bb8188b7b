// Windows-1250 literals written in UTF-8 source, for the Qt-free parts of the program.
#pragma once

#include <string>

namespace tamzel::ui {

// A UTF-8 literal of our own sources as Windows-1250 bytes. Our literals always have a
// Windows-1250 form; a literal without one is a programming error and aborts.
std::string Cp(const char* utf8);

}  // namespace tamzel::ui
