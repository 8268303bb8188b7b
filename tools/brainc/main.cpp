// tamzel-brainc: compiles brain sources into ai/brainfile.ai, or prints a brain file back.
//   tamzel-brainc SOURCE... OUT.ai
//   tamzel-brainc --decompile FILE.ai
#include <cstdio>
#include <string>
#include <vector>

#include "engine/AtomicFile.h"
#include "engine/Brain.h"
#include "tools/brainc/BrainCompiler.h"

namespace {

using namespace tamzel;

const char kUsage[] =
    "Použitie: tamzel-brainc ZDROJ.brain... VÝSTUP.ai   (zdroje sa spoja v danom poradí)\n"
    "          tamzel-brainc --decompile SÚBOR.ai\n";

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

int Decompile(const std::string& path) {
    std::string content;
    if (!engine::ReadWholeFile(path, content)) {
        std::fprintf(stderr, "tamzel-brainc: súbor \"%s\" sa nedá prečítať\n", path.c_str());
        return 1;
    }
    brainc::DecompileResult result = brainc::DecompileBrain(content);
    for (const std::string& line : result.lines) std::printf("%s\n", line.c_str());
    if (result.problem.empty()) return 0;
    std::fprintf(stderr, "tamzel-brainc: %s: %s\n", path.c_str(), result.problem.c_str());
    return 1;
}

int Compile(const std::vector<std::string>& inputs, const std::string& output) {
    std::vector<brainc::SourceFile> sources;
    for (const std::string& path : inputs) {
        brainc::SourceFile source{path, {}};
        if (!engine::ReadWholeFile(path, source.text)) {
            std::fprintf(stderr, "tamzel-brainc: súbor \"%s\" sa nedá prečítať\n", path.c_str());
            return 1;
        }
        sources.push_back(std::move(source));
    }
    brainc::CompileResult result = brainc::CompileBrain(sources);
    for (const brainc::Diagnostic& d : result.diagnostics)
        std::fprintf(stderr, "%s\n", brainc::FormatDiagnostic(d).c_str());
    if (!result.ok()) {
        std::fprintf(stderr, "tamzel-brainc: mozog nebol zapísaný pre chyby vyššie\n");
        return 1;
    }
    std::string problem = engine::WriteFileAtomically(output, engine::BuildBrainFile(result.records));
    if (!problem.empty()) {
        std::fprintf(stderr, "tamzel-brainc: %s\n", problem.c_str());
        return 1;
    }
    std::printf("tamzel-brainc: %s: %d záznamov\n", output.c_str(), result.recordCount);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--decompile") return Decompile(args[1]);
    // The output must be named *.ai, so a forgotten output name never overwrites a source.
    if (args.size() < 2 || !EndsWith(args.back(), ".ai") || args[0].rfind("--", 0) == 0) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return Compile({args.begin(), args.end() - 1}, args.back());
}
