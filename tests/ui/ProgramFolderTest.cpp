#include "ui/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "base/SystemErrors.h"
#include "tests/ui/TempFolder.h"
#include "tests/ui/Unprivileged.h"

namespace tamzel::ui {
namespace {
namespace fs = std::filesystem;
using testing::TempFolder;

std::string Refusal(const std::string& folder, int error) {
    return "Priečinok programu \"" + folder + "\" sa nedá otvoriť: " + base::ErrorPhrase(error) +
           ".";
}

TEST(ProgramFolder, EnteringAFolderMakesItTheWorkingFolder) {
    TempFolder temp;
    for (const char* name : {"tamzel", "môj program", "a/b/c"}) {
        fs::create_directories(fs::path(temp.path()) / name);
        std::string folder = temp.path() + "/" + name;
        fs::current_path(temp.path());
        EXPECT_EQ(EnterProgramFolder(folder), "") << name;
        EXPECT_EQ(fs::current_path(), fs::canonical(folder)) << name;
    }
}

// A folder that cannot be entered is named with the reason, and the program stays where it
// was: it must not go on with its files relative to some other folder.
TEST(ProgramFolder, AFolderThatCannotBeEnteredIsNamedWithTheReason) {
    TempFolder temp;
    std::ofstream(temp.path() + "/subor") << "x";
    struct Case {
        std::string folder;
        int error;
    };
    const std::vector<Case> cases = {
        {temp.path() + "/chyba", ENOENT},
        {temp.path() + "/chyba/aj/toto", ENOENT},
        {temp.path() + "/subor", ENOTDIR},
        {"", ENOENT},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EnterProgramFolder(c.folder), Refusal(c.folder, c.error)) << c.folder;
        EXPECT_EQ(fs::current_path(), fs::path(temp.path())) << c.folder;
    }
}

TEST(ProgramFolder, AFolderWithoutSearchRightIsRefused) {
    TempFolder temp;
    fs::permissions(temp.path(), fs::perms::owner_all | fs::perms::group_exec |
                                     fs::perms::others_exec);
    std::string closed = temp.path() + "/zamknuty";
    fs::create_directories(closed);
    fs::permissions(closed, fs::perms::owner_read | fs::perms::owner_write);
    std::string answer = testing::RunUnprivileged([&] {
        std::string message = EnterProgramFolder(closed);
        return message + "|" + fs::current_path().string();
    });
    EXPECT_EQ(answer, Refusal(closed, EACCES) + "|" + temp.path());
}

TEST(ProgramFolder, TheExecutableFolderHoldsTheRunningProgram) {
    TempFolder temp;  // a working folder elsewhere must not be taken for it
    std::string folder = ExecutableFolder();
    EXPECT_TRUE(fs::path(folder).is_absolute()) << folder;
    EXPECT_NE(fs::path(folder), fs::current_path());
    EXPECT_TRUE(fs::exists(fs::path(folder) / "ui_tests")) << folder;
}

}  // namespace
}  // namespace tamzel::ui
