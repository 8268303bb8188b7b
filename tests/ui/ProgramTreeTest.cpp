#include "ui/ProgramTree.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/Files.h"
#include "base/SystemErrors.h"
#include "tests/ui/TempFolder.h"
#include "tests/ui/Unprivileged.h"

namespace tamzel::ui {
namespace {
namespace fs = std::filesystem;
using testing::RunUnprivileged;
using testing::TempFolder;

constexpr fs::perms kReadOnlyFile = fs::perms::owner_read | fs::perms::group_read |
                                    fs::perms::others_read;
constexpr fs::perms kReadOnlyFolder = kReadOnlyFile | fs::perms::owner_exec |
                                      fs::perms::group_exec | fs::perms::others_exec;

// The files of an installed copy, by path in the program folder.
const std::vector<std::pair<std::string, std::string>> kInstalled = {
    {"ai/brainfile.ai", "mozog"},
    {"files/slova.txt", "slova"},
    {"design/interface.thm", "14474460\n"},
    {"design/interface/main.jpg", "obrazok"},
    {"help/index.htm", "<html>"},
    {"gorvin/hlas/a.wav", "zvuk"},
    {"users/user.lst", ""},
    {"zaznamy/.keep", ""},
};

std::string Read(const fs::path& path) {
    std::string text;
    base::ReadWholeFile(path.string(), text);
    return text;
}

void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// An installed program folder that its users may read but not write, beside an empty data
// folder that everybody may write, inside a temporary folder everybody may enter.
class ProgramTreeTest : public ::testing::Test {
protected:
    ProgramTreeTest() {
        fs::permissions(temp_.path(), kReadOnlyFolder | fs::perms::owner_write);
        fs::create_directories(data_);
        fs::permissions(data_, fs::perms::all);
        for (const auto& [path, text] : kInstalled) Write(program_ / path, text);
        Write(program_ / "tamzel", "program");
        fs::permissions(program_ / "tamzel", kReadOnlyFolder);
    }

    // Lets the temporary folder go again after a test made parts of it read-only.
    ~ProgramTreeTest() override {
        std::error_code ec;
        for (auto& entry : fs::recursive_directory_iterator(temp_.path(), ec)) {
            if (entry.is_directory(ec)) fs::permissions(entry.path(), fs::perms::owner_all,
                                                        fs::perm_options::add, ec);
        }
    }

    // Installed files (and, when `folders` too, the folders below the program folder) as a
    // package leaves them.
    void MakeReadOnly(bool folders) {
        for (auto& entry : fs::recursive_directory_iterator(program_)) {
            if (entry.is_regular_file()) fs::permissions(entry.path(), kReadOnlyFile);
            if (folders && entry.is_directory()) fs::permissions(entry.path(), kReadOnlyFolder);
        }
        fs::permissions(program_, kReadOnlyFolder);
    }

    // Runs the first-start choice as an ordinary user with the given data folder; gives
    // "<chosen folder>|<error>".
    std::string Choose(const std::string& xdgDataHome) const {
        return RunUnprivileged([&] {
            setenv("XDG_DATA_HOME", xdgDataHome.c_str(), 1);
            std::string error;
            std::string folder = WritableProgramFolder(program_.string(), error);
            return folder + "|" + error;
        });
    }

    // "ok" when the ordinary user may change and add files everywhere in the copy, else the
    // first file that is refused.
    std::string CopyIsWritable() const {
        return RunUnprivileged([&] {
            for (const auto& [path, text] : kInstalled) {
                if (access((copy_ / path).c_str(), W_OK) != 0) return path;
                fs::path added = (copy_ / path).parent_path() / "novy.tmp";
                if (!std::ofstream(added)) return added.string();
            }
            return std::string("ok");
        });
    }

    void ExpectCompleteCopy() const {
        for (const auto& [path, text] : kInstalled) {
            EXPECT_EQ(Read(copy_ / path), text) << path;
        }
        EXPECT_FALSE(fs::exists(copy_ / "tamzel")) << "the program itself is not copied";
        EXPECT_EQ(CopyIsWritable(), "ok");
    }

