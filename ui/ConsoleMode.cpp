// Conversation in the terminal: UTF-8 lines in, Tamzel's replies out, one per line.
//   tamzel --console [--home DIR] [--user NAME] [--male|--female] [--seed N] [--verbose]
// The opening line comes first; the line "halt", the end of input or the brain's quit
// command ends the conversation.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/Codepage.h"
#include "base/Tags.h"
#include "engine/Engine.h"
#include "engine/InputLimit.h"
#include "profiles/ConsoleSession.h"
#include "ui/ConsoleInput.h"
#include "ui/FolderLock.h"
#include "ui/Modes.h"

namespace tamzel::ui {
namespace {

using engine::Engine;

void PrintReply(const engine::TurnResult& turn, bool verbose) {
    std::printf("%s\n", base::ToUtf8(base::StripTags(turn.reply)).c_str());
    if (verbose)
        std::printf("# understood=%d mood=%d repeat=%d idle=%d\n", turn.understood ? 1 : 0,
                    static_cast<int>(turn.mood), turn.repeatCount, turn.idleCount);
    std::fflush(stdout);
}

// Who is talking: the profile of --user (or of the login name), created quietly on first
// use (a woman's with --female); its user.dat gives the name, pronunciation, gender and
// mood. The gender option never rewrites an existing profile: it is only noted.
bool SignInConsoleUser(Engine& e, const CommandLine& cl) {
    bool female = cl.Has("--female");
    std::string name;
    if (auto user = cl.Get("--user")) {
        auto converted = base::FromUtf8(*user);
        if (!converted) {
            std::fprintf(stderr, "Meno \"%s\" nemá tvar v kódovaní Windows-1250.\n", user->c_str());
            return false;
        }
        name = *converted;
    }
    base::Result<base::ProfileValues> user = profiles::SignIn(name, ".", !female);
    if (!user) {
        std::fprintf(stderr, "%s\n", user.message().c_str());
        return false;
    }
    e.SetProfile(*user);
    bool genderGiven = female || cl.Has("--male");
    if (genderGiven && user->male == female)
        std::fprintf(stderr, "Profil \"%s\" už existuje %s; voľba --%s ho nemení.\n",
                     base::ToUtf8(user->name).c_str(), user->male ? "ako muž" : "ako žena",
                     female ? "female" : "male");
    return true;
}

bool Configure(Engine& e, const CommandLine& cl) {
    auto seed = cl.GetInt("--seed", -1);
    if (!seed) {
        std::fprintf(stderr, "Vo\xC4\xBE" "ba --seed potrebuje cel\xC3\xA9 \xC4\x8D\xC3\xADslo.\n");
        return false;
    }
    if (cl.Get("--seed")) e.SetSeed(static_cast<uint64_t>(*seed));
    if (cl.Has("--verbose"))
        e.hooks().onReportError = [](const std::string& m) {
            std::fprintf(stderr, "# mozog: %s\n", base::ToUtf8(m).c_str());
        };
    e.hooks().onMemoryProblem = [](const std::string& m) {
        std::fprintf(stderr, "%s\n", base::ToUtf8(m).c_str());
    };
    return true;
}

// A second program in the same folder would mix its users' files with ours; it ends.
bool TakeFolder(FolderLock& lock) {
    if (lock.Acquire("konzola") != FolderLock::Outcome::Busy) return true;
    std::error_code ec;
    std::fprintf(stderr, "%s\n",
                 MessageAlreadyRunning(std::filesystem::current_path(ec).string()).c_str());
    return false;
}

void SayCut() {
    std::fprintf(stderr, "%s\n", base::ToUtf8(engine::InputCutNotice()).c_str());
}

}  // namespace

int RunConsole(const CommandLine& cl) {
    if (cl.Has("--male") && cl.Has("--female")) {
        std::fprintf(stderr, "Voľby --male a --female sa vylučujú.\n");
        return 2;
    }
    Engine e;
    if (!Configure(e, cl)) return 2;
    FolderLock lock;
    if (!TakeFolder(lock)) return kExitFolderInUse;
    if (!SignInConsoleUser(e, cl)) return 1;
    bool verbose = cl.Has("--verbose");
    base::Status loaded = e.InitEngine();
    base::Result<engine::TurnResult> opening =
        loaded ? e.OpeningLine() : base::Result<engine::TurnResult>(loaded.error());
    if (!opening) {
        std::error_code ec;
        std::fprintf(stderr, "%s\nPriečinok programu: %s\n",
                     base::ToUtf8(opening.message()).c_str(),
                     std::filesystem::current_path(ec).c_str());
        return 1;
    }
    PrintReply(*opening, verbose);
    bool quit = opening->quitRequested;
    ConsoleLine line;
    while (!quit && ReadBoundedLine(stdin, ConsoleLineBytes(), line)) {
        if (line.text == "halt") return 0;  // ends at once, nothing is stored
        if (line.text.empty()) continue;  // as in the window: an empty line does nothing
        std::string sentence;
        if (CutConsoleLine(line.text, sentence) || line.cut) SayCut();
        base::Result<engine::TurnResult> turn = e.AnswerSentence(sentence);
        if (!turn) {
            // The turn is lost, the conversation goes on (for example a brain file gone).
            std::fprintf(stderr, "%s\n", base::ToUtf8(turn.message()).c_str());
            continue;
        }
        PrintReply(*turn, verbose);
        quit = turn->quitRequested;
    }
    e.FinalizeEngine();
    // Memory and mood carry over to the next run.
    if (base::Status stored = profiles::SignOut(e.Profile()); !stored)
        std::fprintf(stderr, "%s\n", stored.message().c_str());
    return 0;
}

}  // namespace tamzel::ui
