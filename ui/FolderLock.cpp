#include "ui/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "base/Files.h"

namespace tamzel::ui {
namespace {

constexpr char kLockFile[] = "tamzel.lock";

// The files the program rewrites through temporary files, by folder.
const std::set<std::string> kUsersFiles = {"user.lst", "tamzel.ini", "changed_user.lst",
                                           "user_stay.lst"};
const std::set<std::string> kProfileFiles = {"user.dat", "user.cfg", "user.mem"};
const std::set<std::string> kRecordFiles = {"zaznamy.htm", "zaznamy.txt", "report.txt"};
const std::set<std::string> kRootFiles = {"build.txt"};
// The memory scratch files; ai/help.mem itself was the single scratch file of earlier
// releases and holds nothing between changes.
constexpr char kScratchBase[] = "help.mem";

int OpenLockFile() {
    int fd = ::open(kLockFile, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    // A lock file this user may not write can still be locked for reading.
    if (fd < 0) fd = ::open(kLockFile, O_RDONLY | O_CLOEXEC);
    return fd;
}

void NoteHolder(int fd, const std::string& mode) {
    std::string note = std::to_string(::getpid()) + " " + mode + "\n";
    if (::ftruncate(fd, 0) != 0) return;
    ssize_t written = ::pwrite(fd, note.data(), note.size(), 0);
    (void)written;  // the note is informative only
}

int RemoveIn(const std::string& folder, const std::set<std::string>& bases) {
    return base::RemoveStaleTempFiles(
        folder, [&](const std::string& base) { return bases.count(base) > 0; });
}

}  // namespace

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
}

FolderLock::Outcome FolderLock::Acquire(const std::string& mode) {
    if (fd_ >= 0) return Outcome::Held;
    int fd = OpenLockFile();
    if (fd < 0) return Outcome::Unavailable;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        ::close(fd);
        return errno == EWOULDBLOCK ? Outcome::Busy : Outcome::Unavailable;
    }
    fd_ = fd;
    NoteHolder(fd_, mode);
    RemoveStaleTempFiles(".");
    return Outcome::Held;
}

std::string MessageAlreadyRunning(const std::string& folder) {
    return "Tamzel už beží v tomto priečinku (" + folder + "). Zavri ho a skús znova.";
}

int RemoveStaleTempFiles(const std::string& programFolder) {
    namespace fs = std::filesystem;
    const std::string users = programFolder + "/users";
    int removed = RemoveIn(users, kUsersFiles) +
                  RemoveIn(programFolder + "/zaznamy", kRecordFiles) +
                  RemoveIn(programFolder, kRootFiles);
    removed += base::RemoveStaleTempFiles(programFolder + "/ai", [](const std::string& base) {
        return base == kScratchBase;
    });
    std::error_code ec;
    if (fs::remove(programFolder + "/ai/" + kScratchBase, ec)) ++removed;
    for (const auto& entry : fs::directory_iterator(users, ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() > 1 && name[0] == '_' && entry.is_directory(ec))
            removed += RemoveIn(entry.path().string(), kProfileFiles);
    }
    return removed;
}

}  // namespace tamzel::ui
