// The writable program folder of an installed copy: when the folder the program runs from
// cannot be written (installed under /usr), the first start copies its tree to
// $XDG_DATA_HOME/tamzel (default ~/.local/share/tamzel) and the program runs from there.
#pragma once

#include <string>

namespace tamzel::ui {

// The per-user folder: $XDG_DATA_HOME/tamzel or $HOME/.local/share/tamzel (also when
// $XDG_DATA_HOME is not an absolute path).
std::string UserTreeFolder();

// Returns the folder to run from (UTF-8): `programFolder` when it is writable, else the
// per-user copy, created from `programFolder` when missing. `error` gets a Slovak message
// when the copy fails; the program folder is returned then.
std::string WritableProgramFolder(const std::string& programFolder, std::string& error);

}  // namespace tamzel::ui
