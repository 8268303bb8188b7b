#include "profiles/ConsoleSession.h"

#include "base/Codepage.h"
#include "profiles/ProfileNames.h"
#include "profiles/ProfileStore.h"
#include "profiles/StartChoice.h"

namespace tamzel::profiles {

std::string SignIn(engine::Engine& engine, std::string name, const std::string& root,
                   bool maleWhenNew) {
    if (name.empty()) name = LoginName();
    ProfileStore store(root);
    if (StoreResult list = store.EnsureUserList(); !list.ok) return base::ToUtf8(list.message);
    std::optional<std::string> listed = store.FindUser(name);
    if (!listed) {
        if (!IsValidName(name))
            return "Meno \"" + base::ToUtf8(name) +
                   "\" sa nedá použiť ako meno užívateľa (povolené sú písmená, číslice a "
                   "medzera). Zvoľ iné voľbou --user MENO.";
        StoreResult created = store.CreateProfile(name, name, maleWhenNew, true);
        if (!created.ok) return base::ToUtf8(created.message);
        listed = name;
    }
    auto profile = store.LoadSignIn(*listed);
    if (!profile) return base::ToUtf8(profile.error);
    // The folder name, not the name written inside user.dat, decides where the memory
    // lives; in an intact profile the two are the same.
    engine.UserName = *listed;
    engine.UserNamePronunciation = profile.value->data.pronunciation;
    engine.UserIsMale = profile.value->data.male;
    engine.Mood = profile.value->data.mood;
    return {};
}

std::string SignOut(const engine::Engine& engine, const std::string& root) {
    ProfileStore store(root);
    UserData current{engine.UserName, engine.UserNamePronunciation, engine.UserIsMale,
                     engine.Mood};
    StoreResult stored = store.StoreUserData(current);
    return stored.ok ? std::string() : base::ToUtf8(stored.message);
}

}  // namespace tamzel::profiles
