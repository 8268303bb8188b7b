// Two programs on one program folder: their users' memories stay apart even when two
// processes change memory at once, a second console or window does not start beside a
// running one (whatever the mode of either), a lock left by a killed program does not
// block, and a start clears the temporary files of ended runs, only those.
#include <fcntl.h>
#include <signal.h>

#include <chrono>
#include <cstring>
#include <set>
#include <thread>

#include "HardeningSupport.h"
#include "base/Codepage.h"
// Test of engine internals.
#include "engine/internal/EngineCore.h"
#include "profiles/ProfileFiles.h"

namespace tamzel::hardening {
namespace {

using namespace std::chrono_literals;

std::string Program() {
    const char* home = std::getenv("TAMZEL_HOME");
    return home ? std::string(home) + "/tamzel" : std::string();
}

// A started program: its standard input stays open (a pipe) until Finish or Kill.
struct Started {
    pid_t pid = -1;
    int input = -1;
    std::string scratch;
    std::string Out() const { return Get(scratch + "/out"); }
    std::string Err() const { return Get(scratch + "/err"); }
};

Started Start(const std::vector<std::string>& args, bool window = false) {
    Started s;
    s.scratch = (fs::temp_directory_path() / "tamzel-two-XXXXXX").string();
    if (!::mkdtemp(s.scratch.data())) return s;
    int pipe[2];
    if (::pipe(pipe) != 0) return s;
    std::fflush(nullptr);
    s.pid = ::fork();
    if (s.pid == 0) {
        ::dup2(pipe[0], 0);
        ::close(pipe[1]);
        ::dup2(::open((s.scratch + "/out").c_str(), O_WRONLY | O_CREAT, 0644), 1);
        ::dup2(::open((s.scratch + "/err").c_str(), O_WRONLY | O_CREAT, 0644), 2);
        if (window) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        std::vector<std::string> copy = args;
        std::string program = Program();
        std::vector<char*> argv{program.data()};
        for (std::string& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(98);
    }
    ::close(pipe[0]);
    s.input = pipe[1];
    return s;
}

void Send(const Started& s, const std::string& text) {
    ssize_t written = ::write(s.input, text.data(), text.size());
    (void)written;
}

// Closes the input and waits; the exit code, or 128 + signal.
int Finish(Started& s, bool kill = false) {
    if (kill) ::kill(s.pid, SIGKILL);
    ::close(s.input);
    int status = 0;
    ::waitpid(s.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

class TwoInstances : public ::testing::Test {
protected:
    void SetUp() override {
        ::signal(SIGPIPE, SIG_IGN);  // a program that ended must not end the test with it
        if (Program().empty() || !fs::exists(Program())) GTEST_SKIP() << "the program is not built";
        home = folder.path();
        std::string built = std::getenv("TAMZEL_HOME");
        for (const char* d : {"ai", "files", "design", "help", "gorvin"}) {
            std::error_code ec;
            fs::copy(built + "/" + d, home + "/" + d, fs::copy_options::recursive, ec);
        }
        fs::create_directories(home + "/users");
        fs::create_directories(home + "/zaznamy");
    }
    Started Console(const char* user) {
        return Start({"--console", "--home", home, "--user", user, "--seed", "1"});
    }
    // Waits until the console has printed its opening line (it holds the folder then).
    bool Opened(const Started& s) {
        return WaitFor([&] { return s.Out().find('\n') != std::string::npos; });
    }
    ScratchFolder folder;
    std::string home;
};

const char kRefused[] = "Tamzel už beží v tomto priečinku";

TEST_F(TwoInstances, ASecondConsoleEndsWithAMessageAndTouchesNothing) {
    Started first = Console("Jan");
    ASSERT_TRUE(Opened(first)) << first.Err();
    const std::string list = Get(home + "/users/user.lst");
    Started second = Console("Eva");
    int secondCode = Finish(second);
    EXPECT_EQ(secondCode, 4) << second.Err();
    EXPECT_NE(second.Err().find(kRefused), std::string::npos) << second.Err();
    EXPECT_NE(second.Err().find(home), std::string::npos) << second.Err();
    EXPECT_EQ(second.Out(), "");
    EXPECT_FALSE(fs::exists(home + "/users/_Eva"));
    EXPECT_EQ(Get(home + "/users/user.lst"), list);
    Send(first, "Moja obľúbená farba je modrá.\n");
    EXPECT_EQ(Finish(first), 0) << first.Err();
    EXPECT_NE(Get(home + "/users/_Jan/user.mem").find(base::FromUtf8Lossy("modrá")), std::string::npos);
}

TEST_F(TwoInstances, ALockLeftByAKilledProgramDoesNotBlock) {
    for (int round = 0; round < 3; ++round) {
        Started killed = Console("Jan");
        ASSERT_TRUE(Opened(killed)) << killed.Err();
        EXPECT_EQ(Finish(killed, true), 128 + SIGKILL);
    }
    ASSERT_TRUE(fs::exists(home + "/tamzel.lock"));  // the file stays; its lock went
    Started next = Console("Jan");
    Send(next, "ahoj\n");
    EXPECT_EQ(Finish(next), 0) << next.Err();
    const std::string out = next.Out();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;
}

TEST_F(TwoInstances, ConsoleAndWindowExcludeEachOther) {
    // The window first: a console beside it is refused.
    Started window = Start({"--home", home, "--user", "Jan"}, true);
    ASSERT_TRUE(WaitFor([&] { return fs::exists(home + "/users/_Jan/user.mem"); }));
    std::this_thread::sleep_for(300ms);
    Started console = Console("Eva");
    EXPECT_EQ(Finish(console), 4) << console.Err();
    EXPECT_NE(console.Err().find(kRefused), std::string::npos) << console.Err();
    EXPECT_FALSE(fs::exists(home + "/users/_Eva"));
    Finish(window, true);

    // The console first: the window says why and does not go on.
    Started first = Console("Jan");
    ASSERT_TRUE(Opened(first)) << first.Err();
    Started refused = Start({"--home", home, "--user", "Eva"}, true);
    EXPECT_TRUE(WaitFor([&] { return refused.Err().find(kRefused) != std::string::npos; }))
        << refused.Err();
    Finish(refused, true);  // its message box waits for a click
    EXPECT_FALSE(fs::exists(home + "/users/_Eva"));
    EXPECT_EQ(Finish(first), 0);
}

// Two processes changing two users' memories at once, as two programs on one folder did
// before the folder lock: each file gets exactly its own user's facts, all of them.
TEST_F(TwoInstances, ConcurrentMemoryChangesNeverMixTwoUsersFiles) {
    constexpr int kFacts = 400;
    const std::vector<std::string> users = {"Jan", "Eva"};
    fs::current_path(home);
    std::vector<pid_t> children;
    for (const std::string& user : users) {
        Put("users/_" + user + "/user.mem", profiles::NewMemoryFile());
        std::fflush(nullptr);
        pid_t pid = ::fork();
        if (pid == 0) {
            engine::EngineCore e;
            e.UserName = user;
            int problems = 0;
            e.hooks.onMemoryProblem = [&](const std::string&) { ++problems; };
            for (int i = 0; i < kFacts; ++i)
                e.AddMemoryValue("user,fakt" + std::to_string(i) + "," + user);
            ::_exit(problems == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "memory problems reported";
    }
    for (size_t u = 0; u < users.size(); ++u) {
        std::string memory = Get("users/_" + users[u] + "/user.mem");
        const std::string& other = users[1 - u];
        int own = 0;
        for (int i = 0; i < kFacts; ++i)
            own += memory.find("fakt" + std::to_string(i) + ":" + users[u] + "\r\n") != std::string::npos;
        EXPECT_EQ(own, kFacts) << users[u];
        EXPECT_EQ(memory.find(":" + other + "\r\n"), std::string::npos) << users[u] << " holds " << other;
    }
    for (const auto& entry : fs::recursive_directory_iterator(home))
        EXPECT_FALSE(base::IsTempFileName(entry.path().filename().string())) << entry.path();
}

TEST_F(TwoInstances, AStartRemovesOnlyTheTemporaryFilesOfEndedRuns) {
    Started made = Console("Jan");
    Send(made, "ahoj\n");
    ASSERT_EQ(Finish(made), 0);
    const std::vector<std::string> stale = {
        "users/user.lst.tmp4242", "users/tamzel.ini.tmp17-3", "users/changed_user.lst.tmp9-0",
        "users/_Jan/user.mem.tmp", "users/_Jan/user.dat.tmp31337-1", "users/_Jan/user.cfg.tmp5",
        "ai/help.mem", "ai/help.mem.tmp77-2", "zaznamy/zaznamy.htm.tmp8-8"};
    const std::vector<std::string> kept = {
        "users/poznamky.txt.tmp1", "users/_Jan/foto.jpg.tmp2", "zaznamy/moj.txt.tmp",
        "zaznamy/rozhovor.htm", "ai/brainfile.ai.bak", "users/_Jan/user.mem"};
    for (const std::string& f : stale) Put(home + "/" + f, "x");
    for (const std::string& f : kept)
        if (!fs::exists(home + "/" + f)) Put(home + "/" + f, "moje");

    // A start refused beside a running program must not clear anything: the files could be
    // the running one's.
    Started running = Console("Jan");
    ASSERT_TRUE(Opened(running));
    Put(home + "/users/_Jan/user.dat.tmp999-0", "beziaci");
    Started refused = Console("Jan");
    EXPECT_EQ(Finish(refused), 4);
    EXPECT_TRUE(fs::exists(home + "/users/_Jan/user.dat.tmp999-0"));
    EXPECT_EQ(Finish(running), 0);

    Started next = Console("Jan");
    EXPECT_EQ(Finish(next), 0) << next.Err();
    for (const std::string& f : stale) EXPECT_FALSE(fs::exists(home + "/" + f)) << f;
    EXPECT_FALSE(fs::exists(home + "/users/_Jan/user.dat.tmp999-0"));
    for (const std::string& f : kept) EXPECT_TRUE(fs::exists(home + "/" + f)) << f;
}

TEST_F(TwoInstances, AHundredMegabyteLineIsCutAndAnsweredInUnderASecond) {
    const std::string input = home + "/../tamzel-long-line";
    {
        std::FILE* f = std::fopen(input.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::string block(1 << 20, 'a');
        for (size_t i = 0; i < block.size(); i += 8) block[i] = ' ';
        for (int i = 0; i < 100; ++i) std::fwrite(block.data(), 1, block.size(), f);
        std::fputs("\nAko sa voláš?\n", f);
        std::fclose(f);
    }
    std::fflush(nullptr);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(::open(input.c_str(), O_RDONLY), 0);
        ::dup2(::open((home + "/out").c_str(), O_WRONLY | O_CREAT, 0644), 1);
        ::dup2(::open((home + "/err").c_str(), O_WRONLY | O_CREAT, 0644), 2);
        std::string program = Program();
        ::execl(program.c_str(), program.c_str(), "--console", "--home", home.c_str(), "--user",
                "Jan", "--seed", "1", nullptr);
        ::_exit(98);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    fs::remove(input);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Get(home + "/err");
    EXPECT_LT(seconds, 1.0);
    std::fprintf(stderr, "100 MB line: %.3f s\n", seconds);
    std::string out = Get(home + "/out"), err = Get(home + "/err");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3) << out.substr(0, 300);  // opening + 2
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("Veta bola dlhšia ako 4096 znakov"), std::string::npos) << err;
}

// A system error reaches the console user in Slovak; --verbose adds the system's words.
TEST_F(TwoInstances, SystemErrorsAreNamedInSlovakAndInEnglishOnlyWhenVerbose) {
    const std::string tooLong(300, 'a');  // a valid name, but no file system takes the folder
    for (bool verbose : {false, true}) {
        std::vector<std::string> args = {"--console", "--home", home, "--user", tooLong};
        if (verbose) args.push_back("--verbose");
        Started run = Start(args);
        EXPECT_EQ(Finish(run), 1);
        const std::string err = run.Err();
        EXPECT_NE(err.find("názov súboru je príliš dlhý"), std::string::npos) << err;
        EXPECT_EQ(err.find(std::strerror(ENAMETOOLONG)) != std::string::npos, verbose) << err;
    }
}

}  // namespace
}  // namespace tamzel::hardening
