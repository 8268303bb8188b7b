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

#include "engine/AtomicFile.h"
#include "engine/Codepage.h"

namespace fs = std::filesystem;

namespace {

bool OnPath(const char* tool) {
    std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

std::string Home() {
    const char* env = std::getenv("TAMZEL_HOME");
    return env ? env : TAMZEL_TEST_HOME;
}

std::string Read(const fs::path& path) {
    std::string content;
    tamzel::engine::ReadWholeFile(path.string(), content);
    return content;
}

// Copies the built program folder (without its records and profiles) to a fresh folder.
fs::path FreshProgramFolder() {
    char pattern[] = "/tmp/tamzel-e2e-XXXXXX";
    fs::path folder = mkdtemp(pattern);
    for (const char* sub : {"ai", "files", "design", "help", "gorvin"}) {
        if (fs::exists(fs::path(Home()) / sub)) {
            fs::copy(fs::path(Home()) / sub, folder / sub, fs::copy_options::recursive);
        }
    }
    fs::create_directories(folder / "users");
    fs::create_directories(folder / "zaznamy");
    return folder;
}

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

TEST(E2eTest, TypedSentenceIsAnsweredRecordedAndStoredAtShutdown) {
    if (!OnPath("xvfb-run") || !OnPath("xdotool")) GTEST_SKIP() << "xvfb-run or xdotool missing";
    if (!OnPath("import")) GTEST_SKIP() << "ImageMagick's import missing (screenshot)";
    fs::path program = fs::path(Home()) / "tamzel";
    if (!fs::exists(program)) GTEST_SKIP() << "program not built: " << program;
    fs::path folder = FreshProgramFolder();
    fs::path shot = folder / "shot.png";
    fs::path geometry = folder / "geometry.txt";
    std::ostringstream script;
    script << "set -e; unset QT_QPA_PLATFORM; cd " << folder << "; "
           << program << " --home " << folder << " --user Tester >" << folder / "out.log"
           << " 2>&1 & pid=$!; "
           // The main window is the 558-pixel-wide "Tamzel"; a message may carry the name too.
           << "W=; for i in $(seq 100); do for w in $(xdotool search --onlyvisible --name '^Tamzel$'); do "
           << "eval $(xdotool getwindowgeometry --shell $w); [ \"$WIDTH\" = 558 ] && W=$w; done; "
           << "[ -n \"$W\" ] && break; sleep 0.1; done; [ -n \"$W\" ] || exit 4; sleep 1; "
           << "xdotool windowfocus $W || true; xdotool type --delay 20 'Ako sa mas?'; "
           << "xdotool key Return; sleep 1.5; "
           << "xdotool getwindowgeometry --shell $W > " << geometry << "; "
           << "import -window root " << shot << "; "
           << ". " << geometry << "; "
           << "xdotool mousemove $((X + 544)) $((Y + 12)) click 1; "
           << "for i in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done; "
           << "if kill -0 $pid 2>/dev/null; then kill $pid; exit 3; fi";
    std::string command = "timeout 60 xvfb-run -a -s '-screen 0 1280x800x24' bash -c '" +
                          [&] {
                              std::string s = script.str(), out;
                              for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
                              return out;
                          }() + "'";
    int rc = std::system(command.c_str());
    ASSERT_EQ(rc, 0) << "driver failed; log:\n" << Read(folder / "out.log");

    std::string record = tamzel::engine::ToUtf8(Read(folder / "zaznamy/zaznamy.txt"));
    EXPECT_NE(record.find("<Nový rozhovor - Tester - "), std::string::npos) << record;
    EXPECT_NE(record.find("\r\nAko sa mas?\r\n» "), std::string::npos) << record;
    EXPECT_NE(record.find(">Rozhovor ukončený - "), std::string::npos) << record;
    std::string page = Read(folder / "zaznamy/zaznamy.htm");
    EXPECT_NE(page.find(tamzel::engine::FromUtf8("Ako sa mas?<br>").value()), std::string::npos);
    std::string ini = Read(folder / "users/tamzel.ini");
    EXPECT_NE(ini.find("last_user=Tester\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("theme=design/interface.thm"), std::string::npos) << ini;
    EXPECT_NE(Read(folder / "users/_Tester/user.cfg").find("zaznamy=1"), std::string::npos);
    EXPECT_NE(Read(folder / "users/_Tester/user.dat").find("meno=Tester"), std::string::npos);

    QImage image(QString::fromStdString(shot.string()));
    ASSERT_FALSE(image.isNull());
    std::string geo = Read(geometry);
    int x = std::stoi(geo.substr(geo.find("X=") + 2));
    int y = std::stoi(geo.substr(geo.find("Y=") + 2));
    EXPECT_GT(TextPixels(image, x, y), 200) << "no text in the conversation view";
    fs::remove_all(folder);
}

}  // namespace
