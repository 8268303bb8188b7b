#include "ui/ProgramTree.h"

#include <filesystem>
#include <unistd.h>

#include "base/SystemErrors.h"

namespace tamzel::ui {
namespace fs = std::filesystem;

namespace {

// The installation tree's folders; the executable itself is not copied.
const char* const kTreeFolders[] = {"ai", "files", "design", "help", "gorvin", "users", "zaznamy"};

}  // namespace

std::string UserTreeFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) return std::string(xdg) + "/tamzel";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.local/share/tamzel";
}

std::string WritableProgramFolder(const std::string& programFolder, std::string& error) {
    if (access(programFolder.c_str(), W_OK) == 0) return programFolder;
    std::string target = UserTreeFolder();
    std::error_code ec;
    if (fs::exists(fs::path(target) / "users", ec)) return target;
    fs::create_directories(target, ec);
    for (const char* folder : kTreeFolders) {
        fs::path from = fs::path(programFolder) / folder;
        if (!fs::exists(from, ec)) continue;
        fs::copy(from, fs::path(target) / folder,
                 fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
        if (ec) {
            error = "Kópiu programu v priečinku " + target + " sa nepodarilo vytvoriť: " +
                    base::ErrorPhrase(ec) + ".";
            return programFolder;
        }
    }
    // Installed files are read-only; the copy must be writable by its owner.
    for (auto& entry : fs::recursive_directory_iterator(target, ec)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
    }
    return target;
}

}  // namespace tamzel::ui
