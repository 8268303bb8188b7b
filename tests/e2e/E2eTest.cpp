// The real program under Xvfb: it starts, shows its opening line, takes a typed sentence,
// records the exchange, and on a click on the close button stores the profile files and
// ends. Checked through the files it leaves and a screenshot of the conversation view.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/Files.h"
#include "base/Codepage.h"
#include "tests/ProgramFolderSupport.h"

namespace fs = std::filesystem;

namespace {

using tamzel::testing::FreshProgramFolder;
using tamzel::testing::Home;
using tamzel::testing::OnPath;
using tamzel::testing::Read;

// Dark pixels (text) inside the conversation view of the window at (x, y) on the shot.
int TextPixels(const QImage& shot, int x, int y) {
    int dark = 0;
    for (int py = y + 70; py < y + 360; ++py) {
        for (int px = x + 20; px < x + 280; ++px) {
            if (px < shot.width() && py < shot.height() && qGray(shot.pixel(px, py)) < 80) ++dark;
        }
    }
    return dark;
}

// Runs `steps` under a fresh Xvfb after starting the program with --user Tester in `folder`;
// the steps see $pid, the main window $W and its place $X, $Y. Returns the exit status.
int RunUnderXvfb(const fs::path& folder, const std::string& steps) {
    fs::path program = fs::path(Home()) / "tamzel";
    std::ostringstream script;
    script << "set -e; unset QT_QPA_PLATFORM; cd " << folder << "; "
           << program << " --home " << folder << " --user Tester >" << folder / "out.log"
           << " 2>&1 & pid=$!; "
           // The main window is the 558-pixel-wide "Tamzel"; a message may carry the name too.
           << "W=; for i in $(seq 100); do for w in $(xdotool search --onlyvisible --name '^Tamzel$'); do "
           << "eval $(xdotool getwindowgeometry --shell $w); [ \"$WIDTH\" = 558 ] && W=$w && GX=$X && GY=$Y; done; "
           << "[ -n \"$W\" ] && break; sleep 0.1; done; [ -n \"$W\" ] || exit 4; X=$GX; Y=$GY; sleep 1; "
           << steps
           << "; for i in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done; "
           << "if kill -0 $pid 2>/dev/null; then kill -9 $pid; exit 3; fi";
    std::string quoted;
    for (char c : script.str()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    std::string command = "timeout 60 xvfb-run -a -s '-screen 0 1280x800x24' bash -c '" + quoted + "'";
    return std::system(command.c_str());
}

// Why the end-to-end tests cannot run here; empty when they can.
std::string MissingTools() {
    if (!OnPath("xvfb-run") || !OnPath("xdotool")) return "xvfb-run or xdotool missing";
    if (!fs::exists(fs::path(Home()) / "tamzel")) return "program not built in " + Home();
    return "";
}

TEST(E2eTest, TypedSentenceIsAnsweredRecordedAndStoredAtShutdown) {
    if (std::string why = MissingTools(); !why.empty()) GTEST_SKIP() << why;
    fs::path folder = FreshProgramFolder("tamzel-e2e");
    fs::path shot = folder / "shot.png";
    fs::path geometry = folder / "geometry.txt";
    std::ostringstream steps;
    steps << "xdotool windowfocus $W || true; xdotool type --delay 20 'Ako sa mas?'; "
          << "xdotool key Return; sleep 1.5; "
          << "echo X=$X Y=$Y > " << geometry << "; "
          << "if command -v import >/dev/null; then import -window root " << shot << "; fi; "
          << "xdotool mousemove $((X + 544)) $((Y + 12)) click 1";
    int rc = RunUnderXvfb(folder, steps.str());
    ASSERT_EQ(rc, 0) << "driver failed; log:\n" << Read(folder / "out.log");

    std::string record = tamzel::base::ToUtf8(Read(folder / "zaznamy/zaznamy.txt"));
    EXPECT_NE(record.find("<Nový rozhovor - Tester - "), std::string::npos) << record;
    EXPECT_NE(record.find("\r\nAko sa mas?\r\n» "), std::string::npos) << record;
    EXPECT_NE(record.find(">Rozhovor ukončený - "), std::string::npos) << record;
    std::string page = Read(folder / "zaznamy/zaznamy.htm");
    EXPECT_NE(page.find(tamzel::base::FromUtf8("Ako sa mas?<br>").value()), std::string::npos);
    std::string ini = Read(folder / "users/tamzel.ini");
    EXPECT_NE(ini.find("last_user=Tester\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("theme=design/interface.thm"), std::string::npos) << ini;
    EXPECT_NE(Read(folder / "users/_Tester/user.cfg").find("zaznamy=1"), std::string::npos);
    EXPECT_NE(Read(folder / "users/_Tester/user.dat").find("meno=Tester"), std::string::npos);

    // The screenshot needs ImageMagick, which a lean test machine may lack.
    if (OnPath("import")) {
        QImage image(QString::fromStdString(shot.string()));
        ASSERT_FALSE(image.isNull());
        std::string geo = Read(geometry);
        int x = std::stoi(geo.substr(geo.find("X=") + 2));
        int y = std::stoi(geo.substr(geo.find("Y=") + 2));
        EXPECT_GT(TextPixels(image, x, y), 200) << "no text in the conversation view";
    }
    fs::remove_all(folder);
}

TEST(E2eTest, HaltEndsAtOnceWithoutStoring) {
    if (std::string why = MissingTools(); !why.empty()) GTEST_SKIP() << why;
    fs::path folder = FreshProgramFolder("tamzel-e2e");
    int rc = RunUnderXvfb(folder, "xdotool windowfocus $W || true; xdotool type halt; xdotool key Return");
    ASSERT_EQ(rc, 0) << Read(folder / "out.log");
    EXPECT_FALSE(fs::exists(folder / "users/tamzel.ini"));
    EXPECT_FALSE(fs::exists(folder / "zaznamy/zaznamy.htm"));
    std::string record = Read(folder / "zaznamy/zaznamy.txt");
    EXPECT_EQ(record.find("halt"), std::string::npos);
    EXPECT_EQ(record.find(">Rozhovor"), std::string::npos);
    fs::remove_all(folder);
}

TEST(E2eTest, SecondStartLeavesTheFirstRunningAndTerminationStores) {
    if (std::string why = MissingTools(); !why.empty()) GTEST_SKIP() << why;
    fs::path folder = FreshProgramFolder("tamzel-e2e");
    fs::path second = folder / "second.txt";
    std::ostringstream steps;
    steps << "start=$(date +%s); " << (fs::path(Home()) / "tamzel") << " --home " << folder
          << " --user Tester >/dev/null 2>&1; echo \"second $? $(( $(date +%s) - start ))\" > " << second
          << "; kill -0 $pid; "
          << "[ $(xdotool search --onlyvisible --name '^Tamzel$' | wc -l) -ge 1 ]; kill -TERM $pid";
    int rc = RunUnderXvfb(folder, steps.str());
    ASSERT_EQ(rc, 0) << Read(folder / "out.log");
    std::string result = Read(second);
    EXPECT_EQ(result.substr(0, 9), "second 0 ") << result;
    EXPECT_LT(std::stoi(result.substr(9)), 5) << "the second start must end at once";
    EXPECT_NE(Read(folder / "users/tamzel.ini").find("last_user=Tester"), std::string::npos);
    EXPECT_NE(Read(folder / "zaznamy/zaznamy.txt").find(">Rozhovor ukon"), std::string::npos);
    fs::remove_all(folder);
}

}  // namespace
