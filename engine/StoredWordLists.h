// The two word lists that conditions can name as items "<#NADAVKY>" and "<#POCHVALY>"
// (the keyword texts of entries 21 and 22): Slovak swear words and insults, and praise. The
// program keeps them scrambled (each byte one higher) so that they do not show up as plain
// text in the binary; the words are listed in docs/brain-language.md.
#pragma once

#include <string>

namespace tamzel::engine {

// List 1 (swear words) or 2 (praise), unscrambled, in the inline-list form
// "<SOMEOF(w1;w2;...)>"; words are folded and lower case, blanks mark whole-word edges.
// Any other number gives an empty text.
std::string StoredWordList(int number);
// The same into `out`, whose storage is reused (conditions test the lists on every pass).
void StoredWordListInto(int number, std::string& out);

}  // namespace tamzel::engine
