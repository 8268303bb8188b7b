// The profile store: creates, edits, deletes, loads and stores the profiles kept under
// users/ of the program folder. It shows nothing itself: every operation returns a result
// whose title and message (Slovak, Windows-1250) the calling window can show as they are.
//
//   ProfileStore store;                                  // the working folder
//   base::Status r = store.CreateProfile("J\xE1n", "J\xE1n", true, true);
//   if (!r) ShowMessageDialog(r.error().title, r.message());
//
// Every file is rewritten whole and atomically (temporary file, flush, rename), so a crash
// or kill at any moment leaves each file with either its old or its new content. A profile
// folder is "users/_" + the name in UTF-8. Names are checked before they reach a path, so
// no operation can touch anything outside users/.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "profiles/ProfileFiles.h"

namespace tamzel::profiles {

// What sign-in copies into the engine and the windows.
struct SignInProfile {
    UserData data;
    UserConfig config;
};

// The new stored mood: (current + 9 * stored) / 10, halves rounded to the even neighbour.
int32_t BlendMood(int32_t current, int32_t stored);

class ProfileStore {
public:
    // `root`: the program folder (the folder holding users/).
    explicit ProfileStore(std::string root = ".");

    // --- The user list ----------------------------------------------------------------
    // The names of users/user.lst in file order (empty lines left out). A missing list is an
    // empty one; `error` gets a message when the file exists but cannot be read.
    std::vector<std::string> ListUsers(std::string* error = nullptr) const;
    // Creates users/ and an empty users/user.lst when they are missing, and adds every
    // complete profile folder whose user the list lacks (a lost or damaged list).
    base::Status EnsureUserList();
    // The list repair alone: complete unlisted profile folders get their line back (in name
    // order, after the existing lines); their files are kept as they are.
    base::Status AdoptUnlistedProfiles();
    // The list line naming `name`: the exact line when there is one, else the first line
    // that is the same user.
    std::optional<std::string> FindUser(const std::string& name) const;

    // --- Creating, editing, deleting --------------------------------------------------
    // The registration checks in their order (empty name, empty pronunciation, characters,
    // and for a new profile the name already in use). `addressMale` picks the form of
    // address of the messages.
    base::Status CheckRegistration(const std::string& name, const std::string& pronunciation,
                                  bool addressMale, bool newProfile) const;
    // Writes the folder with user.dat (mood 0), user.cfg (new-user values) and user.mem
    // (empty memory), then appends the name to the list. A file already in the folder is
    // never overwritten; a complete unlisted folder of that user is adopted instead.
    base::Status CreateProfile(const std::string& name, const std::string& pronunciation,
                              bool male, bool addressMale);
    // Creates the profile of a login name (pronunciation = name, male) unless the name is
    // invalid or already a user. True when a profile was created.
    bool CreateProfileQuietly(const std::string& name);
    // Rewrites user.dat with the new identity and the mood it held. A new name moves the
    // folder (settings and memory go along) and replaces the old name's lines in the list,
    // keeping their places. Refused, with nothing written, when the new name is another
    // user's.
    base::Status EditProfile(const std::string& oldName, const std::string& newName,
                            const std::string& pronunciation, bool male, bool addressMale);
    // Removes every list line equal to `name` (exact comparison) and the profile's folder.
    base::Status DeleteProfile(const std::string& name);

    // --- Sign-in and shutdown -----------------------------------------------------------
    base::Result<UserData> ReadUserData(const std::string& name) const;
    base::Result<SignInProfile> LoadSignIn(const std::string& name) const;
    // users/tamzel.ini; defaults when it is missing.
    StartSettings ReadIni() const;
    base::Status WriteIni(const StartSettings& settings);
    base::Status WriteUserConfig(const std::string& name, const UserConfig& config);
    // Rewrites user.dat of `current.name` with the current identity and the mood blended
    // from `current.mood` and the stored one.
    base::Status StoreUserData(const UserData& current);
    // The whole shutdown write: tamzel.ini, user.cfg, user.dat. Each file is attempted;
    // the result reports the first failure.
    base::Status StoreAtShutdown(const StartSettings& settings, const UserData& current,
                                const UserConfig& config);

    // --- Paths ------------------------------------------------------------------------
    // File-system paths (UTF-8) below the root.
    std::string UsersFolder() const;
    std::string UserListPath() const;
    std::string FolderPath(const std::string& name) const;
    std::string FilePath(const std::string& name, const char* file) const;

private:
    // The file as named in messages (Windows-1250, relative to the program folder).
    std::string Label(const std::string& path) const;
    base::Result<std::vector<std::string>> ReadListLines() const;
    base::Status WriteList(const std::vector<std::string>& lines, const char* scratchName);
    base::Status Write(const std::string& path, const std::string& content);
    base::Status CheckStoredName(const std::string& name) const;
    bool IsCompleteProfile(const std::string& name) const;
    std::vector<std::string> ProfileFolderNames() const;
    base::Status MoveProfileFolder(const std::string& oldName, const std::string& newName);

    std::string root_;
};

}  // namespace tamzel::profiles
