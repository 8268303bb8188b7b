#include "engine/InputLimit.h"

#include "base/Codepage.h"

namespace tamzel::engine {

bool CutToInputLimit(std::string& text) {
    if (text.size() <= kMaxInputLength) return false;
    text.resize(kMaxInputLength);
    return true;
}

std::string InputCutNotice() {
    return base::FromUtf8Lossy("Veta bola dlhšia ako " + std::to_string(kMaxInputLength) +
                         " znakov; prečítal som len jej začiatok.");
}

}  // namespace tamzel::engine
