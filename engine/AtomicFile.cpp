#include "engine/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

namespace tamzel::engine {
namespace {

std::function<std::string(const std::string&)>& Injector() {
    static std::function<std::string(const std::string&)> injector;
    return injector;
}

std::string Failure(const std::string& path, int error) {
    return "Súbor \"" + path + "\" sa nedá zapísať: " + std::strerror(error);
}

// Writes all bytes to fd, retrying short writes.
bool WriteAll(int fd, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

void SetWriteFaultInjector(std::function<std::string(const std::string&)> injector) {
    Injector() = std::move(injector);
}

std::string WriteFileAtomically(const std::string& path, const std::string& content) {
    if (Injector()) {
        std::string injected = Injector()(path);
        if (!injected.empty()) return injected;
    }
    std::string temp = path + ".tmp" + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Failure(path, errno);
    bool ok = WriteAll(fd, content) && ::fsync(fd) == 0;
    int error = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return {};
    if (ok) error = errno;
    ::unlink(temp.c_str());
    return Failure(path, error ? error : EIO);
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

}  // namespace tamzel::engine
