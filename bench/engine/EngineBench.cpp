// One turn (AnswerSentence, checksum re-read included) over generated brains, and the
// loading of a brain.
//
// AnswerSentenceTurn/N: blocks of six records (N records in all) that test a word the
// sentence never holds, so every block's condition is evaluated and the fallback at the end
// answers: the slowest kind of turn.
//
// RuleReply/miss/N and RuleReply/hit/N: N keyword rules of seven records each (a block head,
// one word test, "->", three answer lines, "<-"), the way keyword rules of other chat engines
// are counted. A miss answers from the fallback; a hit answers from the last rule, so the
// conditions of every rule before it are evaluated too.
//   build/bench/engine/engine_bench
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "base/Files.h"
#include "engine/Brain.h"
// Test of engine internals.
#include "engine/internal/EngineCore.h"

namespace {

using namespace tamzel::engine;

enum class Shape { SixRecordBlocks, SevenRecordRules };

constexpr int kSixRecords = 6;

// Record area of the brain: `count` records of six-record blocks, or `count` rules.
std::string BrainArea(Shape shape, int count) {
    std::string area;
    int written = 0;
    auto add = [&](const std::string& line) {
        area += EncodeRecord(line, static_cast<uint8_t>(written++ * 31 + 7));
    };
    auto block = [&](int number, int answers) {
        std::string word = "slovo" + std::to_string(number);
        add("IF(1)");
        add("?( " + word + " )");
        add("->");
        add("-Povedal si " + word + ", to je zauj\xEDmav\xE9.");
        add("-O " + word + " viem ve\xBE" "mi ve\xBE" "a, |.");
        if (answers == 3) add("-Aj ja m\xE1m r\xE1" "d " + word + ".");
        add("<-");
    };
    if (shape == Shape::SixRecordBlocks) {
        for (int b = 0; written + kSixRecords <= count - 3; ++b) block(b, 2);
    } else {
        for (int r = 0; r < count; ++r) block(r, 3);
    }
    add("UNKNOWN");
    add("-Tomu nerozumiem.");
    add("-Povedz to inak.");
    return area;
}

// Program folder with ai/brainfile.ai; created once per shape and size.
std::string BrainFolder(Shape shape, int count) {
    static std::map<std::pair<Shape, int>, std::string> folders;
    auto found = folders.find({shape, count});
    if (found != folders.end()) return found->second;
    std::string name = "tamzel-bench-" + std::to_string(::getpid()) + "-" +
                       (shape == Shape::SixRecordBlocks ? "records-" : "rules-") +
                       std::to_string(count);
    std::string folder = (std::filesystem::temp_directory_path() / name).string();
    std::filesystem::create_directories(folder + "/ai");
    if (!tamzel::base::WriteFileAtomically(folder + "/ai/brainfile.ai",
                                           BuildBrainFile(BrainArea(shape, count))))
        std::abort();
    folders[{shape, count}] = folder;
    return folder;
}

void RunTurns(benchmark::State& state, const std::string& folder, const std::string& input) {
    std::filesystem::current_path(folder);
    EngineCore engine;
    engine.UserName = "Jan";
    engine.InitEngine();
    // The first pass over a loaded brain also finds its blocks (FirstReply measures it).
    engine.AnswerSentence(input);
    for (auto _ : state) benchmark::DoNotOptimize(engine.AnswerSentence(input));
}

const char kMissInput[] = "Dnes je pekn\xFD de\xF2, ako sa m\xE1\x9A?";

void AnswerSentenceTurn(benchmark::State& state) {
    int records = static_cast<int>(state.range(0));
    RunTurns(state, BrainFolder(Shape::SixRecordBlocks, records), kMissInput);
    state.counters["records"] = static_cast<double>(records);
}
BENCHMARK(AnswerSentenceTurn)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void RuleReplyMiss(benchmark::State& state) {
    int rules = static_cast<int>(state.range(0));
    RunTurns(state, BrainFolder(Shape::SevenRecordRules, rules), kMissInput);
}

void RuleReplyHit(benchmark::State& state) {
    int rules = static_cast<int>(state.range(0));
    std::string input = "Dnes som po\x9Aty\xE8ky zistil, \x9Ete slovo" + std::to_string(rules - 1) +
                        " nie je n\xE1hoda.";
    RunTurns(state, BrainFolder(Shape::SevenRecordRules, rules), input);
}

#define RULE_SIZES Arg(1000)->Arg(3300)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond)
BENCHMARK(RuleReplyMiss)->Name("RuleReply/miss")->RULE_SIZES;
BENCHMARK(RuleReplyHit)->Name("RuleReply/hit")->RULE_SIZES;

void LoadBrainFile(benchmark::State& state) {
    std::string path = BrainFolder(Shape::SixRecordBlocks, static_cast<int>(state.range(0))) +
                       "/ai/brainfile.ai";
    for (auto _ : state) {
        BrainRecord brain;
        LoadBrain(brain, path);
        benchmark::DoNotOptimize(brain.text.data());
    }
}
BENCHMARK(LoadBrainFile)->Arg(10000)->Unit(benchmark::kMicrosecond);

void LoadRuleBrain(benchmark::State& state) {
    std::string path = BrainFolder(Shape::SevenRecordRules, static_cast<int>(state.range(0))) +
                       "/ai/brainfile.ai";
    for (auto _ : state) {
        EngineCore engine;
        engine.brainPath = path;
        engine.InitEngine();
        benchmark::DoNotOptimize(engine.Brain.text.data());
    }
}
BENCHMARK(LoadRuleBrain)->Name("LoadBrain/rules")->RULE_SIZES;

// Loading and the first reply, which also finds the blocks that later passes can skip.
void FirstReply(benchmark::State& state) {
    std::string folder = BrainFolder(Shape::SevenRecordRules, static_cast<int>(state.range(0)));
    std::filesystem::current_path(folder);
    for (auto _ : state) {
        EngineCore engine;
        engine.InitEngine();
        benchmark::DoNotOptimize(engine.AnswerSentence(kMissInput));
    }
}
BENCHMARK(FirstReply)->Name("FirstReply/rules")->RULE_SIZES;

}  // namespace
