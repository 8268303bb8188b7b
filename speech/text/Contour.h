// The intonation contour: one value per character of a prepared text (syllable marks and
// the marks ! , . ? still in it). 128 is neutral; lower means lower pitch and less volume.
// Each phrase (up to a closing mark and the marks right after it) falls or rises on its
// first and last word with the constants of its mark; words in between are held at 127.
//
//   ComputeContour("~\xE1-no~.~") == {127, 64, 64, 22, 1, 127, 127, 0}
//
// Computed in double precision, rounded half to even; a value outside 0..255 (the first
// word overshoots with an even sound count) is held at the nearest end of the range.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamzel::speech {

using Contour = std::vector<uint8_t>;

Contour ComputeContour(const std::string& text);

}  // namespace tamzel::speech
