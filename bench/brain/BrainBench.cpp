// How long the shipped brain takes to answer one sentence (normalising, one or two rule
// passes over every record, tags, memory reads and writes, the checksum re-read). The
// sentences are the understanding set, answered in turn. Target: under 2 ms median.
//   brain_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "BrainSession.h"
#include "engine/Codepage.h"

namespace {

using namespace tamzel;

std::vector<std::string> Sentences() {
    const char* source = std::getenv("TAMZEL_SOURCE_DIR");
    std::ifstream in(std::string(source ? source : TAMZEL_SOURCE_FALLBACK) +
                     "/tests/brain/understanding.txt");
    std::vector<std::string> sentences;
    std::string line;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#') sentences.push_back(engine::FromUtf8Lossy(line));
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
    for (auto _ : state) {
        benchmark::DoNotOptimize(session.engine().AnswerSentence(sentences[next]));
        next = (next + 1) % sentences.size();
    }
}
BENCHMARK(BM_AnswerSentence)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
