#include "profiles/ProfileFiles.h"

#include <charconv>

#include "base/Lines.h"
#include "profiles/ProfileMessages.h"

namespace tamzel::profiles {
namespace {

struct Key {
    const char* text;
    size_t length() const { return std::char_traits<char>::length(text); }
};

constexpr Key kDataKeys[] = {{"meno="}, {"vyslovnost="}, {"pohlavie="}, {"nalada="}};
constexpr Key kConfigKeys[] = {{"zaznamy="}, {"rec="},       {"animacia="}, {"infobar="},
                               {"hlasitost="}, {"rychlost="}, {"intonacia="}};

// The value of line `index` (0 = header): the line without as many leading characters as
// the key is long. Nothing when the file has no such line.
std::optional<std::string> ValueAt(const std::vector<std::string>& lines, size_t index,
                                   const Key& key) {
    if (index >= lines.size()) return std::nullopt;
    const std::string& line = lines[index];
    return line.size() > key.length() ? line.substr(key.length()) : std::string();
}

// Reads the positional values of a keyed file into `values`; the error names the first
// missing line.
template <size_t N>
std::string ReadValues(const std::string& text, const Key (&keys)[N],
                       const std::string& fileLabel, std::string (&values)[N]) {
    std::vector<std::string> lines = base::SplitLines(text);
    for (size_t i = 0; i < N; ++i) {
        auto value = ValueAt(lines, i + 1, keys[i]);
        if (!value) return MessageMissingLine(fileLabel, static_cast<int>(i + 2), keys[i].text);
        values[i] = std::move(*value);
    }
    return {};
}

// An integer value of line `index` (0 = header) or the message naming that line.
bool ReadInteger(const std::string& value, size_t index, const std::string& fileLabel,
                 int32_t& out, std::string& error) {
    auto n = ParseInteger(value);
    if (!n) {
        error = MessageNotANumber(fileLabel, static_cast<int>(index + 1), value);
        return false;
    }
    out = *n;
    return true;
}

std::string OnOff(bool on) { return on ? "1" : "0"; }

}  // namespace

std::optional<int32_t> ParseInteger(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;  // from_chars takes '-' but not '+'
    if (first == last || *first == '+') return std::nullopt;
    int32_t value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last) return std::nullopt;
    return value;
}

std::string FormatUserData(const UserData& data) {
    return base::JoinLines({"[data]", "meno=" + data.name, "vyslovnost=" + data.pronunciation,
                      data.male ? "pohlavie=muz" : "pohlavie=zena",
                      "nalada=" + std::to_string(data.mood)});
}

base::Result<UserData> ParseUserData(const std::string& text, const std::string& fileLabel) {
    std::string values[4];
    std::string error = ReadValues(text, kDataKeys, fileLabel, values);
    if (!error.empty()) return base::Fail(error);
    UserData data;
    data.name = values[0];
    data.pronunciation = values[1];
    data.male = values[2] == "muz";
    if (!ReadInteger(values[3], 4, fileLabel, data.mood, error)) return base::Fail(error);
    return data;
}

std::string FormatUserConfig(const UserConfig& c) {
    return base::JoinLines({"[user]", "zaznamy=" + OnOff(c.records), "rec=" + OnOff(c.speech),
                      "animacia=" + OnOff(c.animation), "infobar=" + OnOff(c.infoBar),
                      "hlasitost=" + std::to_string(c.volume),
                      "rychlost=" + std::to_string(c.speed),
                      "intonacia=" + std::to_string(c.intonation)});
}

base::Result<UserConfig> ParseUserConfig(const std::string& text, const std::string& fileLabel) {
    std::string values[7];
    std::string error = ReadValues(text, kConfigKeys, fileLabel, values);
    if (!error.empty()) return base::Fail(error);
    UserConfig c;
    c.records = values[0] == "1";
    c.speech = values[1] == "1";
    c.animation = values[2] == "1";
    c.infoBar = values[3] == "1";
    int32_t* sliders[] = {&c.volume, &c.speed, &c.intonation};
    for (size_t i = 0; i < 3; ++i) {
        if (!ReadInteger(values[4 + i], 5 + i, fileLabel, *sliders[i], error))
            return base::Fail(error);
    }
    return c;
}

std::string FormatStartSettings(const StartSettings& s) {
    return base::JoinLines({"[tamzel]", "autolog=" + OnOff(s.autolog),
                      "last_user=" + s.lastUser.value_or(""), "theme=" + s.theme});
}

StartSettings ParseStartSettings(const std::string& text) {
    std::vector<std::string> lines = base::SplitLines(text);
    StartSettings s;
    if (auto v = ValueAt(lines, 1, {"autolog="})) s.autolog = *v == "1";
    if (auto v = ValueAt(lines, 2, {"last_user="})) s.lastUser = *v;
    if (auto v = ValueAt(lines, 3, {"theme="}); v && !v->empty()) s.theme = *v;
    return s;
}

std::string NewMemoryFile() { return base::JoinLines({"[DUZ]", "OBJECT(user)", "->", "<-"}); }

}  // namespace tamzel::profiles
