// Tag expansion of a 1 KB answer with 50 tags, and a whole turn that reads 20 memory values
// and writes 5 on a memory file of 200 lines (every write flushed to disk).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/Files.h"
#include "engine/Brain.h"
// Test of engine internals.
#include "engine/internal/EngineCore.h"

namespace {

using tamzel::engine::EngineCore;

// A folder of its own for the brain and the profile; removed at exit.
class BenchFolder {
public:
    BenchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamzel-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
        std::filesystem::current_path(path_);
        std::filesystem::create_directories("ai");
        std::filesystem::create_directories("users/_Bench");
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::current_path("/", ignored);
        std::filesystem::remove_all(path_, ignored);
    }

private:
    std::filesystem::path path_;
};

// About 1 KB of answer text with 50 tags of the kinds an answer uses.
std::string FiftyTagAnswer() {
    const char* pieces[] = {
        "Dnes je <#DN>.<#MESC>.<#ROK> a je <#HOD>:<#MINUT>, ",
        "|, to si <#ROD(povedal,povedala)> pekne, ",
        "mas rad <#C1>? ",
        "Nahodne cislo <#NAHODA(10)> a nalada <#NALADA>. ",
        "Vravel si <#ZVYSOK(myslim ze)> a <#ODRAZ(myslim ze)>, slovo <#POZ(pes)>, ",
        "dalej <#DALSIE(mam)>; premenna <#PREM(x)>. ",
    };
    std::string text;
    int tags = 0;
    for (int i = 0; tags < 50; ++i) {
        std::string piece = pieces[i % 6];
        int inPiece = 0;
        for (size_t p = 0; (p = piece.find('<', p)) != std::string::npos; ++p) ++inPiece;
        inPiece += piece.find('|') != std::string::npos ? 1 : 0;
        if (tags + inPiece > 50) break;
        text += piece;
        tags += inPiece;
    }
    while (text.size() < 1024) text += " a este trochu textu bez znaciek";
    return text;
}

void BM_ExpandFiftyTags(benchmark::State& state) {
    EngineCore engine;
    engine.UserName = "Bench";
    engine.CurrentInput = " myslim ze ty si mudry a mam psa pes . ";
    engine.Captures[1] = "psy";
    engine.Variables[1] = {"x", "42", false};
    engine.Keywords.DecodeAll();
    const std::string answer = FiftyTagAnswer();
    state.counters["bytes"] = static_cast<double>(answer.size());
    for (auto _ : state) {
        std::string text = answer;
        engine.ExpandTags(text);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_ExpandFiftyTags)->Unit(benchmark::kMicrosecond);

// A brain whose one rule reads 20 memory values into variables and remembers 5 values.
std::string TurnBrain() {
    std::string records;
    uint8_t key = 11;
    auto add = [&](const std::string& line) { records += tamzel::engine::EncodeRecord(line, key += 5); };
    add("IF(2)");
    add("?( pamataj )");
    add("->");
    for (int i = 0; i < 20; ++i) {
        add("VAR(v" + std::to_string(i) + ")");
        add("SET(v" + std::to_string(i) + ",<#PAMAT(user,vlastnost" + std::to_string(i * 3) + ",1)>)");
    }
    for (int i = 0; i < 5; ++i)
        add("MEM(user,vlastnost" + std::to_string(i * 7) + ",hodnota" + std::to_string(i * 7) + ")");
    add("-Zapamatal som si <#PREM(v0)>.");
    add("<-");
    add("UNKNOWN");
    add("-Nerozumiem.");
    return tamzel::engine::BuildBrainFile(records);
}

// [DUZ], then user with 150 properties and 9 more objects: 200 lines in all.
std::string TwoHundredLineMemory() {
    std::string text = "[DUZ]\r\nOBJECT(user)\r\n->\r\n";
    for (int i = 0; i < 150; ++i)
        text += "vlastnost" + std::to_string(i) + ":hodnota" + std::to_string(i) + ";ina\r\n";
    text += "<-\r\n";
    for (int o = 0; o < 9; ++o) {
        text += "\r\nOBJECT(objekt" + std::to_string(o) + ")\r\n->\r\n";
        text += "a:1\r\n<-\r\n";
    }
    return text;
}

void BM_TurnReadingTwentyWritingFive(benchmark::State& state) {
    BenchFolder folder;
    if (!tamzel::base::WriteFileAtomically("ai/brainfile.ai", TurnBrain())) std::abort();
    if (!tamzel::base::WriteFileAtomically("users/_Bench/user.mem", TwoHundredLineMemory()))
        std::abort();
    EngineCore engine;
    engine.UserName = "Bench";
    engine.InitEngine();
    std::string reply;
    for (auto _ : state) {
        reply = engine.AnswerSentence("Pamataj.");
        benchmark::DoNotOptimize(reply);
    }
    if (reply != "Zapamatal som si hodnota0.") state.SkipWithError(("unexpected reply: " + reply).c_str());
}
BENCHMARK(BM_TurnReadingTwentyWritingFive)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
