// Whole-file rewrites that never leave a half-written or missing file behind: the new
// content goes to a temporary file, is flushed to disk and then renamed over the old file.
// Used for memory files, the user list and every profile file.
//
// Temporary files are named <file>.tmp<pid>-<n> and created exclusively, so two processes
// (or two writes of one process) never share one. A kill before the rename leaves such a
// file behind; RemoveStaleTempFiles clears them at the next start.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "base/Result.h"

namespace tamzel::base {

// Writes `content` to `path` atomically. On failure the message (UTF-8) names the file and
// says why in Slovak.
Status WriteFileAtomically(const std::string& path, const std::string& content);

// Writes `content` to a new temporary file named after `tempBase` and renames it to
// `target`. Returns 0 or the system's error number; the temporary file never stays.
int WriteThroughTemp(const std::string& tempBase, const std::string& target,
                     const std::string& content);

// Creates `path` with `content` only when no file of that name exists; the file appears
// complete or not at all. Returns 0, EEXIST when a file was there (left untouched), or the
// system's error number.
int CreateFileExclusively(const std::string& path, const std::string& content);

// Whether `fileName` (no folder) is a temporary file of WriteThroughTemp, or of the
// earlier naming <file>.tmp<pid>; `base` is then the file it was meant to become.
bool IsTempFileName(const std::string& fileName, std::string* base = nullptr);

// Removes the temporary files in `folder` (not below it) whose base `wanted` accepts.
// Only the process that holds the program folder's lock may call it: another instance's
// temporary file would go. Returns how many went.
int RemoveStaleTempFiles(const std::string& folder,
                         const std::function<bool(const std::string& base)>& wanted);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& content);

// Reads a file of at most `maxBytes` bytes. Files from outside (themes, pictures) may be a
// device or huge; those are refused after reading one byte past the limit, never whole.
enum class BoundedRead { Ok, Unreadable, TooLarge };
BoundedRead ReadFileAtMost(const std::string& path, size_t maxBytes, std::string& content);

// Test seam for every write above (memory files, profiles, records alike): when set, it is
// called with the target path before the write; a non-zero system error number (ENOSPC for a
// full disk, EROFS for a read-only one) makes the write fail with it, the file untouched.
void SetWriteFaultInjector(std::function<int(const std::string& path)> injector);

}  // namespace tamzel::base
