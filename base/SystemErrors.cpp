#include "base/SystemErrors.h"

#include <cerrno>
#include <cstring>

#include "base/Codepage.h"

namespace tamzel::base {
namespace {

bool& Verbose() {
    static bool verbose = false;
    return verbose;
}

struct Phrase {
    int error;
    const char* slovak;
};

// The errors file operations meet; the rest share the general phrase.
const Phrase kPhrases[] = {
    {EACCES, "chýba oprávnenie"},
    {EPERM, "operácia nie je povolená"},
    {ENOENT, "súbor alebo priečinok neexistuje"},
    {ENOTDIR, "časť cesty nie je priečinok"},
    {EISDIR, "na mieste súboru je priečinok"},
    {EEXIST, "súbor už existuje"},
    {ENOTEMPTY, "priečinok nie je prázdny"},
    {ENOSPC, "disk je plný"},
    {EDQUOT, "prekročená kvóta disku"},
    {EROFS, "disk je len na čítanie"},
    {ENAMETOOLONG, "názov súboru je príliš dlhý"},
    {ELOOP, "príliš veľa symbolických odkazov"},
    {EMFILE, "program má otvorených príliš veľa súborov"},
    {ENFILE, "systém má otvorených príliš veľa súborov"},
    {EFBIG, "súbor je príliš veľký"},
    {EIO, "chyba vstupu a výstupu"},
    {EBUSY, "súbor alebo zariadenie sa práve používa"},
    {ETXTBSY, "súbor sa práve používa"},
    {EXDEV, "súbor sa nedá presunúť na iný disk"},
    {EINVAL, "neplatný argument"},
    {ENOMEM, "nedostatok pamäte"},
    {EAGAIN, "prostriedok je dočasne nedostupný"},
    {EINTR, "operácia bola prerušená"},
    {ENODEV, "zariadenie neexistuje"},
    {ENXIO, "zariadenie neexistuje"},
    {EBADF, "neplatný popisovač súboru"},
    {ESTALE, "sieťový súbor už neplatí"},
    {ENOTSUP, "operácia nie je podporovaná"},
    {EMLINK, "príliš veľa odkazov"},
    {EWOULDBLOCK, "prostriedok je dočasne nedostupný"},
};

std::string General(int errorNumber) {
    return "neznáma chyba systému (číslo " + std::to_string(errorNumber) + ")";
}

std::string WithDetail(std::string phrase, const std::string& english) {
    if (Verbose() && !english.empty()) phrase += " [" + english + "]";
    return phrase;
}

}  // namespace

std::string ErrorPhrase(int errorNumber) {
    for (const Phrase& p : kPhrases)
        if (p.error == errorNumber) return WithDetail(p.slovak, std::strerror(errorNumber));
    return WithDetail(General(errorNumber), std::strerror(errorNumber));
}

std::string ErrorPhrase(const std::error_code& code) {
    if (!code) return WithDetail("bez chyby", "");
    if (code.category() == std::generic_category() || code.category() == std::system_category())
        return ErrorPhrase(code.value());
    return WithDetail(General(code.value()), code.message());
}

std::string ErrorPhrase1250(int errorNumber) { return FromUtf8Lossy(ErrorPhrase(errorNumber)); }

std::string ErrorPhrase1250(const std::error_code& code) {
    return FromUtf8Lossy(ErrorPhrase(code));
}

void SetVerboseErrors(bool on) { Verbose() = on; }

}  // namespace tamzel::base
