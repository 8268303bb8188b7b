// The program started from an installed, read-only program folder, as the package lays it
// out: the console signs in and talks in the user's copy under $XDG_DATA_HOME, which the
// first start makes; the speech tools and a folder named by --home get no copy.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>

#include "HardeningSupport.h"

namespace tamzel::hardening {
namespace {

struct ProgramResult {
    int code = -1;
    std::string out, err;
};

constexpr fs::perms kReadOnlyFolder = fs::perms::owner_read | fs::perms::owner_exec |
                                      fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec;
constexpr fs::perms kReadOnlyFile =
    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

std::string BuiltFolder() {
    const char* home = std::getenv("TAMZEL_HOME");
    return home ? home : "";
}

class InstalledProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (BuiltFolder().empty() || !fs::exists(BuiltFolder() + "/tamzel"))
            GTEST_SKIP() << "the program is not built";
        fs::permissions(scratch.path(), kReadOnlyFolder | fs::perms::owner_write);
        Install();
        fs::create_directories(data);
        fs::permissions(data, fs::perms::all);
    }

    void TearDown() override {
        std::error_code ec;
        for (auto& entry : fs::recursive_directory_iterator(installed, ec))
            if (entry.is_directory(ec)) fs::permissions(entry.path(), fs::perms::owner_all, ec);
        fs::permissions(installed, fs::perms::owner_all, ec);
    }

    // The program (a hard link, so that it finds this folder as its own) and its tree, with
    // the permissions a package leaves them.
    void Install() {
        fs::create_directories(installed);
        for (const char* d : {"ai", "files", "design", "help", "gorvin", "users", "zaznamy"}) {
            fs::copy(BuiltFolder() + "/" + d, installed + "/" + d, fs::copy_options::recursive);
        }
        fs::remove_all(installed + "/users");
        fs::create_directories(installed + "/users");
        std::error_code ec;
        fs::create_hard_link(BuiltFolder() + "/tamzel", installed + "/tamzel", ec);
        if (ec) fs::copy_file(BuiltFolder() + "/tamzel", installed + "/tamzel");
        for (auto& entry : fs::recursive_directory_iterator(installed)) {
            if (entry.path().filename() == "tamzel") continue;
            fs::permissions(entry.path(), entry.is_directory() ? kReadOnlyFolder : kReadOnlyFile);
        }
        fs::permissions(installed, kReadOnlyFolder);
    }

    // Runs the installed program as a user who may not write the installed folder ("nobody"
    // when the tests run as root; the read-only permissions otherwise).
    ProgramResult Start(const std::vector<std::string>& args, const std::string& input) {
        std::string io = scratch.path() + "/io";
        fs::create_directories(io);
        Put(io + "/in", input);
        std::fflush(nullptr);
        pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(::open((io + "/in").c_str(), O_RDONLY), 0);
            ::dup2(::open((io + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
            ::dup2(::open((io + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            if (::geteuid() == 0) {
                const passwd* nobody = ::getpwnam("nobody");
                if (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
                    ::_exit(99);
            }
            ::setenv("XDG_DATA_HOME", data.c_str(), 1);
            std::string program = installed + "/tamzel";
            std::vector<std::string> arguments = args;
            std::vector<char*> argv{program.data()};
            for (std::string& a : arguments) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(98);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
                Get(io + "/out"), Get(io + "/err")};
    }

    ScratchFolder scratch;
    std::string installed = scratch.path() + "/lib/tamzel";
    std::string data = scratch.path() + "/data";
    std::string copy = data + "/tamzel";
};

TEST_F(InstalledProgram, TheConsoleTalksInTheUsersCopyMadeAtTheFirstStart) {
    ProgramResult first = Start({"--console", "--user", "Jan", "--seed", "1"}, "ahoj\n");
    if (first.code == 99 || first.code == 98) GTEST_SKIP() << "no user without write access";
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_GE(std::count(first.out.begin(), first.out.end(), '\n'), 2) << first.out;
    EXPECT_TRUE(fs::exists(copy + "/.tamzel-kopia"));
    EXPECT_EQ(Get(copy + "/ai/brainfile.ai"), Get(installed + "/ai/brainfile.ai"));
    EXPECT_TRUE(fs::exists(copy + "/users/_Jan/user.dat"));
    EXPECT_FALSE(fs::exists(installed + "/users/_Jan"));

    // The second start finds the profile of the first in the copy.
    ProgramResult second = Start({"--console", "--user", "Jan", "--female", "--seed", "2"}, "ahoj\n");
    EXPECT_EQ(second.code, 0) << second.err;
    EXPECT_NE(second.err.find("Jan"), std::string::npos) << "the profile exists already\n"
                                                         << second.err;
}

TEST_F(InstalledProgram, OnlyTheProgramsOwnFolderIsReplacedByACopy) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string input;
    };
    const std::vector<Case> cases = {
        {"the units of a text", {"--units", "ahoj"}, ""},
        {"speech into a file", {"--speak", "ahoj", "--wav", "/dev/null"}, ""},
        {"the console in a folder named by --home",
         {"--console", "--home", installed, "--user", "Jan", "--seed", "1"}, "ahoj\n"},
    };
    for (const Case& c : cases) {
        ProgramResult run = Start(c.args, c.input);
        if (run.code == 99 || run.code == 98) GTEST_SKIP() << "no user without write access";
        EXPECT_NE(run.out, "<missing>") << c.name;
        EXPECT_FALSE(fs::exists(copy)) << c.name << "\n" << run.err;
    }
}

}  // namespace
}  // namespace tamzel::hardening
