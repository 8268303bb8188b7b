// Small text operations shared by the whole engine. Every text is Windows-1250 bytes; the
// functions never convert code pages, never read past a text and accept any byte value.
// Comparisons are exact and case-sensitive.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Letters.h"

namespace tamzel::engine {

// Decimal digits, "-" before negative numbers.
std::string IntToText(int32_t n);

// Leading blanks, an optional sign, decimal digits ("$" or "0x" before hexadecimal ones);
// stops at the first character that does not fit and returns what it read (0 for none).
// Numbers beyond 32 bits wrap around instead of failing.
int32_t TextToInt(std::string_view text);

void TrimLeadingBlanks(std::string& text);

// True when `needle` occurs in `haystack`; false for an empty needle.
bool ContainsText(std::string_view haystack, std::string_view needle);

// The text strictly between the first `open` and its matching `close` (nesting counted).
// Without a matching close, or for an empty text, the result is the one-character text of
// code 0 and *failed (when given) becomes true. Engine::BracketArgument also reports it.
std::string BracketContent(const std::string& text, char open, char close,
                           bool* failed = nullptr);
// The same as a view into `text` (the failure text is a view of a static one).
std::string_view BracketView(std::string_view text, char open, char close, bool* failed = nullptr);

// Swaps first- and second-person words ("ja som" <-> "ty si"), word by word; blanks are kept
// one for one, a word that is no pronoun stays as it is, the case must match.
void ReflectPersons(std::string& text);

// The typed line: a final mark added when missing, then NormaliseSentence. Empty stays empty.
void NormaliseInput(std::string& text);

// A blank at each end, A..Z lowered, tags "<...>" removed, every character outside the
// allowed set (letters, digits, ! , . / ?) made a blank, a blank on both sides of each mark:
// "Ahoj, ako sa máš?" -> " ahoj , ako sa máš ? ".
void NormaliseSentence(std::string& text);

// The reply as shown: leading blanks off, first letter capital, no blank before a mark, one
// after it, a capital after ! . ? ("  ahoj ,  ako ?ja" -> "Ahoj, ako? Ja").
std::string FormatReply(std::string text);

}  // namespace tamzel::engine
