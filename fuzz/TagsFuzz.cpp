// Tag expansion and condition blocks on arbitrary texts, inside an engine whose keywords
// are plain (as in a pass) and whose user has a memory file.
//   line 1: the user's sentence (also the last input and answer)
//   line 2: a text to expand
//   line 3 on: the lines of one condition block, tested for slot 1 + (size mod 10)
#include <cstdint>

#include "engine/Brain.h"
#include "fuzz/FuzzSupport.h"

using namespace tamzel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::UseProgramFolder();
    fuzz::PutFile("users/_Jan/user.mem", fuzz::NewMemory());
    auto lines = fuzz::SplitInput(data, size, 4096);
    lines.resize(std::max<size_t>(lines.size(), 2));
    engine::EngineCore e;
    fuzz::WireEngine(e);
    e.Keywords.DecodeAll();
    e.CurrentInput = lines[0];
    e.WorkSentence = base::FoldDiacritics(lines[0]);
    e.LastInput = lines[0];
    e.LastAnswer = lines[0];
    try {
        std::string text = lines[1];
        e.HasTags(text);
        e.ExpandTags(text);
        engine::BrainRecord reader;
        uint8_t key = 17;
        for (size_t i = 2; i < lines.size(); ++i) {
            if (lines[i].size() > 255) lines[i].resize(255);
            reader.text += engine::EncodeRecord(lines[i], key++);
        }
        e.EvaluateCondition(1 + static_cast<int>(size % 10), reader);
    } catch (const fuzz::FatalStopped&) {
    } catch (const engine::IoError&) {
    }
    e.Keywords.EncodeAll(e.random());
    return 0;
}
