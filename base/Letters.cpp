#include "base/Letters.h"

#include <array>

namespace tamzel::base {
namespace {

// Folding table over all 256 codes, built once.
std::array<char, 256> MakeFoldTable() {
    std::array<char, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = static_cast<char>(c);
    struct Pair {
        unsigned char upper, lower;
        char plain;
    };
    // Ó and ó fold too: rules are written without diacritics, and "telefón" or "gól" typed
    // with them must still meet "telefon" and "gol".
    static constexpr Pair kLetters[] = {
        {0xC1, 0xE1, 'a'}, {0xC4, 0xE4, 'a'}, {0xC8, 0xE8, 'c'}, {0xCF, 0xEF, 'd'},
        {0xC9, 0xE9, 'e'}, {0xCD, 0xED, 'i'}, {0xBC, 0xBE, 'l'}, {0xC5, 0xE5, 'l'},
        {0xD2, 0xF2, 'n'}, {0xD4, 0xF4, 'o'}, {0xD3, 0xF3, 'o'}, {0xC0, 0xE0, 'r'},
        {0x8A, 0x9A, 's'}, {0x8D, 0x9D, 't'}, {0xDA, 0xFA, 'u'}, {0xDD, 0xFD, 'y'}, {0x8E, 0x9E, 'z'},
    };
    for (const Pair& p : kLetters) {
        t[p.upper] = p.plain;
        t[p.lower] = p.plain;
    }
    return t;
}

const std::array<char, 256>& FoldTable() {
    static const std::array<char, 256> table = MakeFoldTable();
    return table;
}

}  // namespace

std::string FoldDiacritics(const std::string& text) {
    std::string out(text);
    FoldDiacriticsInPlace(out);
    return out;
}

void FoldDiacriticsInPlace(std::string& text) {
    const auto& table = FoldTable();
    for (char& c : text) c = table[static_cast<unsigned char>(c)];
}

char UpperLetter(char c) {
    auto b = static_cast<unsigned char>(c);
    // Windows-1250 keeps most capitals 0x20 below their small letters; the letters in the
    // 0x8A..0xBF range pair up irregularly.
    constexpr unsigned char kPairs[][2] = {
        {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D}, {0x9E, 0x8E}, {0x9F, 0x8F},  // š ś ť ž ź
        {0xB3, 0xA3}, {0xB9, 0xA5}, {0xBA, 0xAA}, {0xBE, 0xBC}, {0xBF, 0xAF},  // ł ą ş ľ ż
    };
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 'a' + 'A');
    if (b >= 0xE0 && b != 0xF7 && b != 0xFF) return static_cast<char>(b - 0x20);  // not ÷ ˙
    for (const auto& pair : kPairs)
        if (b == pair[0]) return static_cast<char>(pair[1]);
    return c;
}

}  // namespace tamzel::base
