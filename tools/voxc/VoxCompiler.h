// The dictionary source format and its conversion to and from the stored lines.
//
// Source: UTF-8 text, one entry "key=value" a line. Spaces matter (keys usually begin and
// end with one), so "_" may be written for a space; the text at the dictionary's step never
// holds "_". Empty lines and lines starting with "#" are left out.
//
//   CompileSource(" # abbreviations\n_napr_._=_napríklad_\n") -> lines {" napr . = napríklad "}
#pragma once

#include <string>
#include <vector>

namespace tamzel::voxc {

struct Compiled {
    std::vector<std::string> lines;     // Windows-1250 "key=value" lines, file order
    std::vector<std::string> errors;    // UTF-8, "riadok N: ..." (the file is not written)
    std::vector<std::string> warnings;  // UTF-8: entries that can never take effect
};

Compiled CompileSource(const std::string& utf8Source);

// Stored lines back to the source form (UTF-8, "_" for spaces).
std::string DecompileLines(const std::vector<std::string>& lines);

}  // namespace tamzel::voxc
