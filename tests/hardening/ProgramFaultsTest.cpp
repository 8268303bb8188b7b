// The program itself (tamzel --console) on a damaged copy of its program folder: a missing
// or damaged brain ends it with a reason and an error code, never a crash; a folder it may
// not write lets the conversation go on with the problem reported; a missing records folder
// does not stop the window program.
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "HardeningSupport.h"

namespace tamzel::hardening {
namespace {

struct ProgramRun {
    int code = -1;  // exit code, or 128 + signal
    std::string out, err;
};

std::string Program() {
    const char* home = std::getenv("TAMZEL_HOME");
    return home ? std::string(home) + "/tamzel" : std::string();
}

// A copy of the built program folder (brain, dictionary, data) without the program.
std::string CopyProgramFolder(const std::string& into) {
    std::string home = std::getenv("TAMZEL_HOME");
    for (const char* d : {"ai", "files", "design", "help", "users", "zaznamy"}) {
        std::error_code ec;
        fs::copy(home + "/" + d, into + "/" + d, fs::copy_options::recursive, ec);
        fs::create_directories(into + "/" + d);
    }
    return into;
}

// Runs the program with `input` on standard input; `asNobody` drops root to "nobody" first.
ProgramRun RunProgram(const std::vector<std::string>& args, const std::string& input, bool asNobody = false) {
    std::string scratch = (fs::temp_directory_path() / "tamzel-run-XXXXXX").string();
    if (!::mkdtemp(scratch.data())) return {};
    Put(scratch + "/in", input);
    std::fflush(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(::open((scratch + "/in").c_str(), O_RDONLY), 0);
        ::dup2(::open((scratch + "/out").c_str(), O_WRONLY | O_CREAT, 0644), 1);
        ::dup2(::open((scratch + "/err").c_str(), O_WRONLY | O_CREAT, 0644), 2);
        if (asNobody && ::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(99);
        }
        std::vector<char*> argv;
        std::string program = Program();
        argv.push_back(program.data());
        std::vector<std::string> copy = args;
        for (std::string& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(98);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ProgramRun run{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
            Get(scratch + "/out"), Get(scratch + "/err")};
    fs::remove_all(scratch);
    return run;
}

class ProgramFaults : public ::testing::Test {
protected:
    void SetUp() override {
        if (Program().empty() || !fs::exists(Program())) GTEST_SKIP() << "the program is not built";
        home = CopyProgramFolder(folder.path());
    }
    ProgramRun Console(const std::string& input, bool asNobody = false) {
        return RunProgram({"--console", "--home", home, "--user", "Jan", "--seed", "1"}, input, asNobody);
    }
    ScratchFolder folder;
    std::string home;
};

TEST_F(ProgramFaults, BrokenBrainEndsWithAReasonAndAnErrorCode) {
    struct Case {
        const char* name;
        std::function<void(const std::string& brain)> damage;
        int code;
        const char* said;  // part of the message on standard error
    };
    const std::vector<Case> cases = {
        {"missing", [](const std::string& b) { fs::remove(b); }, 1, "brainfile.ai"},
        {"empty", [](const std::string& b) { Put(b, ""); }, 1, "brainfile.ai"},
        {"other release", [](const std::string& b) {
             std::string f = Get(b);
             f[engine::kBrainHeaderSize] ^= 0x20;
             Put(b, f);
         }, 3, "nesedia kontrolné bajty"},
        {"cut short", [](const std::string& b) { Put(b, Get(b).substr(0, 4000)); }, 3,
         "Kontrolné súčty súboru mozgu"},
    };
    const std::string brain = home + "/ai/brainfile.ai";
    const std::string intact = Get(brain);
    for (const Case& c : cases) {
        Put(brain, intact);
        c.damage(brain);
        ProgramRun run = Console("ahoj\n");
        EXPECT_EQ(run.code, c.code) << c.name << "\n" << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << c.name << "\n" << run.err;
    }
}

TEST_F(ProgramFaults, ReadOnlyFolderKeepsTalkingAndReportsTheMemoryProblem) {
    ASSERT_EQ(Console("ahoj\n").code, 0);  // signs Jan in once, which makes the profile
    const std::string memory = Get(home + "/users/_Jan/user.mem");
    if (::geteuid() != 0)
        for (const char* d : {"", "/users", "/users/_Jan", "/ai", "/zaznamy"}) ::chmod((home + d).c_str(), 0555);
    ::chmod(folder.path().c_str(), 0755);
    ProgramRun run = Console("Volám sa Jano.\nMoja obľúbená farba je modrá.\nAko sa voláš?\n", true);
    for (const char* d : {"", "/users", "/users/_Jan", "/ai", "/zaznamy"}) ::chmod((home + d).c_str(), 0755);
    // 99: no unprivileged user to become; 98: that user may not run the built program.
    if (run.code == 99 || run.code == 98) GTEST_SKIP() << "cannot take away write access here";
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 4) << run.out;  // opening + 3
    EXPECT_NE(run.err.find("user.mem"), std::string::npos) << run.err;
    EXPECT_EQ(Get(home + "/users/_Jan/user.mem"), memory);
}

TEST_F(ProgramFaults, WindowProgramRunsWithoutTheRecordsFolder) {
    fs::remove_all(home + "/zaznamy");
    std::fflush(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::string program = Program();
        ::execl(program.c_str(), program.c_str(), "--home", home.c_str(), "--user", "Jan", nullptr);
        ::_exit(98);
    }
    std::this_thread::sleep_for(std::chrono::seconds(4));
    int status = 0;
    pid_t ended = ::waitpid(pid, &status, WNOHANG);
    if (ended == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    EXPECT_EQ(ended, 0) << "the window program ended with status " << status;
}

}  // namespace
}  // namespace tamzel::hardening
