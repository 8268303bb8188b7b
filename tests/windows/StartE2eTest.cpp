// The program under Xvfb from an empty users/ folder: the login name's profile is created,
// sign-in shows the first-run greeting, a sentence is answered, a slider is moved in the
// settings window, "Ukonči" stores everything, and the next start preselects the user and
// keeps the theme and the slider. Driven by xdotool through the windows' places.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "base/Files.h"
#include "base/Codepage.h"
#include "tests/ProgramFolderSupport.h"
#include "profiles/ProfileNames.h"
#include "profiles/StartChoice.h"

namespace fs = std::filesystem;

namespace {

using tamzel::testing::FreshProgramFolder;
using tamzel::testing::Home;
using tamzel::testing::OnPath;
using tamzel::testing::Read;

// Shell helpers for the steps: `win WIDTH` waits for the visible "Tamzel" window of that
// width and sets W, X, Y, H; `gone WIDTH` waits until none is left.
const char* kHelpers =
    "win() { for i in $(seq 100); do for w in $(xdotool search --onlyvisible --name '^Tamzel$'); do "
    "eval $(xdotool getwindowgeometry --shell $w); if [ \"$WIDTH\" = $1 ]; then W=$w; H=$HEIGHT; "
    "return 0; fi; done; sleep 0.1; done; echo \"no window $1\" >&2; return 1; }; "
    "gone() { for i in $(seq 50); do n=0; for w in $(xdotool search --onlyvisible --name '^Tamzel$'); do "
    "eval $(xdotool getwindowgeometry --shell $w); [ \"$WIDTH\" = $1 ] && n=1; done; "
    "[ $n = 0 ] && return 0; sleep 0.1; done; return 1; }; "
    "click() { xdotool mousemove $1 $2; sleep 0.2; xdotool click 1; sleep 0.4; }; ";

// Starts the program in `folder` under a fresh Xvfb and runs `steps`; the exit status.
int RunProgram(const fs::path& folder, const std::string& steps) {
    std::ostringstream script;
    script << "set -e; unset QT_QPA_PLATFORM; cd " << folder << "; " << kHelpers
           << (fs::path(Home()) / "tamzel") << " --home " << folder << " >>" << folder / "out.log"
           << " 2>&1 & pid=$!; " << steps
           << "; for i in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done; "
           << "if kill -0 $pid 2>/dev/null; then kill -9 $pid; exit 3; fi";
    std::string quoted;
    for (char c : script.str()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return std::system(
        ("timeout 90 xvfb-run -a -s '-screen 0 1024x768x24' bash -c '" + quoted + "'").c_str());
}

// Signs in from the start window, closes the greeting when there is one, and leaves the
// main window's place in MX, MY.
const char* kSignIn =
    "win 277; click $((X + 227)) $((Y + 108)); win 558; MX=$X; MY=$Y; sleep 1; ";
const char* kQuit = "click $((MX + 35)) $((MY + 36)); click $((MX + 50)) $((MY + 102))";

TEST(StartE2eTest, FirstRunCreatesTheLoginProfileAndTheNextRunRemembersIt) {
    if (!OnPath("xvfb-run") || !OnPath("xdotool")) GTEST_SKIP() << "xvfb-run or xdotool missing";
    if (!fs::exists(fs::path(Home()) / "tamzel")) GTEST_SKIP() << "program not built";
    std::string login = tamzel::profiles::LoginName();
    if (!tamzel::profiles::IsValidName(login)) GTEST_SKIP() << "login name is not a user name";
    std::string name = tamzel::base::ToUtf8(login);
    fs::path folder = FreshProgramFolder("tamzel-start");
    fs::path profile = folder / "users" / ("_" + name);

    // First run: greeting dialog (249 wide) over the main window; a turn; the volume slider
    // set to its end with the keyboard; quit.
    std::ostringstream first;
    first << kSignIn << "win 249; echo greeting $H > " << folder / "first.txt" << "; "
          << "click $((X + 212)) $((Y + H - 16)); gone 249; "
          << "click $((MX + 425)) $((MY + 297)); xdotool type --delay 20 'ahoj'; xdotool key Return; "
          << "sleep 1; click $((MX + 167)) $((MY + 36)); click $((MX + 170)) $((MY + 168)); "
          << "win 349; click $((X + 184)) $((Y + 96)); xdotool key End; sleep 0.3; "
          << "click $((X + 336)) $((Y + 10)); gone 349; " << kQuit;
    ASSERT_EQ(RunProgram(folder, first.str()), 0) << Read(folder / "out.log");
    std::string greeting = Read(folder / "first.txt");
    ASSERT_EQ(greeting.rfind("greeting ", 0), 0u);
    EXPECT_GT(std::stoi(greeting.substr(9)), 81) << "the greeting takes several lines";
    EXPECT_EQ(Read(folder / "users/user.lst"), login + "\r\n");
    EXPECT_NE(Read(profile / "user.dat").find("pohlavie=muz\r\nnalada="), std::string::npos);
    std::string cfg = Read(profile / "user.cfg");
    EXPECT_NE(cfg.find("hlasitost=800\r\n"), std::string::npos) << cfg;
    EXPECT_NE(Read(folder / "zaznamy/zaznamy.txt").find("\r\nahoj\r\n"), std::string::npos);
    std::string ini = Read(folder / "users/tamzel.ini");
    EXPECT_NE(ini.find("last_user=" + login + "\r\n"), std::string::npos) << ini;

    // Second run, with the dark theme chosen in between: Enter signs the preselected user
    // in at once and quitting stores the same slider and theme.
    std::string darkIni = "[tamzel]\r\nautolog=0\r\nlast_user=" + login +
                          "\r\ntheme=design/tmava.thm\r\n";
    ASSERT_TRUE(tamzel::base::WriteFileAtomically((folder / "users/tamzel.ini").string(), darkIni).ok());
    std::ostringstream second;
    second << "win 277; sleep 0.5; xdotool key Return; win 558; MX=$X; MY=$Y; sleep 1; "
           << kQuit;
    ASSERT_EQ(RunProgram(folder, second.str()), 0) << Read(folder / "out.log");
    EXPECT_EQ(Read(folder / "users/tamzel.ini"), darkIni);
    EXPECT_EQ(Read(profile / "user.cfg"), cfg);
    EXPECT_EQ(Read(folder / "users/user.lst"), login + "\r\n");
    fs::remove_all(folder);
}

}  // namespace
