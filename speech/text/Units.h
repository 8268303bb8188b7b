// The characters of a finished unit string and what each one stands for: 41 sound units
// (the recordings of the voice pack), 11 face codes written by emoticon tags, and the
// pitch mark "+". Every text here is Windows-1250.
//
//   UnitNumber('a') == 1, UnitNumber('~') == 41, UnitNumber('5') == 0 (a face code)
//   UnitResourceName('\xE1') == "aa"  (the recording gorvin/Wave/aa.wav)
//   PlayedUnit('5') == '~'  (an emotion code sounds as the long pause)
//   PlayedUnit('[') == '-'  (a head-movement code sounds as the short pause)
#pragma once

#include <string>
#include <string_view>

namespace tamzel::speech {

// The 52 unit characters: 41 sound units (up to and including "~") then 11 face codes.
inline constexpr std::string_view UnitAlphabet =
    "a\xE1" "bc\xE8" "d\xEF" "e\xE9" "fghi\xED" "jklmn\xF2" "o\xF3" "prs\x9At\x9Du\xFAvwy\xFDz\x9E"
    "()_-~567890{}[]@";
inline constexpr int kSoundUnitCount = 41;

inline constexpr char kLongPause = '~';   // word boundary, punctuation
inline constexpr char kShortPause = '-';  // syllable mark
inline constexpr char kPitchMark = '+';   // no sound; toggles the pitch offset

enum class FaceCode { None, Emotion, Head };

// 1..41 for a sound unit character, 0 for anything else.
int UnitNumber(char unit);

// The voice-pack resource name of a sound unit ("a", "aa", "dz", "pl", ...); empty for a
// character that is not one of the 41 sound units.
std::string UnitResourceName(char unit);

// Emotion codes "567890", head codes "[]{}@", None otherwise.
FaceCode FaceCodeOf(char c);

// The sound unit that plays for a unit-string character: the character itself for a sound
// unit (a capital letter: its lower-case unit), "~" for an emotion code, "-" for a head
// code, '\0' for "+" and anything unknown.
char PlayedUnit(char c);

}  // namespace tamzel::speech
