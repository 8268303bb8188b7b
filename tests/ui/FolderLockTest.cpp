#include "ui/FolderLock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "base/Files.h"
#include "tests/ui/TempFolder.h"
#include "tests/ui/Unprivileged.h"

namespace tamzel::ui {
namespace {
namespace fs = std::filesystem;
using Outcome = FolderLock::Outcome;
using testing::TempFolder;

std::string Read(const std::string& path) {
    std::string text;
    base::ReadWholeFile(path, text);
    return text;
}

void Touch(const std::string& path) {
    fs::path folder = fs::path(path).parent_path();
    if (!folder.empty()) fs::create_directories(folder);
    std::ofstream(path) << "x";
}

TEST(FolderLock, TheFirstStartHoldsTheFolderAndALaterOneFindsItBusy) {
    TempFolder temp;
    FolderLock first;
    EXPECT_EQ(first.Acquire("okno"), Outcome::Held);
    EXPECT_EQ(Read("tamzel.lock"), std::to_string(getpid()) + " okno\n");
    EXPECT_EQ(first.Acquire("okno"), Outcome::Held) << "the holder asking again";
    FolderLock second;
    EXPECT_EQ(second.Acquire("konzola"), Outcome::Busy);
    EXPECT_EQ(Read("tamzel.lock"), std::to_string(getpid()) + " okno\n")
        << "a refused start leaves the holder's note";
}

TEST(FolderLock, TheFolderIsFreeAgainWhenTheHolderEnds) {
    TempFolder temp;
    auto first = std::make_unique<FolderLock>();
    ASSERT_EQ(first->Acquire("konzola"), Outcome::Held);
    first.reset();
    FolderLock next;
    EXPECT_EQ(next.Acquire("okno"), Outcome::Held);
    EXPECT_EQ(Read("tamzel.lock"), std::to_string(getpid()) + " okno\n");
}

// A holder that is killed cannot clean up; the lock must go with it all the same, and the
// note it left (a longer one than the next holder writes) must not outlive it either.
TEST(FolderLock, AKilledHolderDoesNotBlockTheNextStart) {
    TempFolder temp;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t holder = fork();
    if (holder == 0) {
        FolderLock lock;
        char answer = lock.Acquire("konzola-s-dlhym-menom") == Outcome::Held ? 'y' : 'n';
        ssize_t written = write(ready[1], &answer, 1);
        (void)written;
        pause();
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');
    FolderLock meanwhile;
    EXPECT_EQ(meanwhile.Acquire("okno"), Outcome::Busy);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    FolderLock next;
    EXPECT_EQ(next.Acquire("okno"), Outcome::Held);
    EXPECT_EQ(Read("tamzel.lock"), std::to_string(getpid()) + " okno\n");
    close(ready[0]);
    close(ready[1]);
}

TEST(FolderLock, AFolderNobodyMayWriteHasNoLock) {
    TempFolder temp;
    fs::permissions(temp.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                     fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
    std::string outcome = testing::RunUnprivileged([] {
        FolderLock lock;
        return std::to_string(static_cast<int>(lock.Acquire("okno")));
    });
    EXPECT_EQ(outcome, std::to_string(static_cast<int>(Outcome::Unavailable)));
    EXPECT_FALSE(fs::exists("tamzel.lock"));
}

// An installed folder shared by several users: the lock file exists but only its owner may
// write it; another user still locks it (for reading) and is kept apart the same way.
TEST(FolderLock, ALockFileThisUserMayNotWriteStillLocks) {
    TempFolder temp;
    Touch(temp.path() + "/tamzel.lock");
    fs::permissions(temp.path(), fs::perms::owner_all | fs::perms::group_exec |
                                     fs::perms::others_exec);
    fs::permissions("tamzel.lock", fs::perms::owner_read | fs::perms::owner_write |
                                       fs::perms::others_read);
    std::string outcome = testing::RunUnprivileged([] {
        FolderLock lock;
        return std::to_string(static_cast<int>(lock.Acquire("okno")));
    });
    EXPECT_EQ(outcome, std::to_string(static_cast<int>(Outcome::Held)));
    FolderLock mine;
    EXPECT_EQ(mine.Acquire("okno"), Outcome::Held) << "the child's lock ended with it";
}

// The temporary files of rewrites a killed run left behind go when the folder is taken,
// and only those: the files themselves and other people's files stay.
TEST(FolderLock, TakingTheFolderRemovesTheTemporaryFilesOfEndedRuns) {
    TempFolder temp;
    const std::vector<std::string> stale = {
        "users/user.lst.tmp123-1",         "users/tamzel.ini.tmp99",
        "users/_peter/user.dat.tmp55-2",   "users/_peter/user.mem.tmp7-1",
        "zaznamy/zaznamy.htm.tmp42-3",     "zaznamy/report.txt.tmp42-4",
        "ai/help.mem.tmp8-1",              "build.txt.tmp5-1",
        "ai/help.mem",
    };
    const std::vector<std::string> kept = {
        "users/user.lst",          "users/_peter/user.dat",    "users/_peter/poznamky.tmp1-1",
        "users/notes.txt.tmp3-1",  "zaznamy/zaznamy.htm",      "ai/brainfile.ai.tmp1-1",
        "ai/brainfile.ai",         "users/peter/user.dat.tmp1-1", "files/user.lst.tmp1-1",
    };
    for (const auto& path : stale) Touch(path);
    for (const auto& path : kept) Touch(path);
    FolderLock lock;
    ASSERT_EQ(lock.Acquire("okno"), Outcome::Held);
    for (const auto& path : stale) EXPECT_FALSE(fs::exists(path)) << path;
    for (const auto& path : kept) EXPECT_TRUE(fs::exists(path)) << path;
}

TEST(FolderLock, ABusyFolderKeepsTheHoldersTemporaryFiles) {
    TempFolder temp;
    FolderLock holder;
    ASSERT_EQ(holder.Acquire("okno"), Outcome::Held);
    Touch("users/user.lst.tmp77-1");  // a rewrite of the holder in progress
    FolderLock later;
    EXPECT_EQ(later.Acquire("konzola"), Outcome::Busy);
    EXPECT_TRUE(fs::exists("users/user.lst.tmp77-1"));
}

}  // namespace
}  // namespace tamzel::ui
