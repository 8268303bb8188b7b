// The desktop opener: the path reaches xdg-open as its only argument, never through a
// shell, and a missing xdg-open is a message, not a silent nothing.
#include "base/PlatformOpener.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <unistd.h>

namespace tamzel::base {
namespace {

namespace fs = std::filesystem;

class PlatformOpener : public ::testing::Test {
protected:
    void SetUp() override {
        // Tests run in parallel processes: each gets a folder of its own.
        folder_ = fs::path(::testing::TempDir()) /
                  ("tamzel-opener-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "bin");
        oldPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    }
    void TearDown() override {
        ::setenv("PATH", oldPath_.c_str(), 1);
        fs::remove_all(folder_);
    }
    // A stand-in xdg-open that writes its argument count and arguments to a file.
    void InstallRecorder() {
        const fs::path script = folder_ / "bin/xdg-open";
        std::ofstream(script) << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > \"$0.args.tmp\"\n"
                                 "mv \"$0.args.tmp\" \"$0.args\"\n";
        fs::permissions(script, fs::perms::owner_all);
        ::setenv("PATH", ((folder_ / "bin").string() + ":" + oldPath_).c_str(), 1);
    }
    std::string ArgumentsSeenFor(const std::string& path) {
        const fs::path record = folder_ / "bin/xdg-open.args";
        EXPECT_TRUE(OpenWithDesktop(path).ok()) << path;
        for (int i = 0; i < 300 && !fs::exists(record); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::stringstream text;
        text << std::ifstream(record).rdbuf();
        fs::remove(record);
        return text.str();
    }
    fs::path folder_;
    std::string oldPath_;
};

TEST_F(PlatformOpener, HandsThePathOverAsOneArgumentThatNoShellReads) {
    InstallRecorder();
    const fs::path previous = fs::current_path();
    fs::current_path(folder_);
    const struct {
        const char* path;
        const char* seen;
    } cases[] = {
        {"help/a b;$(touch pwned).htm", "1|help/a b;$(touch pwned).htm|"},
        {"-n", "1|./-n|"},  // never read as an option of xdg-open
        {"súbor.htm", "1|súbor.htm|"},
        {"", "1||"},
    };
    for (const auto& c : cases) EXPECT_EQ(ArgumentsSeenFor(c.path), c.seen) << c.path;
    EXPECT_FALSE(fs::exists("pwned"));
    fs::current_path(previous);
}

TEST_F(PlatformOpener, AMissingXdgOpenIsAFailureWithAMessage) {
    ::setenv("PATH", (folder_ / "bin").string().c_str(), 1);
    Status opened = OpenWithDesktop("help/index.htm");
    EXPECT_FALSE(opened.ok());
    EXPECT_NE(opened.message().find("xdg-open"), std::string::npos);
}

}  // namespace
}  // namespace tamzel::base
