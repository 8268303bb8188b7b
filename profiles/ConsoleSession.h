// Sign-in and sign-out of the terminal conversation, through the profile store, so that
// memory and mood survive between console runs just as they do in the window program.
//
//   auto user = SignIn(name);                 // name empty: the login name
//   if (user) engine.SetProfile(*user);
//   ... conversation ...
//   base::Status stored = SignOut(engine.Profile());  // user.dat with the blended mood
//
// Names are Windows-1250; failure messages are UTF-8 for the terminal. The working folder
// (or `root`) is the program folder.
#pragma once

#include <string>

#include "base/ProfileValues.h"
#include "base/Result.h"

namespace tamzel::profiles {

// Finds the user (the exact list line, else the same user in other letter case or without
// diacritics), creating the profile quietly when there is none, and reads user.dat. The
// name is the folder's (where the memory lives). `maleWhenNew` is the gender of a profile
// created here; an existing profile keeps the gender it was created with.
base::Result<base::ProfileValues> SignIn(std::string name, const std::string& root = ".",
                                         bool maleWhenNew = true);

// Rewrites the signed-in user's user.dat with the mood blended into the stored one.
base::Status SignOut(const base::ProfileValues& user, const std::string& root = ".");

}  // namespace tamzel::profiles
