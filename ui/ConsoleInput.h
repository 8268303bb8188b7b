// Reading the console's lines with a bound: a line longer than the input limit is read to
// its end but only its beginning is kept, so a huge line (or a file without line breaks)
// costs neither memory nor minutes.
#pragma once

#include <cstdio>
#include <string>

namespace tamzel::ui {

struct ConsoleLine {
    std::string text;  // UTF-8, without the line end (and without a CR before it)
    bool cut = false;  // the line was longer than the bound; the rest was skipped
};

// Reads the next line of `in`, keeping at most `maxBytes` bytes of it. False at the end of
// input when nothing was read.
bool ReadBoundedLine(std::FILE* in, size_t maxBytes, ConsoleLine& line);

// The bytes kept of a console line: room for the input limit's characters in UTF-8 (a
// Windows-1250 character takes up to three bytes).
size_t ConsoleLineBytes();

// `utf8` cut to the input limit's characters after conversion; true when it was cut.
bool CutConsoleLine(const std::string& utf8, std::string& cp1250);

}  // namespace tamzel::ui
