// Helpers shared by the speech tests: Windows-1250 from readable UTF-8 literals, and a
// temporary folder with a dictionary file.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Files.h"
#include "base/Codepage.h"
#include "speech/text/Dictionary.h"

namespace tamzel::speech::test {

inline std::string U(const std::string& cp1250) { return base::ToUtf8(cp1250); }

// A fresh folder under the system's temporary folder, removed at the end of the test.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamzel-speech-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

    // Writes a dictionary from UTF-8 "key=value" lines and returns its path.
    std::string Dictionary(const std::vector<std::string>& utf8Lines) const {
        std::vector<std::string> lines;
        for (const auto& l : utf8Lines) lines.push_back(base::Cp1250(l));
        std::string path = File("slovnik.vox");
        EXPECT_TRUE(base::WriteFileAtomically(path, ScrambleFile(lines)).ok());
        return path;
    }

private:
    std::filesystem::path path_;
};

}  // namespace tamzel::speech::test
