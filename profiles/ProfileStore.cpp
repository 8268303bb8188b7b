#include "profiles/ProfileStore.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>

#include "base/Files.h"
#include "base/Codepage.h"
#include "base/Lines.h"
#include "base/ProfilePaths.h"
#include "base/SystemErrors.h"
#include "profiles/ProfileMessages.h"
#include "profiles/ProfileNames.h"

namespace tamzel::profiles {
namespace fs = std::filesystem;
namespace {

constexpr const char* kUserData = "user.dat";
constexpr const char* kUserConfig = "user.cfg";
constexpr const char* kUserMemory = "user.mem";

base::Error Refusal(std::string title, std::string message) {
    return base::Fail(std::move(title), std::move(message), base::Encoding::Cp1250);
}

base::Error IoFailure(const std::string& utf8Message) {
    return Refusal(TitleError(), base::FromUtf8Lossy(utf8Message));
}

base::Error IoFailure(const std::string& utf8Message, const std::error_code& ec) {
    return IoFailure(utf8Message + ": " + base::ErrorPhrase(ec) + ".");
}

template <typename T>
base::Error ParseFailure(const base::Result<T>& parsed) {
    return Refusal(TitleError(), parsed.message());
}

// Floor division, so that the remainder is always 0..9.
int64_t FloorDiv10(int64_t n, int64_t& remainder) {
    int64_t q = n / 10;
    remainder = n % 10;
    if (remainder < 0) {
        remainder += 10;
        --q;
    }
    return q;
}

}  // namespace

int32_t BlendMood(int32_t current, int32_t stored) {
    int64_t remainder = 0;
    int64_t q = FloorDiv10(static_cast<int64_t>(current) + 9 * static_cast<int64_t>(stored),
                           remainder);
    if (remainder > 5 || (remainder == 5 && q % 2 != 0)) ++q;
    // Both inputs are int32, so the weighted mean is within int32 range as well.
    return static_cast<int32_t>(q);
}

ProfileStore::ProfileStore(std::string root) : root_(std::move(root)) {}

// --- Paths ------------------------------------------------------------------------------

std::string ProfileStore::UsersFolder() const { return root_ + "/users"; }
std::string ProfileStore::UserListPath() const { return UsersFolder() + "/user.lst"; }

std::string ProfileStore::FolderPath(const std::string& name) const {
    return root_ + "/" + base::ProfileFolder(name);
}

std::string ProfileStore::FilePath(const std::string& name, const char* file) const {
    return FolderPath(name) + "/" + file;
}

std::string ProfileStore::Label(const std::string& path) const {
    std::string relative = path;
    if (relative.rfind(root_ + "/", 0) == 0) relative.erase(0, root_.size() + 1);
    return base::FromUtf8Lossy(relative);
}

// --- Helpers ----------------------------------------------------------------------------

base::Status ProfileStore::Write(const std::string& path, const std::string& content) {
    base::Status written = base::WriteFileAtomically(path, content);
    return written ? base::Ok() : IoFailure(written.message());
}

base::Result<std::vector<std::string>> ProfileStore::ReadListLines() const {
    std::error_code ec;
    if (!fs::exists(UserListPath(), ec)) return std::vector<std::string>{};
    std::string text;
    if (!base::ReadWholeFile(UserListPath(), text))
        return base::Fail(MessageCannotRead(Label(UserListPath())));
    return base::SplitLines(text);
}

// The list is written completely under the scratch name first (when one is given), then
// renamed over users/user.lst, so the list is never missing or half written.
base::Status ProfileStore::WriteList(const std::vector<std::string>& lines,
                                    const char* scratchName) {
    if (!scratchName) return Write(UserListPath(), base::JoinLines(lines));
    std::string scratch = UsersFolder() + "/" + scratchName;
    base::Status written = Write(scratch, base::JoinLines(lines));
    if (!written.ok()) return written;
    std::error_code ec;
    fs::rename(scratch, UserListPath(), ec);
    if (ec) return IoFailure("Zoznam užívateľov sa nedá prepísať", ec);
    return base::Ok();
}

// A name read from the list or handed in by a window must be a valid name before it
// becomes part of a path.
base::Status ProfileStore::CheckStoredName(const std::string& name) const {
    if (IsValidName(name)) return base::Ok();
    return Refusal(TitleError(), MessageInvalidStoredName(name));
}

// --- The user list ----------------------------------------------------------------------

std::vector<std::string> ProfileStore::ListUsers(std::string* error) const {
    auto lines = ReadListLines();
    if (!lines) {
        if (error) *error = lines.message();
        return {};
    }
    std::vector<std::string> names;
    for (std::string& line : *lines)
        if (!line.empty()) names.push_back(std::move(line));
    return names;
}

base::Status ProfileStore::EnsureUserList() {
    std::error_code ec;
    fs::create_directories(UsersFolder(), ec);
    if (ec) return IoFailure("Priečinok users sa nedá vytvoriť", ec);
    if (!fs::exists(UserListPath(), ec))
        if (base::Status written = Write(UserListPath(), ""); !written.ok()) return written;
    return AdoptUnlistedProfiles();
}

// A profile folder is complete when its three files are there and user.dat and user.cfg
// read without a fault; only then does it hold a profile someone can sign in with.
bool ProfileStore::IsCompleteProfile(const std::string& name) const {
    std::string text;
    return base::ReadWholeFile(FilePath(name, kUserData), text) &&
           ParseUserData(text, "").ok() &&
           base::ReadWholeFile(FilePath(name, kUserConfig), text) &&
           ParseUserConfig(text, "").ok() &&
           base::ReadWholeFile(FilePath(name, kUserMemory), text);
}

// The valid user names of the profile folders below users/, in name order.
std::vector<std::string> ProfileStore::ProfileFolderNames() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(UsersFolder(), ec)) {
        std::string folder = entry.path().filename().string();
        if (folder.size() < 2 || folder[0] != '_' || !entry.is_directory(ec)) continue;
        std::optional<std::string> name = base::FromUtf8(folder.substr(1));
        // The folder must be the one this name leads to, or it belongs to no one.
        if (name && IsValidName(*name) && FolderPath(*name) == entry.path().string())
            names.push_back(*name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A lost or damaged list must not cost anyone a profile: a complete folder whose user the
// list lacks gets its line back, its files stay as they are.
base::Status ProfileStore::AdoptUnlistedProfiles() {
    auto lines = ReadListLines();
    if (!lines) return ParseFailure(lines);  // unreadable: better leave it than rewrite it
    std::vector<std::string> listed = *lines;
    bool adopted = false;
    for (const std::string& name : ProfileFolderNames()) {
        bool known = std::any_of(listed.begin(), listed.end(),
                                 [&](const std::string& line) { return SameUser(line, name); });
        if (known || !IsCompleteProfile(name)) continue;
        listed.push_back(name);
        adopted = true;
    }
    return adopted ? WriteList(listed, nullptr) : base::Ok();
}

std::optional<std::string> ProfileStore::FindUser(const std::string& name) const {
    std::vector<std::string> names = ListUsers();
    for (const std::string& line : names)
        if (line == name) return line;
    for (const std::string& line : names)
        if (SameUser(line, name)) return line;
    return std::nullopt;
}

// --- Creating, editing, deleting --------------------------------------------------------

base::Status ProfileStore::CheckRegistration(const std::string& name,
                                            const std::string& pronunciation, bool addressMale,
                                            bool newProfile) const {
    if (name.empty()) return Refusal(TitleAlert(), MessageNameMissing(addressMale));
    if (pronunciation.empty())
        return Refusal(TitleAlert(), MessagePronunciationMissing(addressMale));
    if (auto bad = FirstInvalidCharacter(name))
        return Refusal(TitleAlert(), MessageBadCharacter(*bad));
    if (!newProfile) return base::Ok();
    auto lines = ReadListLines();
    if (!lines) return ParseFailure(lines);
    for (const std::string& line : *lines)
        if (SameUser(line, name)) return Refusal(TitleNotice(), MessageNameTaken());
    return base::Ok();
}

// The profile's files come first and the list line last: a crash in between leaves an
// unlisted folder. Each file is created only where none is, so a folder left by an earlier
// run keeps what it holds (memory above all) and only gets the files it lacks.
base::Status ProfileStore::CreateProfile(const std::string& name,
                                        const std::string& pronunciation, bool male,
                                        bool addressMale) {
    if (base::Status repaired = EnsureUserList(); !repaired.ok()) return repaired;
    base::Status checked = CheckRegistration(name, pronunciation, addressMale, true);
    if (!checked.ok()) return checked;
    std::error_code ec;
    fs::create_directories(FolderPath(name), ec);
    if (ec) return IoFailure("Priečinok profilu sa nedá vytvoriť", ec);
    UserData data{name, pronunciation, male, 0};
    for (auto [file, content] : {std::pair{kUserData, FormatUserData(data)},
                                 std::pair{kUserConfig, FormatUserConfig(UserConfig{})},
                                 std::pair{kUserMemory, NewMemoryFile()}}) {
        std::string path = FilePath(name, file);
        int error = base::CreateFileExclusively(path, content);
        if (error != 0 && error != EEXIST)
            return IoFailure("Súbor \"" + path + "\" sa nedá vytvoriť: " +
                             base::ErrorPhrase(error) + ".");
    }
    auto lines = ReadListLines();
    if (!lines) return ParseFailure(lines);
    lines->push_back(name);
    return WriteList(*lines, nullptr);
}

bool ProfileStore::CreateProfileQuietly(const std::string& name) {
    return CreateProfile(name, name, true, true).ok();
}

base::Status ProfileStore::EditProfile(const std::string& oldName, const std::string& newName,
                                      const std::string& pronunciation, bool male,
                                      bool addressMale) {
    base::Status checked = CheckRegistration(newName, pronunciation, addressMale, false);
    if (!checked.ok()) return checked;
    if (base::Status stored = CheckStoredName(oldName); !stored.ok()) return stored;
    auto old = ReadUserData(oldName);
    if (!old) return ParseFailure(old);
    UserData data{newName, pronunciation, male, old->mood};
    if (newName == oldName) return Write(FilePath(newName, kUserData), FormatUserData(data));

    auto lines = ReadListLines();
    if (!lines) return ParseFailure(lines);
    bool listed = false;
    for (std::string& line : *lines) {
        if (line == oldName) {
            listed = true;
            line = newName;
        } else if (SameUser(line, newName)) {
            return Refusal(TitleNotice(), MessageNameTaken());
        }
    }
    if (!listed) return Refusal(TitleError(), MessageNoSuchUser(oldName));
    if (base::Status moved = MoveProfileFolder(oldName, newName); !moved.ok()) return moved;
    if (base::Status written = Write(FilePath(newName, kUserData), FormatUserData(data));
        !written.ok())
        return written;
    return WriteList(*lines, "changed_user.lst");
}

// Renaming the folder as a whole moves settings and memory in one step, and it is also
// right when the two names differ only in letter case on a file system that ignores case.
// Only a leftover folder of the new name (not in the list) makes us move file by file.
base::Status ProfileStore::MoveProfileFolder(const std::string& oldName,
                                            const std::string& newName) {
    std::string from = FolderPath(oldName), to = FolderPath(newName);
    std::error_code ec;
    if (!fs::exists(to, ec) || fs::equivalent(from, to, ec)) {
        fs::rename(from, to, ec);
        if (ec) return IoFailure("Priečinok profilu sa nedá premenovať", ec);
        return base::Ok();
    }
    for (const char* file : {kUserConfig, kUserMemory}) {
        fs::rename(from + "/" + file, to + "/" + file, ec);
        if (ec) return IoFailure("Súbor " + std::string(file) + " sa nedá presunúť", ec);
    }
    fs::remove(from + "/" + kUserData, ec);
    fs::remove(from, ec);  // stays when something else is left in it
    return base::Ok();
}

// The list loses its lines first, so an interrupted delete never leaves a listed user
// without a folder. A list line that is not a valid name is removed from the list but
// never used as a path.
base::Status ProfileStore::DeleteProfile(const std::string& name) {
    auto lines = ReadListLines();
    if (!lines) return ParseFailure(lines);
    std::vector<std::string> kept;
    for (std::string& line : *lines)
        if (line != name) kept.push_back(std::move(line));
    base::Status written = WriteList(kept, "user_stay.lst");
    if (!written.ok() || !IsValidName(name)) return written;
    std::error_code ec;
    for (const char* file : {kUserData, kUserMemory, kUserConfig})
        fs::remove(FilePath(name, file), ec);
    fs::remove(FolderPath(name), ec);  // stays when something else is left in it
    return base::Ok();
}

// --- Sign-in and shutdown ---------------------------------------------------------------

base::Result<UserData> ProfileStore::ReadUserData(const std::string& name) const {
    if (base::Status stored = CheckStoredName(name); !stored) return base::Fail(stored.message());
    std::string path = FilePath(name, kUserData), text;
    if (!base::ReadWholeFile(path, text)) return base::Fail(MessageCannotRead(Label(path)));
    return ParseUserData(text, Label(path));
}

base::Result<SignInProfile> ProfileStore::LoadSignIn(const std::string& name) const {
    auto data = ReadUserData(name);
    if (!data) return data.error();
    std::string path = FilePath(name, kUserConfig), text;
    if (!base::ReadWholeFile(path, text)) return base::Fail(MessageCannotRead(Label(path)));
    auto config = ParseUserConfig(text, Label(path));
    if (!config) return config.error();
    return SignInProfile{*data, *config};
}

StartSettings ProfileStore::ReadIni() const {
    std::string text;
    if (!base::ReadWholeFile(UsersFolder() + "/tamzel.ini", text)) return StartSettings{};
    return ParseStartSettings(text);
}

base::Status ProfileStore::WriteIni(const StartSettings& settings) {
    return Write(UsersFolder() + "/tamzel.ini", FormatStartSettings(settings));
}

base::Status ProfileStore::WriteUserConfig(const std::string& name, const UserConfig& config) {
    if (base::Status stored = CheckStoredName(name); !stored.ok()) return stored;
    return Write(FilePath(name, kUserConfig), FormatUserConfig(config));
}

base::Status ProfileStore::StoreUserData(const UserData& current) {
    auto stored = ReadUserData(current.name);
    if (!stored) return ParseFailure(stored);
    UserData data = current;
    data.mood = BlendMood(current.mood, stored->mood);
    return Write(FilePath(current.name, kUserData), FormatUserData(data));
}

base::Status ProfileStore::StoreAtShutdown(const StartSettings& settings, const UserData& current,
                                          const UserConfig& config) {
    base::Status results[] = {WriteIni(settings), WriteUserConfig(current.name, config),
                             StoreUserData(current)};
    for (const base::Status& r : results)
        if (!r.ok()) return r;
    return base::Ok();
}

}  // namespace tamzel::profiles
