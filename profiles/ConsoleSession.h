// Sign-in and sign-out of the terminal conversation, through the profile store, so that
// memory and mood survive between console runs just as they do in the window program.
//
//   std::string error = SignIn(engine, name);   // "" on success; name empty: login name
//   ... conversation ...
//   error = SignOut(engine);                     // stores user.dat with the blended mood
//
// Names are Windows-1250; the returned messages are UTF-8 for the terminal. The working
// folder (or `root`) is the program folder.
#pragma once

#include <string>

#include "engine/Engine.h"

namespace tamzel::profiles {

// Finds the user (the exact list line, else the same user in other letter case or without
// diacritics), creating the profile quietly when there is none, and loads user.dat into
// UserName, UserNamePronunciation, UserIsMale and Mood. `maleWhenNew` is the gender of a
// profile created here; an existing profile keeps the gender it was created with.
std::string SignIn(engine::Engine& engine, std::string name, const std::string& root = ".",
                   bool maleWhenNew = true);

// Rewrites the signed-in user's user.dat with the mood blended into the stored one.
std::string SignOut(const engine::Engine& engine, const std::string& root = ".");

}  // namespace tamzel::profiles
