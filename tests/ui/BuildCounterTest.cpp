#include "ui/BuildCounter.h"

#include <gtest/gtest.h>

#include "base/Files.h"
#include "tests/ui/TempFolder.h"

namespace tamzel::ui {
namespace {

TEST(BuildCounterTest, OnlyTheBuildWordIncrements) {
    testing::TempFolder folder;
    EXPECT_EQ(BumpBuildCounter("build.txt", {"build"}), -1);  // no file: nothing happens
    ASSERT_TRUE(base::WriteFileAtomically("build.txt", "41\r\n").ok());
    struct Case { std::vector<std::string> args; long result; } cases[] = {
        {{}, 41}, {{"Build"}, 41}, {{"x", "build"}, 41}, {{"build"}, 42}, {{"build"}, 43},
    };
    for (const Case& c : cases) EXPECT_EQ(BumpBuildCounter("build.txt", c.args), c.result);
    std::string content;
    base::ReadWholeFile("build.txt", content);
    EXPECT_EQ(content, "43\r\n");
}

}  // namespace
}  // namespace tamzel::ui