    TempFolder temp_;
    fs::path program_ = fs::path(temp_.path()) / "lib" / "tamzel";
    fs::path data_ = fs::path(temp_.path()) / "data";
    fs::path copy_ = data_ / "tamzel";
};

TEST_F(ProgramTreeTest, AWritableProgramFolderIsUsedAsItIs) {
    fs::permissions(program_, fs::perms::all);
    EXPECT_EQ(Choose(data_.string()), program_.string() + "|");
    EXPECT_FALSE(fs::exists(copy_));
}

TEST_F(ProgramTreeTest, TheFirstStartOfAnInstalledCopyCopiesTheTree) {
    MakeReadOnly(false);
    EXPECT_EQ(Choose(data_.string()), copy_.string() + "|");
    ExpectCompleteCopy();
}

// Packages install folders without write rights too; the copy is the user's own and must
// be writable all the same, or the first start fails and every later one too.
TEST_F(ProgramTreeTest, ReadOnlyInstalledFoldersGiveAWritableCopy) {
    MakeReadOnly(true);
    EXPECT_EQ(Choose(data_.string()), copy_.string() + "|");
    ExpectCompleteCopy();
    EXPECT_EQ(Choose(data_.string()), copy_.string() + "|");
}

TEST_F(ProgramTreeTest, ALaterStartKeepsWhatTheUserChanged) {
    MakeReadOnly(false);
    ASSERT_EQ(Choose(data_.string()), copy_.string() + "|");
    Write(copy_ / "ai/brainfile.ai", "naucene");
    Write(copy_ / "users/_peter/user.dat", "Peter");
    fs::remove(copy_ / "help/index.htm");
    EXPECT_EQ(Choose(data_.string()), copy_.string() + "|");
    EXPECT_EQ(Read(copy_ / "ai/brainfile.ai"), "naucene");
    EXPECT_EQ(Read(copy_ / "users/_peter/user.dat"), "Peter");
}

// A first start that ended half way (no users/ yet) is completed by the next, without
// overwriting what the first one already copied.
TEST_F(ProgramTreeTest, AnUnfinishedCopyIsCompletedByTheNextStart) {
    MakeReadOnly(false);
    Write(copy_ / "ai/brainfile.ai", "uz skopirovane");
    fs::permissions(copy_, fs::perms::all);
    fs::permissions(copy_ / "ai", fs::perms::all);
    fs::permissions(copy_ / "ai/brainfile.ai", fs::perms::all);
    EXPECT_EQ(Choose(data_.string()), copy_.string() + "|");
    EXPECT_EQ(Read(copy_ / "ai/brainfile.ai"), "uz skopirovane");
    EXPECT_EQ(Read(copy_ / "help/index.htm"), "<html>");
    EXPECT_TRUE(fs::exists(copy_ / "users/user.lst"));
}

TEST_F(ProgramTreeTest, ACopyThatFailsIsNamedAndTheProgramFolderKept) {
    MakeReadOnly(false);
    Write(data_ / "subor", "nie priecinok");
    fs::path closed = data_ / "zavrety";
    fs::create_directories(closed);
    fs::permissions(closed, kReadOnlyFolder);
    struct Case {
        fs::path dataHome;
        int error;
    };
    for (const Case& c : {Case{data_ / "subor", ENOTDIR}, Case{closed, EACCES}}) {
        std::string target = (c.dataHome / "tamzel").string();
        EXPECT_EQ(Choose(c.dataHome.string()),
                  program_.string() + "|Kópiu programu v priečinku " + target +
                      " sa nepodarilo vytvoriť: " + base::ErrorPhrase(c.error) + ".")
            << c.dataHome;
    }
}

// A copy that stopped half way (killed, or refused part of the way) is never used as it is:
// the start that fails says so and stays in the program folder; the next one completes the
// copy, drops the scratch files of the killed one and only then runs from it.
TEST_F(ProgramTreeTest, AnUnfinishedCopyIsNeverUsedHalfWay) {
    MakeReadOnly(false);
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> left;  // what the earlier start left
    };
    const std::vector<Case> cases = {
        {"killed while copying a file",
         {{"ai/brainfile.ai", "mozog"}, {"help/index.htm.tmp4242-1", "<ht"}}},
        {"killed after users/, before zaznamy/",
         {{"ai/brainfile.ai", "mozog"}, {"users/user.lst", ""},
          {"gorvin/hlas/a.wav.tmp7-3", "zv"}}},
        {"nothing but the folder", {}},
    };
    for (const Case& c : cases) {
        fs::remove_all(copy_);
        for (const auto& [path, text] : c.left) Write(copy_ / path, text);
        fs::create_directories(copy_);
        for (auto& entry : fs::recursive_directory_iterator(copy_))
            fs::permissions(entry.path(), fs::perms::all);
        fs::permissions(copy_, fs::perms::all);
        EXPECT_EQ(Choose(data_.string()), copy_.string() + "|") << c.name;
        for (auto& entry : fs::recursive_directory_iterator(copy_)) {
            EXPECT_FALSE(base::IsTempFileName(entry.path().filename().string()))
                << c.name << ": " << entry.path();
        }
        EXPECT_TRUE(fs::exists(copy_ / kCompleteMark)) << c.name;
        ExpectCompleteCopy();
    }
}

TEST_F(ProgramTreeTest, ACopyRefusedHalfWayIsNotUsedUntilTheNextStartCompletesIt) {
    MakeReadOnly(false);
    fs::create_directories(copy_ / "help");
    fs::permissions(copy_, fs::perms::all);
    fs::permissions(copy_ / "help", kReadOnlyFolder);
    EXPECT_EQ(Choose(data_.string()),
              program_.string() + "|Kópiu programu v priečinku " + copy_.string() +
                  " sa nepodarilo vytvoriť: " + base::ErrorPhrase(EACCES) + ".");
    EXPECT_FALSE(fs::exists(copy_ / kCompleteMark));
    EXPECT_EQ(Read(copy_ / "ai/brainfile.ai"), "mozog") << "what was copied stays";

    fs::permissions(copy_ / "help", fs::perms::all);
    EXPECT_EQ(Choose(data_.string()), copy_.string() + "|");
    ExpectCompleteCopy();
    EXPECT_TRUE(fs::exists(copy_ / kCompleteMark));
}

// The finished copy is the user's: a later start copies nothing into it again, not even a
// file the user removed on purpose.
TEST_F(ProgramTreeTest, AFinishedCopyIsLeftAsTheUserMadeIt) {
    MakeReadOnly(false);
    ASSERT_EQ(Choose(data_.string()), copy_.string() + "|");
    fs::remove(copy_ / "design/interface/main.jpg");
    Write(copy_ / "design/interface.thm", "255\n");
    EXPECT_EQ(Choose(data_.string()), copy_.string() + "|");
    EXPECT_FALSE(fs::exists(copy_ / "design/interface/main.jpg"));
    EXPECT_EQ(Read(copy_ / "design/interface.thm"), "255\n");
}

TEST(UserTreeFolder, FollowsTheDataHomeThenTheHomeFolder) {
    struct Case {
        const char* xdg;   // nullptr: unset
        const char* home;  // nullptr: unset
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"/data", "/home/peter", "/data/tamzel"},
        {nullptr, "/home/peter", "/home/peter/.local/share/tamzel"},
        {"", "/home/peter", "/home/peter/.local/share/tamzel"},
        {"/moje dáta", nullptr, "/moje dáta/tamzel"},
        // A relative data home would put the copy inside the folder that cannot be written.
        {"data", "/home/peter", "/home/peter/.local/share/tamzel"},
        {"./data", "/home/peter", "/home/peter/.local/share/tamzel"},
    };
    for (const auto& c : cases) {
        std::string folder = RunUnprivileged([&] {
            c.xdg ? setenv("XDG_DATA_HOME", c.xdg, 1) : unsetenv("XDG_DATA_HOME");
            c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
            return UserTreeFolder();
        });
        EXPECT_EQ(folder, c.expected) << (c.xdg ? c.xdg : "(unset)");
    }
}

}  // namespace
}  // namespace tamzel::ui
