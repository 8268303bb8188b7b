// Word-list helpers of the script tags that need no engine state. Texts are Windows-1250.
#pragma once

#include <string>

namespace tamzel::engine {

// Position (1-based) of the first word of `sentence` that starts with `word`, comparing
// folded letters; 0 when there is none.
int WordPosition(const std::string& word, const std::string& sentence);
// Item `n` (1-based) of a ';'-separated list, or its last item when there are fewer.
std::string PickItem(const std::string& list, int n);

}  // namespace tamzel::engine
