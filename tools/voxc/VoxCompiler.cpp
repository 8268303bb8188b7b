#include "VoxCompiler.h"

#include "base/Codepage.h"
#include "base/Lines.h"
#include "speech/text/Dictionary.h"
#include "speech/text/SpeechText.h"

namespace tamzel::voxc {
namespace {

std::string Trim(const std::string& s, char c) {
    size_t a = s.find_first_not_of(c), b = s.find_last_not_of(c);
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::string Replace(std::string s, char from, char to) {
    for (char& c : s)
        if (c == from) c = to;
    return s;
}

// Reasons an entry can never change anything; empty when it is fine.
std::string Uselessness(const speech::DictionaryEntry& e) {
    if (e.key.empty()) return "prázdny kľúč";
    if (e.value.find(e.key) != std::string::npos) return "hodnota obsahuje kľúč, riadok sa preskočí";
    // A key matches only if it is already in the form the text has at the dictionary step.
    std::string expected = Trim(speech::TextBeforeDictionary(e.key), ' ');
    if (Trim(e.key, ' ') != expected)
        return "kľúč nie je v tvare textu pred slovníkom (očakávaný: \"" +
               base::ToUtf8(expected) + "\")";
    return "";
}

}  // namespace

Compiled CompileSource(const std::string& utf8Source) {
    Compiled out;
    base::Lines lines = base::SplitLines(utf8Source);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        int number = static_cast<int>(i + 1);
        std::string where = "riadok " + std::to_string(number) + ": ";
        if (line.empty() || line[0] == '#') continue;
        if (line.find('=') == std::string::npos) {
            out.errors.push_back(where + "chýba znak \"=\"");
            continue;
        }
        size_t bad = 0;
        auto cp = base::FromUtf8(Replace(line, '_', ' '), &bad);
        if (!cp) {
            out.errors.push_back(where + "znak na pozícii " + std::to_string(bad + 1) +
                                 " nie je platné UTF-8 alebo nemá tvar vo Windows-1250");
            continue;
        }
        std::string why = Uselessness(speech::SplitEntry(*cp));
        if (!why.empty()) out.warnings.push_back(where + why);
        out.lines.push_back(*cp);
    }
    return out;
}

std::string DecompileLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += Replace(base::ToUtf8(line), ' ', '_') + "\n";
    return out;
}

}  // namespace tamzel::voxc
