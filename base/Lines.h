// Line files: every text file of Tamzel (profiles, memory, records) is lines ended by CR LF,
// and is read back whether its lines end in CR LF or LF alone.
#pragma once

#include <string>
#include <vector>

namespace tamzel::base {

using Lines = std::vector<std::string>;

// The lines of `text` without their ends; one CR before each LF (or at the very end of the
// text) goes with the end. A final line without an end counts; the empty text has no lines,
// and a final end adds none.
Lines SplitLines(const std::string& text);

// Each line followed by CR LF.
std::string JoinLines(const Lines& lines);

}  // namespace tamzel::base
