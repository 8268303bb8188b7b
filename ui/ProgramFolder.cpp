#include "ui/ProgramFolder.h"

#include <filesystem>
#include <system_error>

#include "base/SystemErrors.h"

namespace tamzel::ui {

std::string ExecutableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

std::string EnterProgramFolder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
    if (ec)
        return "Priečinok programu \"" + folder + "\" sa nedá otvoriť: " +
               base::ErrorPhrase(ec) + ".";
    return {};
}

}  // namespace tamzel::ui
