// A fresh program folder under the system's temporary folder, removed again at the end of
// the test, and helpers to read and snapshot the files below it.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "base/Files.h"
#include "base/Codepage.h"

namespace tamzel::profiles::testing {

class TestFolder {
public:
    TestFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tamzel-profiles-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TestFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

    // The content of a file below the folder; "<missing>" when it cannot be read.
    std::string Read(const std::string& relative) const {
        std::string text;
        return base::ReadWholeFile(path_ + "/" + relative, text) ? text : "<missing>";
    }
    void Write(const std::string& relative, const std::string& content) const {
        auto full = std::filesystem::path(path_) / relative;
        std::filesystem::create_directories(full.parent_path());
        ASSERT_TRUE(base::WriteFileAtomically(full.string(), content).ok());
    }
    // Every regular file below the folder with its content.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_)) {
            if (!entry.is_regular_file()) continue;
            auto relative = std::filesystem::relative(entry.path(), path_).string();
            files[relative] = Read(relative);
        }
        return files;
    }

private:
    std::string path_;
};

// A Windows-1250 text from UTF-8 test literals.

}  // namespace tamzel::profiles::testing
