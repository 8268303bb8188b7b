#include "ui/ProgramTree.h"

#include <filesystem>
#include <unistd.h>

#include "base/SystemErrors.h"

namespace tamzel::ui {
namespace fs = std::filesystem;

namespace {

// The installation tree's folders; the executable itself is not copied.
const char* const kTreeFolders[] = {"ai", "files", "design", "help", "gorvin", "users", "zaznamy"};

// Copies one installed folder into the user's copy, keeping the files the copy has already.
// The folders are made anew rather than copied with their permissions: an installed folder
// may deny writing even to its owner, and the files could then not be copied into it.
void CopyFolder(const fs::path& from, const fs::path& to, std::error_code& ec) {
    fs::create_directories(to, ec);
    if (ec) return;
    fs::recursive_directory_iterator it(from, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        fs::path target = to / it->path().lexically_relative(from);
        if (it->is_directory(ec)) {
            fs::create_directories(target, ec);
        } else if (!ec) {
            fs::copy_file(it->path(), target, fs::copy_options::skip_existing, ec);
        }
    }
}

std::string CopyProblem(const std::string& target, const std::error_code& ec) {
    return "Kópiu programu v priečinku " + target + " sa nepodarilo vytvoriť: " +
           base::ErrorPhrase(ec) + ".";
}

}  // namespace

std::string UserTreeFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // A relative data home is no valid one and is ignored, as other programs do.
    if (xdg && *xdg == '/') return std::string(xdg) + "/tamzel";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.local/share/tamzel";
}

std::string WritableProgramFolder(const std::string& programFolder, std::string& error) {
    if (access(programFolder.c_str(), W_OK) == 0) return programFolder;
    std::string target = UserTreeFolder();
    std::error_code ec;
    if (fs::exists(fs::path(target) / "users", ec)) return target;
    fs::create_directories(target, ec);
    if (ec) {
        error = CopyProblem(target, ec);
        return programFolder;
    }
    for (const char* folder : kTreeFolders) {
        fs::path from = fs::path(programFolder) / folder;
        if (!fs::exists(from, ec)) continue;
        CopyFolder(from, fs::path(target) / folder, ec);
        if (ec) {
            error = CopyProblem(target, ec);
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
