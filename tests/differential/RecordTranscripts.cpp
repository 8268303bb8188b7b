// Writes the reference transcripts of the rule pass into a folder, one file per corpus:
//   pass-transcripts OUTDIR [BRAIN.ai]     (the source folder comes from TAMZEL_SOURCE_DIR)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "PassTranscript.h"
#include "base/Files.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "pou\xC5\xBEitie: pass-transcripts PRIE\xC4\x8CINOK [MOZOG.ai]\n");
        return 2;
    }
    const char* source = std::getenv("TAMZEL_SOURCE_DIR");
    std::string sourceDir = source ? source : TAMZEL_TEST_SOURCE_DIR;
    std::string brain = argc > 2 ? argv[2] : std::string(TAMZEL_TEST_HOME) + "/ai/brainfile.ai";
    std::string out = argv[1];
    auto write = [&](const tamzel::differential::Transcript& t) {
        tamzel::base::Status written =
            tamzel::base::WriteFileAtomically(out + "/" + t.name + ".txt", t.text);
        if (!written) {
            std::fprintf(stderr, "%s\n", written.message().c_str());
            std::exit(1);
        }
        std::printf("%s: %d\n", t.name.c_str(), t.turns);
    };
    tamzel::differential::Transcript shipped =
        tamzel::differential::ShippedBrainTranscript(brain, sourceDir);
    if (shipped.turns == 0) {
        std::fprintf(stderr, "mozog ch\xC3\xBD" "ba: %s\n", brain.c_str());
        return 1;
    }
    write(shipped);
    for (const auto& t : tamzel::differential::GeneratedBrainTranscripts()) write(t);
    return 0;
}
