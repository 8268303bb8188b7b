#include "base/Tags.h"

namespace tamzel::base {

// One sweep that builds a new text, so a 100 KB line costs no more than 100 KB.
std::string StripTags(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '<') {
            out += text[i++];
            continue;
        }
        size_t close = text.find('>', i);
        if (close == std::string::npos) break;
        i = close + 1;
    }
    return out;
}

}  // namespace tamzel::base
