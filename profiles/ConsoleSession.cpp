#include "profiles/ConsoleSession.h"

#include "base/Codepage.h"
#include "profiles/ProfileNames.h"
#include "profiles/ProfileStore.h"
#include "profiles/StartChoice.h"

namespace tamzel::profiles {

namespace {

base::Error Problem(const std::string& cp1250) {
    return base::Fail(base::ToUtf8(cp1250), base::Encoding::Utf8);
}

}  // namespace

base::Result<base::ProfileValues> SignIn(std::string name, const std::string& root,
                                         bool maleWhenNew) {
    if (name.empty()) name = LoginName();
    ProfileStore store(root);
    if (base::Status list = store.EnsureUserList(); !list.ok()) return Problem(list.message());
    std::optional<std::string> listed = store.FindUser(name);
    if (!listed) {
        if (!IsValidName(name))
            return base::Fail("Meno \"" + base::ToUtf8(name) +
                                  "\" sa nedá použiť ako meno užívateľa (povolené sú písmená, "
                                  "číslice a medzera). Zvoľ iné voľbou --user MENO.",
                              base::Encoding::Utf8);
        base::Status created = store.CreateProfile(name, name, maleWhenNew, true);
        if (!created.ok()) return Problem(created.message());
        listed = name;
    }
    auto profile = store.LoadSignIn(*listed);
    if (!profile) return Problem(profile.message());
    // The folder name, not the name written inside user.dat, decides where the memory
    // lives; in an intact profile the two are the same.
    const UserData& data = profile->data;
    return base::ProfileValues{*listed, data.pronunciation, data.male, data.mood};
}

base::Status SignOut(const base::ProfileValues& user, const std::string& root) {
    ProfileStore store(root);
    UserData current{user.name, user.pronunciation, user.male, user.mood};
    base::Status stored = store.StoreUserData(current);
    if (!stored.ok()) return Problem(stored.message());
    return base::Ok();
}

}  // namespace tamzel::profiles
