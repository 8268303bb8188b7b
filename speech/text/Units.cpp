#include "speech/text/Units.h"

#include <array>

namespace tamzel::speech {
namespace {

// Resource names of the 41 sound units, in UnitAlphabet order. Characters that are not
// plain ASCII letters get two-letter names so that every file name is ASCII.
constexpr std::array<const char*, kSoundUnitCount> kResourceNames = {
    "a", "aa", "b", "c", "cc", "d", "dd", "e", "ee", "f", "g", "h", "i", "ii",
    "j", "k", "l", "m", "n", "nn", "o", "oo", "p", "r", "s", "ss", "t", "tt",
    "u", "uu", "v", "w", "y", "yy", "z", "zz", "dz", "dzdz", "_", "ps", "pl"};

}  // namespace

int UnitNumber(char unit) {
    size_t at = UnitAlphabet.substr(0, kSoundUnitCount).find(unit);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

std::string UnitResourceName(char unit) {
    int n = UnitNumber(unit);
    return n == 0 ? std::string() : std::string(kResourceNames[n - 1]);
}

FaceCode FaceCodeOf(char c) {
    if (c == '\0') return FaceCode::None;
    if (std::string_view("567890").find(c) != std::string_view::npos) return FaceCode::Emotion;
    if (std::string_view("[]{}@").find(c) != std::string_view::npos) return FaceCode::Head;
    return FaceCode::None;
}

// Capital letters, which only a pronunciation written with capitals can bring in, play as
// their lower-case units (resource names are not case-sensitive).
char LowerUnit(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    constexpr std::string_view upper = "\x8A\x8D\x8E\xC1\xC8\xC9\xCD\xCF\xD2\xD3\xDA\xDD";  // ŠŤŽÁČÉÍĎŇÓÚÝ
    constexpr std::string_view lower = "\x9A\x9D\x9E\xE1\xE8\xE9\xED\xEF\xF2\xF3\xFA\xFD";
    size_t at = upper.find(c);
    return at == std::string_view::npos ? c : lower[at];
}

char PlayedUnit(char c) {
    c = LowerUnit(c);
    if (UnitNumber(c) != 0) return c;
    switch (FaceCodeOf(c)) {
        case FaceCode::Emotion: return kLongPause;
        case FaceCode::Head: return kShortPause;
        case FaceCode::None: break;
    }
    return '\0';
}

}  // namespace tamzel::speech
