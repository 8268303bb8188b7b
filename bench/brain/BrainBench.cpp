// How long the shipped brain takes to answer one sentence (normalising, one or two rule
// passes over every record, tags, memory reads and writes, the checksum re-read). The
// sentences are the understanding set, answered in turn. Target: under 2 ms median.
// Turns that store a fact rewrite the memory file and wait for the disk, so the time per
// turn is far from even: the counter "median_us" is the median over single turns.
//   brain_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "BrainSession.h"
#include "base/Codepage.h"

namespace {

using namespace tamzel;

std::vector<std::string> Sentences() {
    const char* source = std::getenv("TAMZEL_SOURCE_DIR");
    std::ifstream in(std::string(source ? source : TAMZEL_SOURCE_FALLBACK) +
                     "/tests/brain/understanding.txt");
    std::vector<std::string> sentences;
    std::string line;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#') sentences.push_back(base::FromUtf8Lossy(line));
    return sentences;
}

void BM_AnswerSentence(benchmark::State& state) {
    setenv("TAMZEL_HOME", TAMZEL_BUILT_HOME, 0);
    brain_testing::BrainFolder folder;
    if (!folder.ready()) {
        state.SkipWithError("no built brain");
        return;
    }
    brain_testing::BrainSession session(folder, "Bench");
    std::vector<std::string> sentences = Sentences();
    if (sentences.empty()) {
        state.SkipWithError("no sentences");
        return;
    }
    size_t next = 0;
    std::vector<double> turns;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(session.engine().AnswerSentence(sentences[next]));
        auto stop = std::chrono::steady_clock::now();
        turns.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
        next = (next + 1) % sentences.size();
    }
    std::nth_element(turns.begin(), turns.begin() + turns.size() / 2, turns.end());
    state.counters["median_us"] = turns[turns.size() / 2];
}
BENCHMARK(BM_AnswerSentence)->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace

BENCHMARK_MAIN();
