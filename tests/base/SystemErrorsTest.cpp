// System errors reach the user as Slovak phrases; the English text of the system only with
// verbose messages on.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>

#include "base/Files.h"
#include "base/SystemErrors.h"

namespace tamzel::base {
namespace {

// Every error a file operation can meet has a phrase of its own: not the general one, not the
// system's English text, the same by number and by error code, and no two alike.
TEST(SystemErrors, EveryErrorFileOperationsMeetHasASlovakPhrase) {
    const int errors[] = {EACCES, EPERM,  ENOENT, ENOTDIR,      EISDIR, EEXIST, ENOSPC, EDQUOT,
                          EROFS,  ELOOP,  EMFILE, ENAMETOOLONG, EFBIG,  EIO,    EXDEV,  ENOMEM};
    SetVerboseErrors(false);
    std::set<std::string> seen;
    for (int error : errors) {
        const std::string phrase = ErrorPhrase(error);
        EXPECT_EQ(phrase.find("neznáma chyba"), std::string::npos) << std::strerror(error);
        EXPECT_EQ(phrase.find(std::strerror(error)), std::string::npos) << phrase;
        EXPECT_FALSE(phrase.empty()) << std::strerror(error);
        EXPECT_EQ(ErrorPhrase(std::error_code(error, std::generic_category())), phrase);
        EXPECT_EQ(ErrorPhrase(std::make_error_code(static_cast<std::errc>(error))), phrase);
        EXPECT_TRUE(seen.insert(phrase).second) << "two errors share \"" << phrase << "\"";
    }
    EXPECT_EQ(ErrorPhrase(ENOSPC), "disk je plný") << "the phrase a full disk shows";
    // A number no table holds still says in Slovak what it is.
    EXPECT_EQ(ErrorPhrase(9999), "neznáma chyba systému (číslo 9999)");
}

TEST(SystemErrors, VerboseAddsTheSystemsOwnText) {
    SetVerboseErrors(true);
    std::string verbose = ErrorPhrase(ENOSPC);
    SetVerboseErrors(false);
    EXPECT_EQ(verbose, std::string("disk je plný [") + std::strerror(ENOSPC) + "]");
    EXPECT_EQ(ErrorPhrase(ENOSPC), "disk je plný");
}

TEST(SystemErrors, AFailedWriteNamesTheReasonInSlovak) {
    const std::string folder = ::testing::TempDir() + "tamzel-errors";
    std::filesystem::create_directories(folder);
    const struct {
        std::string path;
        const char* slovak;
        int error;
    } cases[] = {
        {folder + "/" + std::string(300, 'x'), "názov súboru je príliš dlhý", ENAMETOOLONG},
        {folder + "/nie/je/tu", "súbor alebo priečinok neexistuje", ENOENT},
    };
    for (const auto& c : cases) {
        std::string message = WriteFileAtomically(c.path, "obsah").message();
        EXPECT_NE(message.find(c.slovak), std::string::npos) << message;
        EXPECT_EQ(message.find(std::strerror(c.error)), std::string::npos) << message;
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tamzel::base
