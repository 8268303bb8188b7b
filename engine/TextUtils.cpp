#include "engine/TextUtils.h"

#include "base/Tags.h"

#include <array>

namespace tamzel::engine {
namespace {

// Characters that survive sentence normalisation; everything else becomes a blank.
std::array<bool, 256> MakeAllowedTable() {
    std::array<bool, 256> t{};
    for (unsigned char c : std::string("!,./?")) t[c] = true;
    for (int c = '0'; c <= '9'; ++c) t[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = true;
    for (int c = 'a'; c <= 'z'; ++c) t[c] = true;
    static constexpr unsigned char kSlovak[] = {
        0x8A, 0x8D, 0x8E, 0x9A, 0x9D, 0x9E, 0xBC, 0xBE, 0xC1, 0xC4, 0xC8, 0xC9, 0xCD, 0xCF, 0xD2,
        0xD3, 0xD4, 0xDA, 0xDD, 0xE1, 0xE4, 0xE8, 0xE9, 0xED, 0xEF, 0xF2, 0xF3, 0xF4, 0xFA, 0xFD,
    };
    for (unsigned char c : kSlovak) t[c] = true;
    // Ĺ ĺ Ŕ ŕ are Slovak letters too: dropping them broke words such as "mŕtvy" or "dĺžka"
    // into two, so neither rules nor echoes could read them.
    static constexpr unsigned char kSyllabicLiquids[] = {0xC0, 0xC5, 0xE0, 0xE5};
    for (unsigned char c : kSyllabicLiquids) t[c] = true;
    return t;
}

bool IsAllowed(char c) {
    static const std::array<bool, 256> table = MakeAllowedTable();
    return table[static_cast<unsigned char>(c)];
}

bool IsMark(char c) { return c == '!' || c == ',' || c == '.' || c == '?'; }
bool IsEndMark(char c) { return c == '!' || c == '.' || c == '?'; }
bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }

char AsciiUpper(char c) { return IsAsciiLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The pronoun pairs in scan order, Windows-1250. Rows 3 and 8 are the same pair; the last
// two rows come after the scan of the classic thirteen and only add new words.
struct PronounPair {
    const char* first;
    const char* second;
};
constexpr PronounPair kPronouns[] = {
    {"ja", "ty"},          {"mi", "ti"},           {"my", "vy"},
    {"mne", "tebe"},       {"sme", "ste"},         {"m\xF4j", "tvoj"},
    {"si", "som"},         {"my", "vy"},           {"n\xE1m", "v\xE1m"},
    {"n\xE1\x9A", "v\xE1\x9A"}, {"n\xE1s", "v\xE1m"}, {"so mnou", "s tebou"},
    {"nami", "vami"},      {"moju", "tvoju"},      {"m\xF2" "a", "teba"},
};

std::string ReflectWord(const std::string& word) {
    if (word.empty()) return word;
    std::string folded = base::FoldDiacritics(word);
    for (const PronounPair& p : kPronouns) {
        if (folded == base::FoldDiacritics(p.first)) return p.second;
        if (folded == base::FoldDiacritics(p.second)) return p.first;
    }
    return word;
}

// A blank on both sides of every mark. A mark that ends the text gets its blank too, so a
// normalised sentence always ends in a blank.
void SpaceMarks(std::string& s) {
    std::string out;
    out.reserve(s.size() * 2);
    for (size_t i = 0; i < s.size(); ++i) {
        if (!IsMark(s[i])) {
            out += s[i];
            continue;
        }
        if (!out.empty() && out.back() != ' ') out += ' ';
        out += s[i];
        if (i + 1 >= s.size() || s[i + 1] != ' ') out += ' ';
    }
    s = std::move(out);
}

// Drops each blank that is followed by a blank or a mark (the last character stays).
std::string DropBlanksBeforeMarks(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        bool drop = s[i] == ' ' && i + 1 < s.size() && (s[i + 1] == ' ' || IsMark(s[i + 1]));
        if (!drop) out += s[i];
    }
    return out;
}

// A dot right after a digit makes an ordinal number or a date ("24. decembra", "1. mája"),
// not the end of a sentence, so the word after it keeps its small letter.
bool IsOrdinalDot(const std::string& s, size_t i) {
    return s[i] == '.' && i > 0 && s[i - 1] >= '0' && s[i - 1] <= '9';
}

// One blank after each mark (not between repeated marks), a capital two places after every
// mark but the comma and the ordinal dot. The capital is made before later marks add their blanks.
std::string SpaceAfterMarks(std::string s) {
    std::string out;
    out.reserve(s.size() * 2);
    for (size_t i = 0; i < s.size(); ++i) {
        out += s[i];
        if (!IsMark(s[i]) || i + 1 >= s.size()) continue;
        bool blank = s[i + 1] != ' ' && s[i + 1] != s[i];
        if (blank) out += ' ';
        size_t capital = blank ? i + 1 : i + 2;
        if (s[i] != ',' && !IsOrdinalDot(s, i) && capital < s.size())
            s[capital] = AsciiUpper(s[capital]);
    }
    return out;
}

}  // namespace

std::string IntToText(int32_t n) { return std::to_string(n); }

int32_t TextToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint32_t base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    uint32_t value = 0;  // unsigned, so that overflow wraps instead of being undefined
    for (; i < text.size(); ++i) {
        int d = HexDigit(text[i]);
        if (d < 0 || static_cast<uint32_t>(d) >= base) break;
        value = value * base + static_cast<uint32_t>(d);
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

void TrimLeadingBlanks(std::string& text) {
    if (text.empty() || text[0] != ' ') return;
    size_t n = text.find_first_not_of(' ');
    text.erase(0, n == std::string::npos ? text.size() : n);
}

bool ContainsText(std::string_view haystack, std::string_view needle) {
    return !needle.empty() && haystack.find(needle) != std::string::npos;
}

std::string BracketContent(const std::string& text, char open, char close, bool* failed) {
    return std::string(BracketView(text, open, close, failed));
}

std::string_view BracketView(std::string_view text, char open, char close, bool* failed) {
    static constexpr char kFailure[1] = {'\0'};
    if (failed) *failed = false;
    size_t i = text.find(open);
    if (i == std::string_view::npos) i = text.empty() ? 0 : text.size() - 1;
    int depth = 1;
    for (size_t j = i + 1; j < text.size(); ++j) {
        if (text[j] == open) {
            ++depth;
        } else if (text[j] == close && --depth == 0) {
            return text.substr(i + 1, j - i - 1);
        }
    }
    if (failed) *failed = true;
    return std::string_view(kFailure, 1);
}

void ReflectPersons(std::string& text) {
    std::string result;
    result.reserve(text.size() + 16);
    size_t start = 0;
    for (;;) {
        size_t blank = text.find(' ', start);
        size_t end = blank == std::string::npos ? text.size() : blank;
        result += ReflectWord(text.substr(start, end - start));
        if (blank == std::string::npos) break;
        result += ' ';
        start = blank + 1;
    }
    text = std::move(result);
}

void NormaliseInput(std::string& text) {
    if (text.empty()) return;
    size_t last = text.find_last_not_of(' ');
    if (last == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(last + 1);
    if (!IsEndMark(text.back())) text += '.';
    NormaliseSentence(text);
}

void NormaliseSentence(std::string& text) {
    if (text.empty()) return;
    if (text.front() != ' ') text.insert(text.begin(), ' ');
    if (text.back() != ' ') text += ' ';
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    text = base::StripTags(text);
    for (char& c : text)
        if (!IsAllowed(c)) c = ' ';
    SpaceMarks(text);
}

std::string FormatReply(std::string s) {
    TrimLeadingBlanks(s);
    if (s.empty()) return s;
    s[0] = AsciiUpper(s[0]);
    return SpaceAfterMarks(DropBlanksBeforeMarks(s));
}

}  // namespace tamzel::engine
