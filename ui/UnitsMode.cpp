// `tamzel --units TEXT [--user NAME] [--verbose]`: prints the unit string of an answer and
// its contour (space-separated numbers), for whoever tunes the voice and the dictionary.
// TEXT and NAME arrive as UTF-8; output is UTF-8. --verbose shows every step on stderr.
#include <cstdio>
#include <string>

#include "base/Codepage.h"
#include "speech/text/SpeechText.h"
#include "ui/Modes.h"

#if __has_include("profiles/ProfileStore.h")
#include "profiles/ProfileStore.h"
#define TAMZEL_UNITS_HAVE_PROFILES 1
#endif

namespace tamzel::ui {
namespace {

// UTF-8 to Windows-1250; a character without a Windows-1250 form becomes a space (which
// is what text preparation makes of any character it cannot speak), nothing else is lost.
std::string ToCp1250(const std::string& utf8) {
    std::string out, rest = utf8;
    for (;;) {
        size_t bad = 0;
        if (auto whole = base::FromUtf8(rest, &bad)) return out + *whole;
        out += base::FromUtf8(rest.substr(0, bad)).value_or("") + ' ';
        size_t next = bad + 1;
        while (next < rest.size() && (static_cast<unsigned char>(rest[next]) & 0xC0) == 0x80) ++next;
        rest.erase(0, next);
    }
}

// The pronunciation stored in the user's profile, or the name itself.
std::string PronunciationOf(const std::string& name) {
#ifdef TAMZEL_UNITS_HAVE_PROFILES
    profiles::ProfileStore store;
    auto data = store.ReadUserData(name);
    if (data) return data->pronunciation;
    std::fprintf(stderr, "Profil %s sa nedá načítať, výslovnosť mena je meno samo.\n",
                 base::ToUtf8(name).c_str());
#endif
    return name;
}

}  // namespace

int RunUnits(const CommandLine& cl) {
    speech::SpeechRequest rq;
    rq.text = ToCp1250(cl.Get("--units").value_or(""));
    if (auto user = cl.Get("--user")) {
        rq.userName = ToCp1250(*user);
        rq.userNamePronunciation = PronunciationOf(rq.userName);
    }
    if (cl.Has("--verbose")) {
        rq.onStep = [](std::string_view step, const std::string& text) {
            std::fprintf(stderr, "%-20s |%s|\n", std::string(step).c_str(), base::ToUtf8(text).c_str());
        };
    }
    base::Result<speech::PreparedSpeech> p = speech::PrepareSpeechText(rq);
    if (!p) {
        std::fprintf(stderr, "%s\n", base::ToUtf8(p.message()).c_str());
        return 1;
    }
    std::printf("%s\n", base::ToUtf8(p->unitString).c_str());
    std::string numbers;
    for (uint8_t v : p->contour) numbers += (numbers.empty() ? "" : " ") + std::to_string(v);
    std::printf("%s\n", numbers.c_str());
    return 0;
}

}  // namespace tamzel::ui
