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

char PlayedUnit(char c) {
    if (UnitNumber(c) != 0) return c;
    switch (FaceCodeOf(c)) {
        case FaceCode::Emotion: return kLongPause;
        case FaceCode::Head: return kShortPause;
        case FaceCode::None: break;
    }
    return '\0';
}

}  // namespace tamzel::speech
