// The program's command line: `--key value` options, bare flags and positional words.
// Every mode of the program (window, console chat, speech tools) reads what it needs here.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tamzel::ui {

struct CommandLine {
    std::map<std::string, std::string> options;  // "--home" -> "/path"
    std::set<std::string> flags;                 // "--console", "--verbose"
    std::vector<std::string> words;              // positional words, e.g. "build"
    std::string error;                           // non-empty when parsing failed

    bool Has(const std::string& flag) const { return flags.count(flag) > 0; }
    std::optional<std::string> Get(const std::string& key) const;
    // An integer option; `fallback` when absent, nothing when present but not a number.
    std::optional<long> GetInt(const std::string& key, long fallback) const;
};

// Options that take a value; everything else starting with "--" is a flag.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// Usage text shown by --help and after a parsing error (UTF-8).
std::string UsageText();

}  // namespace tamzel::ui
