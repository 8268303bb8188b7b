// The profile files as values: users/user.lst, users/tamzel.ini and the user.dat, user.cfg
// and user.mem of a profile folder. Formatting and parsing only, no file access.
//
// All texts are Windows-1250 bytes; lines end with CR LF when written. Reading is by line
// position: the header line is skipped and each following line loses as many leading
// characters as its key is long, whatever those characters are. Missing lines and numbers
// that do not parse are reported as a Slovak message naming the file and the line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/ProfileValues.h"
#include "base/Result.h"

namespace tamzel::profiles {

// user.dat: identity and the stored mood, the values the engine and the windows share.
using UserData = base::ProfileValues;

// user.cfg: display switches and the three speech slider positions.
struct UserConfig {
    bool records = true;
    bool speech = true;
    bool animation = true;
    bool infoBar = true;
    int32_t volume = 10;
    int32_t speed = 65;
    int32_t intonation = 3;
};

// users/tamzel.ini: the program-wide start settings.
struct StartSettings {
    bool autolog = true;
    std::optional<std::string> lastUser;  // nothing: no preselected user
    std::string theme = "design/interface.thm";
};

// Parsing gives the value, or the reason it could not be read: Slovak (Windows-1250),
// naming the file and the line.

// `fileLabel` is the file's name as shown in messages (Windows-1250).
std::string FormatUserData(const UserData& data);
base::Result<UserData> ParseUserData(const std::string& text, const std::string& fileLabel);

std::string FormatUserConfig(const UserConfig& config);
base::Result<UserConfig> ParseUserConfig(const std::string& text, const std::string& fileLabel);

// Lines that are missing fall back to the defaults of StartSettings.
std::string FormatStartSettings(const StartSettings& settings);
StartSettings ParseStartSettings(const std::string& text);

// The empty memory of a new profile.
std::string NewMemoryFile();

// Parses a signed decimal 32-bit integer (an optional sign and at least one digit, nothing
// else); nothing when the text is anything else or out of range.
std::optional<int32_t> ParseInteger(const std::string& text);

}  // namespace tamzel::profiles
