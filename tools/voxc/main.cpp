// tamzel-voxc SOURCE.txt OUTPUT.vox          compile a dictionary source (UTF-8)
// tamzel-voxc --decompile INPUT.vox [OUT.txt] show a stored dictionary as source text
// Exit code 0 on success, 1 when a file cannot be read or written or the source has errors
// (nothing is written then), 2 on wrong usage. Warnings do not stop the compilation.
#include <cstdio>
#include <string>

#include "VoxCompiler.h"
#include "base/Files.h"
#include "speech/text/Dictionary.h"
#include "speech/text/SpeechError.h"
#include "base/Codepage.h"

namespace {

int Usage() {
    std::fputs("Použitie: tamzel-voxc ZDROJ.txt CIEĽ.vox\n"
               "          tamzel-voxc --decompile SLOVNIK.vox [ZDROJ.txt]\n", stderr);
    return 2;
}

int Write(const std::string& path, const std::string& content) {
    tamzel::base::Status written = tamzel::base::WriteFileAtomically(path, content);
    if (written) return 0;
    std::fprintf(stderr, "tamzel-voxc: %s\n", written.message().c_str());
    return 1;
}

int Compile(const std::string& sourcePath, const std::string& target) {
    std::string source;
    if (!tamzel::base::ReadWholeFile(sourcePath, source)) {
        std::fprintf(stderr, "tamzel-voxc: súbor %s sa nedá prečítať.\n", sourcePath.c_str());
        return 1;
    }
    tamzel::voxc::Compiled c = tamzel::voxc::CompileSource(source);
    for (const auto& w : c.warnings) std::fprintf(stderr, "%s: varovanie: %s\n", sourcePath.c_str(), w.c_str());
    for (const auto& e : c.errors) std::fprintf(stderr, "%s: chyba: %s\n", sourcePath.c_str(), e.c_str());
    if (!c.errors.empty()) return 1;
    try {
        return Write(target, tamzel::speech::ScrambleFile(c.lines));
    } catch (const tamzel::speech::SpeechError& e) {
        std::fprintf(stderr, "%s: chyba: %s\n", sourcePath.c_str(), tamzel::base::ToUtf8(e.what()).c_str());
        return 1;
    }
}

int Decompile(const std::string& storedPath, const char* target) {
    std::string stored;
    if (!tamzel::base::ReadWholeFile(storedPath, stored)) {
        std::fprintf(stderr, "tamzel-voxc: súbor %s sa nedá prečítať.\n", storedPath.c_str());
        return 1;
    }
    std::string text = tamzel::voxc::DecompileLines(tamzel::speech::UnscrambleFile(stored));
    if (target) return Write(target, text);
    std::fputs(text.c_str(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--decompile" && argc <= 4)
        return Decompile(argv[2], argc == 4 ? argv[3] : nullptr);
    if (argc == 3 && argv[1][0] != '-') return Compile(argv[1], argv[2]);
    return Usage();
}
