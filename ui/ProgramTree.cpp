#include "ui/ProgramTree.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "base/Files.h"
#include "base/SystemErrors.h"

namespace tamzel::ui {
namespace fs = std::filesystem;

namespace {

// The installation tree's folders; the executable itself is not copied.
const char* const kTreeFolders[] = {"ai", "files", "design", "help", "gorvin", "users", "zaznamy"};

// Copies one file unless the copy has it already (the user's, or an earlier start's). The
// file goes through a temporary file renamed into place, so the copy never holds half of
// one: whatever a killed start leaves is either whole or a temporary file.
void CopyFile(const fs::path& from, const fs::path& to, std::error_code& ec) {
    if (fs::exists(to, ec) || ec) return;
    std::string content;
    errno = 0;
    if (!base::ReadWholeFile(from.string(), content)) {
        ec = std::error_code(errno ? errno : EIO, std::generic_category());
        return;
    }
    if (int error = base::WriteThroughTemp(to.string(), to.string(), content); error != 0)
        ec = std::error_code(error, std::generic_category());
}

// Copies one installed folder into the user's copy, keeping the files the copy has already.
// The folders are made anew rather than copied with their permissions: an installed folder
// may deny writing even to its owner, and the files could then not be copied into it.
void CopyFolder(const fs::path& from, const fs::path& to, std::error_code& ec) {
    fs::create_directories(to, ec);
    if (ec) return;
    fs::recursive_directory_iterator it(from, ec), end;
    // The step to the next entry would clear a failure of this one, so it ends the loop.
    for (; !ec && it != end; it.increment(ec)) {
        fs::path target = to / it->path().lexically_relative(from);
        if (it->is_directory(ec)) {
            fs::create_directories(target, ec);
        } else if (!ec) {
            CopyFile(it->path(), target, ec);
        }
        if (ec) return;
    }
}

// Temporary files of a start that was killed while copying.
void RemoveTempFiles(const fs::path& copy, std::error_code& ec) {
    std::vector<fs::path> temporary;
    fs::recursive_directory_iterator it(copy, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        if (base::IsTempFileName(it->path().filename().string())) temporary.push_back(it->path());
    }
    for (const auto& path : temporary) fs::remove(path, ec);
}

void MarkComplete(const fs::path& copy, const std::string& programFolder, std::error_code& ec) {
    int error = base::CreateFileExclusively((copy / kCompleteMark).string(), programFolder + "\n");
    // Another start that finished the same copy at the same time marked it already.
    if (error != 0 && error != EEXIST) ec = std::error_code(error, std::generic_category());
}

std::string CopyProblem(const std::string& target, const std::error_code& ec) {
    return "Kópiu programu v priečinku " + target + " sa nepodarilo vytvoriť: " +
           base::ErrorPhrase(ec) + ".";
}

// Copies what the user's copy lacks; an empty text or the Slovak message of the failure.
std::string CompleteCopy(const std::string& programFolder, const fs::path& target) {
    std::error_code ec;
    fs::create_directories(target, ec);
    if (!ec) RemoveTempFiles(target, ec);
    for (const char* folder : kTreeFolders) {
        if (ec) break;
        fs::path from = fs::path(programFolder) / folder;
        if (fs::exists(from, ec)) CopyFolder(from, target / folder, ec);
    }
    if (!ec) MarkComplete(target, programFolder, ec);
    return ec ? CopyProblem(target.string(), ec) : std::string();
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
    if (fs::exists(fs::path(target) / kCompleteMark, ec)) return target;
    error = CompleteCopy(programFolder, target);
    return error.empty() ? target : programFolder;
}

}  // namespace tamzel::ui
