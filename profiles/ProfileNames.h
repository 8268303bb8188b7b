// User names. A name is also the name of its profile folder, so only a fixed set of
// characters is allowed: space, digits, A-Z, a-z and the Slovak and central-European
// letters (Windows-1250). Nothing in that set can lead out of the users folder.
// Two names belong to the same user when they are equal after folding the diacritics and
// upper-casing A-Z: "J\xE1n", "jan" and "JAN" are one user, "Jan2" another.
#pragma once

#include <optional>
#include <string>

namespace tamzel::profiles {

// True for a character of the user-name set.
bool IsNameCharacter(char c);

// The first character of `name` outside the set; nothing when all pass. An empty name has
// no offending character (it is refused for being empty).
std::optional<char> FirstInvalidCharacter(const std::string& name);

// Not empty and made of allowed characters only.
bool IsValidName(const std::string& name);

// The comparison key of a name: diacritics folded to plain lower-case letters, then A-Z
// upper-cased.
std::string NameKey(const std::string& name);

bool SameUser(const std::string& a, const std::string& b);

}  // namespace tamzel::profiles
