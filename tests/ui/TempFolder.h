// A fresh temporary program folder made the working folder for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

namespace tamzel::ui::testing {

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/tamzel-ui-XXXXXX";
        path_ = mkdtemp(pattern);
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }
    ~TempFolder() {
        std::filesystem::current_path(old_);
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }
    void MakeFolder(const std::string& name) const { std::filesystem::create_directories(name); }

private:
    std::string path_;
    std::filesystem::path old_;
};

}  // namespace tamzel::ui::testing
