// Slovak number words, written as the voice pronounces them: the words of one three-digit
// group are joined, and each group is followed by one space.
//
//   NumberToWords("1234") gives "tisíc dvestotridsaťštyri " (in Windows-1250)
//   NumberToWords("000") gives "nula" (no trailing space)
//
// Ten scale words cover runs of up to 30 significant digits. A longer run (an account or
// serial number rather than an amount) is read digit by digit, each digit's word followed
// by a space ("dva" for 2, "nula" for 0), so the scale table is never read past its end.
// All texts are Windows-1250.
#pragma once

#include <string>
#include <string_view>

namespace tamzel::speech {

inline constexpr int kMaxScaledGroups = 10;  // groups with a scale word: 30 digits

// digits: a non-empty run of '0'..'9'. Result: lower-case words.
std::string NumberToWords(std::string_view digits);

// One group of one to three digits, with its group number n (1 = rightmost, up to 10).
std::string SpellGroup(std::string_view group, int n);

}  // namespace tamzel::speech
