// Program entry: picks the program folder, makes it the working folder and runs the mode
// that the command line asks for.
#include <cstdio>
#include <string>
#include <vector>

#include "base/SystemErrors.h"
#include "ui/CommandLine.h"
#include "ui/Modes.h"
#include "ui/Platform.h"
#include "ui/ProgramFolder.h"
#include "ui/ProgramTree.h"

int main(int argc, char** argv) {
    using namespace tamzel::ui;
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cl = ParseCommandLine(args);
    if (!cl.error.empty() || cl.Has("--help")) {
        if (!cl.error.empty()) std::fprintf(stderr, "%s\n", cl.error.c_str());
        std::fputs(UsageText().c_str(), cl.error.empty() ? stdout : stderr);
        return cl.error.empty() ? 0 : 2;
    }
    // System errors are named in Slovak; --verbose adds the system's own words.
    tamzel::base::SetVerboseErrors(cl.Has("--verbose"));
    ResolveSpeakOutputs(cl);
    std::string folder = cl.Get("--home").value_or(ExecutableFolder());
    // The window and the console write profiles and records: the program's own folder,
    // when installed (read-only), is replaced by the user's copy of it. A folder named by
    // --home is the user's choice and used as it is; the speech tools only read.
    bool onlyReads = !cl.Has("--console") && (cl.Get("--units") || cl.Get("--speak"));
    if (!onlyReads && !cl.Get("--home")) {
        std::string copyProblem;
        folder = WritableProgramFolder(folder, copyProblem);
        if (!copyProblem.empty()) std::fprintf(stderr, "%s\n", copyProblem.c_str());
    }
    std::string problem = EnterProgramFolder(folder);
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    if (cl.Has("--console")) return RunConsole(cl);
    if (cl.Get("--units")) return RunUnits(cl);
    if (cl.Get("--speak")) return RunSpeak(cl);
    ApplyQtPlatformChoice();
    return RunGui(argc, argv, cl);
}
