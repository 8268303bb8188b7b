// The pronunciation dictionary files/slovnik.vox: text replacements applied to an answer
// before the spelling-to-sound rules. Each line "key=value" is stored scrambled byte by
// byte; lines end in CR LF (the reader splits at CR LF only, because a scrambled "ó" can
// become a bare LF byte inside a line). Keys and values are written the way the answer
// looks at that point: lower case, spaces around words and marks, d/t/n before e/i softened.
//
//   ApplyDictionary(" napr. ", "files/slovnik.vox") -> " napr\xEDklad . "  (if such a line exists)
//
// The file is read anew at every call, so an edited dictionary takes effect at once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamzel::speech {

inline constexpr const char* kDictionaryPath = "files/slovnik.vox";

// Reads the dictionary (throws SpeechError naming the file when it cannot be read) and, line
// by line, replaces the first occurrence of the key by the value until the key is gone.
// A line whose key occurs inside its value (including an empty key) is skipped. Each line
// stops after kMaxDictionaryReplacements replacements, so a pathological pair cannot hang.
std::string ApplyDictionary(const std::string& text, const std::string& path = kDictionaryPath);
inline constexpr int kMaxDictionaryReplacements = 10000;

struct DictionaryEntry {
    std::string key;    // text before the first "="; empty when the line has none
    std::string value;  // everything after it
};

// Byte p (1-based) of a stored line: +7 when p mod 3 = 1, -23 when 2, -15 when 0 (mod 256).
std::string UnscrambleLine(std::string_view stored);
// The inverse, for the dictionary compiler.
std::string ScrambleLine(std::string_view plain);

DictionaryEntry SplitEntry(const std::string& line);

// Decoded entries of a whole stored file (for --decompile and tests).
std::vector<std::string> UnscrambleFile(const std::string& stored);
// A whole stored file from plain lines; throws SpeechError when a line would not survive
// the round trip (its scrambled form holds the pair CR LF).
std::string ScrambleFile(const std::vector<std::string>& plainLines);

}  // namespace tamzel::speech
