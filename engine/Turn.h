// One turn of the conversation as the rest of the program sees it: what started it and what
// came out. Texts are Windows-1250.
#pragma once

#include <cstdint>
#include <string>

namespace tamzel::engine {

// Who started the turn: the user typing a sentence, or the window itself after the user
// was silent a while (idle) or while the pointer rests on the close button (hover).
enum class TurnKind { Typed, Idle, Hover };

struct TurnResult {
    std::string reply;           // with the brain's emoticon tags ("<smile>")
    bool understood = true;      // false: the brain deflected or fell back
    bool quitRequested = false;  // the brain's quit command ran in this turn
    int32_t mood = 0;            // Tamzel's mood towards the user after the turn
    // The input and reply as later turns compare them (lower case, tags and marks spaced);
    // a report of a turn that was not understood lists these.
    std::string heardInput;
    std::string heardReply;
    // The same input in a row (1: a new one) and idle turns in a row, for diagnostics.
    int repeatCount = 1;
    int idleCount = 0;
};

}  // namespace tamzel::engine
