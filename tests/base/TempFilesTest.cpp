// Temporary files of the atomic writes: unique names created exclusively, recognised again
// by their pattern, and exclusive creation that never overwrites.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "base/Files.h"

namespace tamzel::base {
namespace {

namespace fs = std::filesystem;

class TempFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = ::testing::TempDir() + "tamzel-temps-" + std::to_string(::getpid());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }
    std::string Read(const std::string& name) const {
        std::string content;
        return ReadWholeFile(folder + "/" + name, content) ? content : "<missing>";
    }
    std::string folder;
};

TEST_F(TempFiles, NamesOfThePatternAreRecognisedWithTheirBase) {
    const struct {
        const char* name;
        const char* base;  // nullptr: not a temporary file
    } cases[] = {
        {"user.mem.tmp1234-0", "user.mem"},
        {"user.lst.tmp77", "user.lst"},  // the naming of earlier releases
        {"user.mem.tmp", "user.mem"},    // the memory file's old fallback
        {"help.mem.tmp5-12", "help.mem"},
        {"user.mem", nullptr},
        {".tmp12", nullptr},
        {"poznamky.tmpx", nullptr},
        {"user.mem.tmp12-", nullptr},
        {"user.mem.tmp-3", nullptr},
        {"user.mem.tmp1a", nullptr},
    };
    for (const auto& c : cases) {
        std::string base;
        EXPECT_EQ(IsTempFileName(c.name, &base), c.base != nullptr) << c.name;
        if (c.base) {
            EXPECT_EQ(base, c.base) << c.name;
        }
    }
}

TEST_F(TempFiles, WritesLeaveNoTemporaryFileAndRemovalTakesOnlyWantedBases) {
    ASSERT_TRUE(WriteFileAtomically(folder + "/user.dat", "a").ok());
    ASSERT_TRUE(WriteFileAtomically(folder + "/user.dat", "b").ok());
    EXPECT_EQ(Names(), std::set<std::string>{"user.dat"});
    for (const char* stale : {"user.dat.tmp1-1", "user.mem.tmp", "foto.jpg.tmp3", "kopia.tmp"})
        ASSERT_TRUE(WriteFileAtomically(folder + "/" + stale, "x").ok());
    int removed = RemoveStaleTempFiles(
        folder, [](const std::string& base) { return base == "user.dat" || base == "user.mem"; });
    EXPECT_EQ(removed, 2);
    EXPECT_EQ(Names(), (std::set<std::string>{"user.dat", "foto.jpg.tmp3", "kopia.tmp"}));
}

TEST_F(TempFiles, ExclusiveCreationNeverOverwrites) {
    const std::string path = folder + "/user.mem";
    EXPECT_EQ(CreateFileExclusively(path, "prvy"), 0);
    EXPECT_EQ(CreateFileExclusively(path, "druhy"), EEXIST);
    EXPECT_EQ(Read("user.mem"), "prvy");
    EXPECT_EQ(Names(), std::set<std::string>{"user.mem"});
    EXPECT_EQ(CreateFileExclusively(folder + "/nie/je/user.mem", "x"), ENOENT);
}

}  // namespace
}  // namespace tamzel::base
