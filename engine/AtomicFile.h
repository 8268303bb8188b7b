// Whole-file rewrites that never leave a half-written or missing file behind: the new
// content goes to a temporary file in the same folder, is flushed to disk and then renamed
// over the old file. Used for memory files, the user list and every profile file.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace tamzel::engine {

// Writes `content` to `path` atomically. Returns an empty text on success, otherwise a
// message naming the file (UTF-8 path, system reason).
std::string WriteFileAtomically(const std::string& path, const std::string& content);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& content);

// Reads a file of at most `maxBytes` bytes. Files from outside (themes, pictures) may be a
// device or huge; those are refused after reading one byte past the limit, never whole.
enum class BoundedRead { Ok, Unreadable, TooLarge };
BoundedRead ReadFileAtMost(const std::string& path, size_t maxBytes, std::string& content);

// Test seam: when set, called before each atomic write with the target path; returning a
// non-empty message makes the write fail with it (simulated full disk, read-only folder).
void SetWriteFaultInjector(std::function<std::string(const std::string& path)> injector);

}  // namespace tamzel::engine
