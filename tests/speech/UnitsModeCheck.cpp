// `tamzel --units` run as a user runs it: UTF-8 in, unit string and contour out, the
// dictionary of the program folder, the name's pronunciation from the profile.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "base/Files.h"
#include "base/Codepage.h"
#include "profiles/ProfileStore.h"
#include "speech/text/SpeechText.h"

namespace tamzel::speech {
namespace {

namespace fs = std::filesystem;

struct Output {
    int status = -1;
    std::string text;  // stdout and stderr
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Output RunProgram(const std::string& home, const std::vector<std::string>& args) {
    std::string cmd = Quote(std::string(std::getenv("TAMZEL_HOME")) + "/tamzel") + " --home " + Quote(home);
    for (const auto& a : args) cmd += " " + Quote(a);
    Output out;
    FILE* p = popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return out;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.text.append(buf, n);
    int status = pclose(p);
    out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

// What the program should print for a text: the library's result, in UTF-8.
std::string Expected(const std::string& home, const std::string& utf8, const std::string& name = "",
                     const std::string& pron = "") {
    SpeechRequest rq;
    rq.text = base::FromUtf8(utf8).value();
    rq.userName = base::FromUtf8(name).value();
    rq.userNamePronunciation = base::FromUtf8(pron).value();
    rq.dictionaryPath = home + "/files/slovnik.vox";
    base::Result<PreparedSpeech> prepared = PrepareSpeechText(rq);
    if (!prepared) return "<" + base::ToUtf8(prepared.message()) + ">\n";
    const PreparedSpeech& p = *prepared;
    std::string numbers;
    for (uint8_t v : p.contour) numbers += (numbers.empty() ? "" : " ") + std::to_string(v);
    return base::ToUtf8(p.unitString) + "\n" + numbers + "\n";
}

class UnitsMode : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = std::getenv("TAMZEL_HOME");
        ASSERT_TRUE(fs::exists(home_ + "/files/slovnik.vox")) << "program folder not built";
        scratch_ = fs::temp_directory_path() / ("tamzel-units-" + std::to_string(getpid()));
        fs::create_directories(scratch_ / "files");
    }
    void TearDown() override { fs::remove_all(scratch_); }
    std::string home_;
    fs::path scratch_;
};

TEST_F(UnitsMode, PrintsUnitStringAndContour) {
    Output o = RunProgram(home_, {"--units", "Áno."});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.text, "~á-no~~~\n127 64 64 22 1 127 127 0\n");
    for (const char* text : {"Napr. o 25 km príde ten vlak!", "<smile>Ahoj, ako sa máš?", ""}) {
        Output r = RunProgram(home_, {"--units", text});
        EXPECT_EQ(r.status, 0) << text;
        EXPECT_EQ(r.text, Expected(home_, text)) << text;
    }
    // A character without a Windows-1250 form is a space, as any unspeakable character.
    EXPECT_EQ(RunProgram(home_, {"--units", "a\xF0\x9F\x98\x80" "b"}).text, Expected(home_, "a b"));
}

TEST_F(UnitsMode, ReadsThePronunciationFromTheProfile) {
    fs::copy_file(home_ + "/files/slovnik.vox", scratch_ / "files/slovnik.vox");
    profiles::ProfileStore store(scratch_.string());
    ASSERT_TRUE(store.CreateProfile("Jano", base::FromUtf8("Jánoš").value(), true, true).ok());
    Output o = RunProgram(scratch_.string(), {"--units", "Ahoj Jano!", "--user", "Jano"});
    EXPECT_EQ(o.status, 0) << o.text;
    EXPECT_EQ(o.text, Expected(scratch_.string(), "Ahoj Jano!", "Jano", "Jánoš"));
    EXPECT_NE(o.text, Expected(scratch_.string(), "Ahoj Jano!", "Jano", "Jano"));
}

TEST_F(UnitsMode, AMissingDictionaryIsReportedWithItsName) {
    Output o = RunProgram(scratch_.string(), {"--units", "Áno."});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.text.find("files/slovnik.vox"), std::string::npos) << o.text;
}

}  // namespace
}  // namespace tamzel::speech
