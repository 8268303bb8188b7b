// The writable program folder of an installed copy: when the folder the program runs from
// cannot be written (installed under /usr), the first start copies its tree to
// $XDG_DATA_HOME/tamzel (default ~/.local/share/tamzel) and the program runs from there.
// A start that ends half way (killed, disk full) leaves no half file behind; the next start
// completes the copy and only then uses it.
#pragma once

#include <string>

namespace tamzel::ui {

// The file that a finished copy holds (the installed folder it came from); a copy without
// it is completed by the next start before the program uses it.
inline constexpr const char* kCompleteMark = ".tamzel-kopia";

// The per-user folder: $XDG_DATA_HOME/tamzel or $HOME/.local/share/tamzel (also when
// $XDG_DATA_HOME is not an absolute path).
std::string UserTreeFolder();

// Returns the folder to run from (UTF-8): `programFolder` when it is writable, else the
// per-user copy, created or completed from `programFolder` when not finished. `error` gets
// a Slovak message when the copy fails; the program folder is returned then.
std::string WritableProgramFolder(const std::string& programFolder, std::string& error);

}  // namespace tamzel::ui
