// System errors reach the user as Slovak phrases; the English text of the system only with
// verbose messages on.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/Files.h"
#include "base/SystemErrors.h"

namespace tamzel::base {
namespace {

TEST(SystemErrors, EveryErrorFileOperationsMeetHasASlovakPhrase) {
    const struct {
        int error;
        const char* slovak;
    } cases[] = {
        {EACCES, "chýba oprávnenie"},
        {EPERM, "operácia nie je povolená"},
        {ENOENT, "súbor alebo priečinok neexistuje"},
        {ENOTDIR, "časť cesty nie je priečinok"},
        {EISDIR, "na mieste súboru je priečinok"},
        {EEXIST, "súbor už existuje"},
        {ENOSPC, "disk je plný"},
        {EDQUOT, "prekročená kvóta disku"},
        {EROFS, "disk je len na čítanie"},
        {ENAMETOOLONG, "názov súboru je príliš dlhý"},
        {ELOOP, "príliš veľa symbolických odkazov"},
        {EMFILE, "program má otvorených príliš veľa súborov"},
        {EFBIG, "súbor je príliš veľký"},
        {EIO, "chyba vstupu a výstupu"},
        {EXDEV, "súbor sa nedá presunúť na iný disk"},
        {ENOMEM, "nedostatok pamäte"},
    };
    SetVerboseErrors(false);
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorPhrase(c.error), c.slovak) << std::strerror(c.error);
        EXPECT_EQ(ErrorPhrase(std::error_code(c.error, std::generic_category())), c.slovak);
        EXPECT_EQ(ErrorPhrase(std::make_error_code(static_cast<std::errc>(c.error))), c.slovak);
    }
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
