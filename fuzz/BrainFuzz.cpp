// The brain file reader and whole turns over arbitrary brain bytes and input sentences.
// The first byte picks what the rest is:
//   'R'  a whole brain file, byte for byte (header, check bytes and sums included);
//   'A'  the record area only, given a valid header and matching sums;
//   else lines: the first is the user's input, every further line one brain record.
#include <cstdint>

#include "engine/Brain.h"
#include "fuzz/FuzzSupport.h"

using namespace tamzel;

static std::string BrainFileOf(const uint8_t* data, size_t size, std::string& input) {
    char mode = size > 0 ? static_cast<char>(data[0]) : 'L';
    std::string rest(reinterpret_cast<const char*>(data) + (size > 0), size - (size > 0));
    if (mode == 'R' || mode == 'A') {
        size_t newline = rest.find('\n');
        input = rest.substr(0, newline == std::string::npos ? 0 : newline);
        rest.erase(0, newline == std::string::npos ? 0 : newline + 1);
        return mode == 'R' ? rest : engine::BuildBrainFile(rest);
    }
    auto lines = fuzz::SplitInput(data + (size > 0), size - (size > 0));
    input = lines.front();
    std::string records;
    uint8_t key = 3;
    for (size_t i = 1; i < lines.size(); ++i) records += engine::EncodeRecord(lines[i], key += 7);
    return engine::BuildBrainFile(records);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::UseProgramFolder();
    std::string input;
    fuzz::PutFile("ai/brainfile.ai", BrainFileOf(data, size, input));
    fuzz::PutFile("users/_Jan/user.mem", fuzz::NewMemory());
    engine::EngineCore e;
    fuzz::WireEngine(e);
    try {
        e.InitEngine();
        e.OpeningLine();
        e.AnswerSentence(input);
        e.IdleTurn = true;
        e.AnswerSentence("");
        e.IdleTurn = false;
        e.AnswerSentence(input);
        e.FinalizeEngine();
    } catch (const fuzz::FatalStopped&) {
    } catch (const engine::IoError&) {
    }
    return 0;
}
