// tamzel-brainc: compiles brain sources into ai/brainfile.ai, prints a brain file back, runs
// dialogue tests and the coverage report.
//   tamzel-brainc SOURCE... OUT.ai
//   tamzel-brainc --decompile FILE.ai
//   tamzel-brainc --test [--seeds N] BRAIN.ai SCRIPT.txt...
//   tamzel-brainc --coverage [--seeds N] (BRAIN.ai | SOURCE.brain...) CORPUS...
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Files.h"
#include "engine/Brain.h"
#include "tools/brainc/BrainCompiler.h"
#include "tools/brainc/Coverage.h"
#include "tools/brainc/DialogueRunner.h"

namespace {

using namespace tamzel;

const char kUsage[] =
    "Použitie: tamzel-brainc ZDROJ.brain... VÝSTUP.ai   (zdroje sa spoja v danom poradí)\n"
    "          tamzel-brainc --decompile SÚBOR.ai\n"
    "          tamzel-brainc --test [--seeds N] MOZOG.ai DIALÓGY.txt...\n"
    "          tamzel-brainc --coverage [--seeds N] (MOZOG.ai | ZDROJ.brain...) KORPUS...\n";

constexpr int kDefaultSeeds = 3;
constexpr int kMaxSeeds = 1000;

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

int Decompile(const std::string& path) {
    std::string content;
    if (!base::ReadWholeFile(path, content)) {
        std::fprintf(stderr, "tamzel-brainc: súbor \"%s\" sa nedá prečítať\n", path.c_str());
        return 1;
    }
    brainc::DecompileResult result = brainc::DecompileBrain(content);
    for (const std::string& line : result.lines) std::printf("%s\n", line.c_str());
    if (result.problem.empty()) return 0;
    std::fprintf(stderr, "tamzel-brainc: %s: %s\n", path.c_str(), result.problem.c_str());
    return 1;
}

bool ReadSources(const std::vector<std::string>& inputs, std::vector<brainc::SourceFile>& sources) {
    for (const std::string& path : inputs) {
        brainc::SourceFile source{path, {}};
        if (!base::ReadWholeFile(path, source.text)) {
            std::fprintf(stderr, "tamzel-brainc: súbor \"%s\" sa nedá prečítať\n", path.c_str());
            return false;
        }
        sources.push_back(std::move(source));
    }
    return true;
}

// Takes "--seeds N" off the front of the arguments; false (with a message) when N is bad.
bool TakeSeeds(std::vector<std::string>& args, int& seeds) {
    seeds = kDefaultSeeds;
    if (args.empty() || args[0] != "--seeds") return true;
    char* end = nullptr;
    long n = args.size() > 1 ? std::strtol(args[1].c_str(), &end, 10) : 0;
    if (args.size() < 2 || *end != '\0' || n < 1 || n > kMaxSeeds) {
        std::fprintf(stderr, "tamzel-brainc: --seeds potrebuje číslo 1 až %d\n", kMaxSeeds);
        return false;
    }
    seeds = static_cast<int>(n);
    args.erase(args.begin(), args.begin() + 2);
    return true;
}

int Test(std::vector<std::string> args) {
    int seeds = 0;
    if (!TakeSeeds(args, seeds)) return 2;
    if (args.size() < 2 || !EndsWith(args[0], ".ai")) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return brainc::RunDialogueTests(args[0], {args.begin() + 1, args.end()}, seeds);
}

// A brain compiled from sources for the report, kept in a temporary folder while it lives.
class CompiledForReport {
public:
    ~CompiledForReport() {
        std::error_code ec;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
    }
    // The path of the written brain, or "" after printing why there is none.
    std::string Compile(const std::vector<std::string>& inputs) {
        std::vector<brainc::SourceFile> sources;
        if (!ReadSources(inputs, sources)) return {};
        brainc::CompileResult result = brainc::CompileBrain(sources);
        if (!result.ok()) {
            for (const brainc::Diagnostic& d : result.diagnostics)
                if (d.error) std::fprintf(stderr, "%s\n", brainc::FormatDiagnostic(d).c_str());
            return {};
        }
        origins = std::move(result.origins);
        std::string pattern = (std::filesystem::temp_directory_path() / "tamzel-brainc-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return {};
        folder_ = pattern;
        std::string path = folder_ + "/brainfile.ai";
        base::Status written = base::WriteFileAtomically(path, engine::BuildBrainFile(result.records));
        if (!written) {
            std::fprintf(stderr, "tamzel-brainc: %s\n", written.message().c_str());
            return {};
        }
        return path;
    }
    std::vector<brainc::SourcePlace> origins;

private:
    std::string folder_;
};

int Coverage(std::vector<std::string> args) {
    int seeds = 0;
    if (!TakeSeeds(args, seeds)) return 2;
    std::vector<std::string> sources, corpus;
    std::string brain;
    for (const std::string& a : args) {
        if (EndsWith(a, ".brain")) sources.push_back(a);
        else if (EndsWith(a, ".ai") && brain.empty()) brain = a;
        else corpus.push_back(a);
    }
    if (sources.empty() == brain.empty() || corpus.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    CompiledForReport compiled;
    if (!sources.empty() && (brain = compiled.Compile(sources)).empty()) return 1;
    try {
        brainc::CoverageReport report = brainc::MeasureCoverage(brain, corpus, seeds);
        std::fputs(brainc::FormatCoverage(report, compiled.origins).c_str(), stdout);
        std::printf("%s\n", brainc::CoverageSummary(report).c_str());
        return report.problems.empty() ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tamzel-brainc: %s\n", error.what());
        return 1;
    }
}

int Compile(const std::vector<std::string>& inputs, const std::string& output) {
    std::vector<brainc::SourceFile> sources;
    if (!ReadSources(inputs, sources)) return 1;
    brainc::CompileResult result = brainc::CompileBrain(sources);
    for (const brainc::Diagnostic& d : result.diagnostics)
        std::fprintf(stderr, "%s\n", brainc::FormatDiagnostic(d).c_str());
    if (!result.ok()) {
        std::fprintf(stderr, "tamzel-brainc: mozog nebol zapísaný pre chyby vyššie\n");
        return 1;
    }
    base::Status written = base::WriteFileAtomically(output, engine::BuildBrainFile(result.records));
    if (!written) {
        std::fprintf(stderr, "tamzel-brainc: %s\n", written.message().c_str());
        return 1;
    }
    std::printf("tamzel-brainc: %s: %d záznamov\n", output.c_str(), result.recordCount);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--decompile") return Decompile(args[1]);
    if (!args.empty() && args[0] == "--test") return Test({args.begin() + 1, args.end()});
    if (!args.empty() && args[0] == "--coverage") return Coverage({args.begin() + 1, args.end()});
    // The output must be named *.ai, so a forgotten output name never overwrites a source.
    if (args.size() < 2 || !EndsWith(args.back(), ".ai") || args[0].rfind("--", 0) == 0) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return Compile({args.begin(), args.end() - 1}, args.back());
}
