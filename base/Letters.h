// Letters of Windows-1250 text: the plain form for comparing and the capital for showing.
// Every byte value is accepted; a byte that is no letter comes back as it is.
#pragma once

#include <string>

namespace tamzel::base {

// Each Slovak letter with a diacritic (either case) becomes its plain lower-case letter;
// everything else, Ó/ó included, stays as it is. The length never changes.
std::string FoldDiacritics(const std::string& text);
// The same in place, for texts that are folded again and again (no allocation).
void FoldDiacriticsInPlace(std::string& text);

// The capital of a Windows-1250 letter (a..z and every lower-case letter with a diacritic:
// á -> Á, č -> Č, ľ -> Ľ, š -> Š, ž -> Ž, ô -> Ô, ...); any other byte comes back as it is.
char UpperLetter(char c);

}  // namespace tamzel::base
