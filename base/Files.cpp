#include "base/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "base/SystemErrors.h"

namespace tamzel::base {
namespace {

constexpr char kTempMark[] = ".tmp";
constexpr int kTempAttempts = 100;

std::function<int(const std::string&)>& Injector() {
    static std::function<int(const std::string&)> injector;
    return injector;
}

int InjectedFault(const std::string& path) { return Injector() ? Injector()(path) : 0; }

Error Failure(const std::string& path, int error) {
    return Fail("Súbor \"" + path + "\" sa nedá zapísať: " + ErrorPhrase(error),
                Encoding::Utf8);
}

// Writes all bytes to fd, retrying short writes.
bool WriteAll(int fd, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Opens a new file <base>.tmp<pid>-<n> that no one else has; -1 with errno on failure.
int OpenUniqueTemp(const std::string& base, std::string& temp) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
        temp = base + kTempMark + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Writes `content` to the new file `fd` at `path`, flushes and closes it; on failure the
// file goes again. 0 or the error number.
int FillNewFile(int fd, const std::string& path, const std::string& content) {
    int error = WriteAll(fd, content) ? 0 : errno;
    if (error == 0 && ::fdatasync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) ::unlink(path.c_str());
    return error;
}

// A complete, flushed temporary copy of `content`; 0 or the error number.
int WriteTemp(const std::string& base, const std::string& content, std::string& temp) {
    int fd = OpenUniqueTemp(base, temp);
    if (fd < 0) return errno;
    return FillNewFile(fd, temp, content);
}

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// A file system without hard links cannot create exclusively through a link; O_EXCL on
// the file itself still refuses to overwrite, at the price of atomicity.
int CreateDirectlyExclusive(const std::string& path, const std::string& content) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    return FillNewFile(fd, path, content);
}

}  // namespace

void SetWriteFaultInjector(std::function<int(const std::string&)> injector) {
    Injector() = std::move(injector);
}

int WriteThroughTemp(const std::string& tempBase, const std::string& target,
                     const std::string& content) {
    if (int injected = InjectedFault(target); injected != 0) return injected;
    std::string temp;
    if (int error = WriteTemp(tempBase, content, temp); error != 0) return error;
    if (::rename(temp.c_str(), target.c_str()) == 0) return 0;
    int error = errno;
    ::unlink(temp.c_str());
    return error;
}

Status WriteFileAtomically(const std::string& path, const std::string& content) {
    int error = WriteThroughTemp(path, path, content);
    if (error != 0) return Failure(path, error);
    return Ok();
}

int CreateFileExclusively(const std::string& path, const std::string& content) {
    if (int injected = InjectedFault(path); injected != 0) return injected;
    std::string temp;
    if (int error = WriteTemp(path, content, temp); error != 0) return error;
    int error = ::link(temp.c_str(), path.c_str()) == 0 ? 0 : errno;
    ::unlink(temp.c_str());
    if (error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EMLINK)
        return CreateDirectlyExclusive(path, content);
    return error;
}

bool IsTempFileName(const std::string& fileName, std::string* base) {
    size_t mark = fileName.rfind(kTempMark);
    if (mark == std::string::npos || mark == 0) return false;
    std::string tail = fileName.substr(mark + sizeof kTempMark - 1);
    size_t dash = tail.find('-');
    bool ours = false;
    if (tail.empty()) ours = true;  // "<file>.tmp" alone was the memory file's own fallback
    else if (dash == std::string::npos) ours = AllDigits(tail);
    else ours = AllDigits(tail.substr(0, dash)) && AllDigits(tail.substr(dash + 1));
    if (ours && base) *base = fileName.substr(0, mark);
    return ours;
}

int RemoveStaleTempFiles(const std::string& folder,
                         const std::function<bool(const std::string& base)>& wanted) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name, base;
        if (!IsTempFileName(name, &base) || !wanted(base)) continue;
        std::string path = folder + "/" + name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::unlink(path.c_str()) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

bool ReadWholeFile(const std::string& path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return false;
    content = buffer.str();
    return true;
}

BoundedRead ReadFileAtMost(const std::string& path, size_t maxBytes, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return BoundedRead::Unreadable;
    std::string bytes(maxBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return BoundedRead::Unreadable;
    size_t got = static_cast<size_t>(in.gcount());
    if (got > maxBytes) return BoundedRead::TooLarge;
    bytes.resize(got);
    content = std::move(bytes);
    return BoundedRead::Ok;
}

}  // namespace tamzel::base
