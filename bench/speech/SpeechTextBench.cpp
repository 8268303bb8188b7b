// PrepareSpeechText of a 200-character answer (numbers, tags, a name, marks) with a
// 500-entry dictionary read from disk at every call, as the program does. Target: at most
// 0.3 ms median.
//   build/bin/speech_bench --benchmark_repetitions=20 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "base/Files.h"
#include "base/Codepage.h"
#include "speech/text/Dictionary.h"
#include "speech/text/SpeechText.h"

namespace {

using namespace tamzel;

// 500 entries shaped like the real ones: word keys with spaces around them, a few of
// which occur in the answer.
std::string MakeDictionary(const std::string& folder) {
    std::mt19937 rng(7);
    std::vector<std::string> lines;
    for (const char* utf8 : {" napr . = napríklad ", " ťen = ten ", " km = kilometrov "})
        lines.push_back(base::FromUtf8(utf8).value());
    while (lines.size() < 500) {
        std::string word;
        for (int n = 4 + static_cast<int>(rng() % 6); n > 0; --n) word += static_cast<char>('a' + rng() % 26);
        lines.push_back(" " + word + " = " + word + "a ");
    }
    std::string path = folder + "/slovnik.vox";
    if (!base::WriteFileAtomically(path, speech::ScrambleFile(lines))) std::abort();
    return path;
}

void BM_PrepareSpeechText(benchmark::State& state) {
    std::string folder = std::filesystem::temp_directory_path() / ("tamzel-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    speech::SpeechRequest rq;
    rq.text = base::FromUtf8(
                  "<smile>Ahoj Jano! Dnes je 8. decembra 2026, napr. o 14 hodôt príde "
                  "domov? Cesta má 125 km a ja s tebou rád pokecám o počítačoch, knižkách, "
                  "hudbe a o tom, čo ťa teší. Ten výlet bol 3x lepší!<yes>")
                  .value();
    rq.text.resize(200, ' ');
    rq.userName = "Jano";
    rq.userNamePronunciation = base::FromUtf8("Jáno").value();
    rq.dictionaryPath = MakeDictionary(folder);
    for (auto _ : state) benchmark::DoNotOptimize(speech::PrepareSpeechText(rq));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PrepareSpeechText)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
