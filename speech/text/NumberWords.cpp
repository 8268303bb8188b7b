#include "speech/text/NumberWords.h"

#include <array>

#include "base/Codepage.h"

namespace tamzel::speech {
namespace {

struct WordTables {
    std::array<std::string, 20> units;  // 0..19, [0] empty
    std::array<std::string, 10> tens;   // 2..9
    std::array<std::string, kMaxScaledGroups + 1> scales;  // 2..10
    std::string hundred, zero;
};


// The words are written here in UTF-8 for readability and converted once.
const WordTables& Words() {
    static const WordTables tables = [] {
        WordTables t;
        const char* units[] = {"", "jeden", "dve", "tri", "štyri", "päť", "šesť", "sedem",
                               "osem", "deväť", "desať", "jedenásť", "dvanásť", "trinásť",
                               "štrnásť", "pätnásť", "šestnásť", "sedemnásť", "osemnásť",
                               "devätnásť"};
        const char* tens[] = {"", "", "dvadsať", "tridsať", "štyridsať", "päťdesiat",
                              "šesťdesiat", "sedemdesiat", "osemdesiat", "deväťdesiat"};
        const char* scales[] = {"", "", "tisíc", "milión", "miliárd", "bilión", "biliárd",
                                "trilión", "triliárd", "kvadrilión", "kvadriliárd"};
        for (size_t i = 0; i < t.units.size(); ++i) t.units[i] = base::Cp1250(units[i]);
        for (size_t i = 0; i < t.tens.size(); ++i) t.tens[i] = base::Cp1250(tens[i]);
        for (size_t i = 0; i < t.scales.size(); ++i) t.scales[i] = base::Cp1250(scales[i]);
        t.hundred = "sto";
        t.zero = "nula";
        return t;
    }();
    return tables;
}

// "a", "y", "ov" or nothing after a scale word, by the value of the group's last two digits.
std::string ScaleEnding(int n, int lastTwo) {
    if (n == 2) return "";
    bool few = lastTwo >= 2 && lastTwo <= 4;
    if (n % 2 == 0) return lastTwo == 1 ? "a" : few ? "y" : "";
    return lastTwo == 1 ? "" : few ? "y" : "ov";
}

// Beyond the scale table a run is read digit by digit: each digit's word and a space.
std::string SpellDigits(std::string_view digits) {
    const WordTables& w = Words();
    std::string out;
    for (char d : digits) {
        int v = d - '0';
        out += v == 0 ? w.zero : v == 2 ? std::string("dva") : w.units[v];
        out += ' ';
    }
    return out;
}

}  // namespace

std::string SpellGroup(std::string_view group, int n) {
    const WordTables& w = Words();
    std::string padded = std::string(3 - group.size(), '0') + std::string(group);
    int h = padded[0] - '0', t = padded[1] - '0', u = padded[2] - '0';
    int value = h * 100 + t * 10 + u;
    bool loneOne = group.size() < 3 && value == 1 && n >= 2;
    std::string out;
    if (h == 1) out = w.hundred;
    if (h >= 2) out = w.units[h] + w.hundred;
    if (t >= 2) {
        out += w.tens[t];
        if (u != 0) out += w.units[u];
    } else if (!loneOne) {
        out += w.units[t * 10 + u];
    }
    // "dve" reads "dva" except in the thousands (dvetisíc) and in twelve.
    if (u == 2 && t != 1 && n != 2 && !out.empty()) out.back() = 'a';
    if (value != 0) {
        if (n >= 2 && n <= kMaxScaledGroups) out += w.scales[n] + ScaleEnding(n, t * 10 + u);
        out += ' ';
    }
    return out;
}

std::string NumberToWords(std::string_view digits) {
    size_t first = digits.find_first_not_of('0');
    if (first == std::string_view::npos) return Words().zero;
    std::string_view run = digits.substr(first);
    if (run.size() > 3 * static_cast<size_t>(kMaxScaledGroups)) return SpellDigits(run);
    std::string out;
    int n = 1;
    for (size_t end = run.size(); end > 0; end = end >= 3 ? end - 3 : 0, ++n) {
        size_t begin = end >= 3 ? end - 3 : 0;
        out = SpellGroup(run.substr(begin, end - begin), n) + out;
    }
    return out;
}

}  // namespace tamzel::speech
