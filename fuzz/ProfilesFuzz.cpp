// The profile readers on arbitrary user.dat, user.cfg, tamzel.ini and user.lst contents,
// and the store's sign-in over a profile folder holding them. What is read and then written
// again must read back the same (a parsed value is never changed by storing it).
//   line 1: a user name to look up; the rest: the content given to every reader
#include <cstdint>
#include <filesystem>

#include "fuzz/FuzzSupport.h"
#include "profiles/ProfileFiles.h"
#include "profiles/ProfileStore.h"

using namespace tamzel;
using namespace tamzel::profiles;

namespace {

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

void CheckUserData(const std::string& text) {
    auto parsed = ParseUserData(text, "user.dat");
    if (!parsed || HasLineBreak(parsed.value->name) || HasLineBreak(parsed.value->pronunciation)) return;
    auto again = ParseUserData(FormatUserData(*parsed.value), "user.dat");
    const UserData& a = *parsed.value;
    if (!again || again.value->name != a.name || again.value->pronunciation != a.pronunciation ||
        again.value->male != a.male || again.value->mood != a.mood)
        __builtin_trap();
}

void CheckUserConfig(const std::string& text) {
    auto parsed = ParseUserConfig(text, "user.cfg");
    if (!parsed) return;
    auto again = ParseUserConfig(FormatUserConfig(*parsed.value), "user.cfg");
    const UserConfig& a = *parsed.value;
    if (!again || again.value->records != a.records || again.value->speech != a.speech ||
        again.value->animation != a.animation || again.value->infoBar != a.infoBar ||
        again.value->volume != a.volume || again.value->speed != a.speed ||
        again.value->intonation != a.intonation)
        __builtin_trap();
}

void CheckStartSettings(const std::string& text) {
    // A missing last-user line and an empty one mean the same: nobody preselected.
    StartSettings s = ParseStartSettings(text);
    if ((s.lastUser && HasLineBreak(*s.lastUser)) || HasLineBreak(s.theme)) return;
    StartSettings again = ParseStartSettings(FormatStartSettings(s));
    if (again.autolog != s.autolog || again.lastUser.value_or("") != s.lastUser.value_or("") || again.theme != s.theme)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::UseProgramFolder();
    std::string all(reinterpret_cast<const char*>(data), size);
    size_t newline = all.find('\n');
    std::string name = all.substr(0, newline);
    std::string content = newline == std::string::npos ? "" : all.substr(newline + 1);
    CheckUserData(content);
    CheckUserConfig(content);
    CheckStartSettings(content);
    ParseInteger(name);

    fuzz::PutFile("users/user.lst", content);
    fuzz::PutFile("users/tamzel.ini", content);
    for (const char* file : {"user.dat", "user.cfg"})
        fuzz::PutFile(std::string("users/_Jan/") + file, content);
    ProfileStore store(".");
    std::string error;
    store.ListUsers(&error);
    store.FindUser(name);
    store.ReadIni();
    store.CheckRegistration(name, name, true, true);
    store.LoadSignIn("Jan");
    store.LoadSignIn(name);
    return 0;
}
