// One turn (AnswerSentence, checksum re-read included) over generated brains, and the
// loading of a brain. The brains are blocks of six records that test a word the sentence
// never holds, so every block's condition is evaluated and the fallback at the end answers:
// the slowest kind of turn.
//   build-core/bench/engine/engine_bench
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "base/Files.h"
#include "engine/Brain.h"
// Test of engine internals.
#include "engine/internal/EngineCore.h"

namespace {

using namespace tamzel::engine;

// Program folder with ai/brainfile.ai of about `records` records; created once per size.
std::string BrainFolder(int records) {
    static std::map<int, std::string> folders;
    auto found = folders.find(records);
    if (found != folders.end()) return found->second;
    std::string folder = (std::filesystem::temp_directory_path() /
                          ("tamzel-bench-" + std::to_string(::getpid()) + "-" + std::to_string(records)))
                             .string();
    std::filesystem::create_directories(folder + "/ai");
    std::string area;
    int written = 0;
    auto add = [&](const std::string& line) {
        area += EncodeRecord(line, static_cast<uint8_t>(written++ * 31 + 7));
    };
    for (int block = 0; written + 6 <= records - 3; ++block) {
        std::string word = "slovo" + std::to_string(block);
        add("IF(1)");
        add("?( " + word + " )");
        add("->");
        add("-Povedal si " + word + ", to je zauj\xEDmav\xE9.");
        add("-O " + word + " viem ve\xBE" "mi ve\xBE" "a, |.");
        add("<-");
    }
    add("UNKNOWN");
    add("-Tomu nerozumiem.");
    add("-Povedz to inak.");
    if (!tamzel::base::WriteFileAtomically(folder + "/ai/brainfile.ai", BuildBrainFile(area))) std::abort();
    folders[records] = folder;
    return folder;
}

void AnswerSentenceTurn(benchmark::State& state) {
    std::filesystem::current_path(BrainFolder(static_cast<int>(state.range(0))));
    EngineCore engine;
    engine.UserName = "Jan";
    engine.InitEngine();
    std::string input = "Dnes je pekn\xFD de\xF2, ako sa m\xE1\x9A?";
    for (auto _ : state) benchmark::DoNotOptimize(engine.AnswerSentence(input));
    state.counters["records"] = static_cast<double>(state.range(0));
}
BENCHMARK(AnswerSentenceTurn)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void LoadBrainFile(benchmark::State& state) {
    std::string path = BrainFolder(static_cast<int>(state.range(0))) + "/ai/brainfile.ai";
    for (auto _ : state) {
        BrainRecord brain;
        LoadBrain(brain, path);
        benchmark::DoNotOptimize(brain.text.data());
    }
}
BENCHMARK(LoadBrainFile)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
