// One running program per program folder for every mode that writes profiles or memory
// (the console and the desktop program): the first start holds an exclusive lock on the
// file tamzel.lock in the program folder, a later one finds it held and does not start.
// The lock belongs to the open file, so the system drops it when the holder ends in any way
// (a kill, a crash); a lock file left behind never blocks a start. Its content (process
// number and mode) is only there for a curious reader; nothing decides by it.
#pragma once

#include <string>

namespace tamzel::ui {

class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    enum class Outcome {
        Held,        // this process holds the folder now
        Busy,        // another running program holds it
        Unavailable  // no lock file can be opened (a folder nobody may write)
    };
    // Takes the lock of the working folder for `mode` ("konzola", "okno"). When it is held,
    // the temporary files left by ended runs are removed.
    Outcome Acquire(const std::string& mode);

private:
    int fd_ = -1;
};

// "Tamzel už beží v tomto priečinku (FOLDER). Zavri ho a skús znova." (UTF-8).
std::string MessageAlreadyRunning(const std::string& folder);

// Exit code of a start refused because the folder is in use.
constexpr int kExitFolderInUse = 4;

// Removes the temporary files of ended runs from the folders the program writes in:
// users/, every users/_<name>/, ai/, zaznamy/, and build.txt's in the program folder.
// Returns how many were removed. Only for the holder of the folder lock.
int RemoveStaleTempFiles(const std::string& programFolder);

}  // namespace tamzel::ui
