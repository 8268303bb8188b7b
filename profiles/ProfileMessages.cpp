#include "profiles/ProfileMessages.h"

#include "base/Codepage.h"

namespace tamzel::profiles {


std::string TitleAlert() { return "Pozor"; }
std::string TitleNotice() { return "Upozornenie"; }
std::string TitleInformation() { return Cp1250("Informácia"); }
std::string TitleConfirmation() { return "Potvrdenie"; }
std::string TitleError() { return "Chyba"; }

std::string MessageNameMissing(bool male) {
    return Cp1250(male ? "Neuviedol si svoje meno." : "Neuviedla si svoje meno.");
}

std::string MessagePronunciationMissing(bool male) {
    return Cp1250(male ? "Neuviedol si, ako mám vyslovovať tvoje meno."
                       : "Neuviedla si, ako mám vyslovovať tvoje meno.");
}

namespace {
const char* const kBadCharacterBefore = "V tvojom mene sa nachádza znak \"";
const char* const kBadCharacterAfter =
    "\". Tvoje meno však môže obsahovať len písmená slovenskej (resp. stredoeurópskej) abecedy.";
}  // namespace

std::string MessageBadCharacter(char offending) {
    return Cp1250(kBadCharacterBefore) + std::string(1, offending) + Cp1250(kBadCharacterAfter);
}

std::string MessageBadCharacterUtf8(const std::string& shownUtf8) {
    return kBadCharacterBefore + shownUtf8 + kBadCharacterAfter;
}

std::string MessageNameTaken() {
    return Cp1250("Užívateľ s tvojim menom už existuje. Zmeň si prosím svoje meno.");
}

std::string MessageChooseUser() { return Cp1250("Musíš zadať svoje meno."); }

std::string MessageFirstRunGreeting(const std::string& userName, bool male) {
    return Cp1250("Vitaj, ") + userName +
           Cp1250("! Tamzela spúšťaš po prvý raz. Pri rozhovore s ním by si mal") +
           (male ? "" : "a") +
           Cp1250(" za každou otázkou používať otáznik, písať spisovne a gramaticky správne. "
                  "Nemusíš používať diakritiku. Viac informácií nájdeš v dokumentácii programu."
                  " Prajem Ti veľa zábavy pri používaní programu Tamzel!");
}

std::string MessageChooseAccount(bool forDeleting, bool male) {
    std::string verb = forDeleting ? "vymazať" : "editovať";
    return Cp1250("Aby som vedel, ktorého užívateľa chceš " + verb +
                  ", potrebujem, aby si mi ho označil") +
           (male ? "" : "a") + Cp1250(" v zozname kont vľavo.");
}

std::string MessageCannotDeleteSignedIn() {
    return Cp1250("Nemôžeš vymazať konto užívateľa, ktoré práve používaš.");
}

std::string QuestionDeleteUser(const std::string& name) {
    return Cp1250("Určite si praješ vymazať užívateľa menom ") + name + "?";
}

std::string MessageMissingLine(const std::string& fileLabel, int line, const std::string& key) {
    return Cp1250("V súbore ") + fileLabel + Cp1250(" chýba riadok ") + std::to_string(line) +
           " (" + key + ").";
}

std::string MessageNotANumber(const std::string& fileLabel, int line, const std::string& value) {
    return Cp1250("V súbore ") + fileLabel + " na riadku " + std::to_string(line) +
           Cp1250(" má byť celé číslo, ale je tam \"") + value + "\".";
}

std::string MessageCannotRead(const std::string& fileLabel) {
    return Cp1250("Súbor ") + fileLabel + Cp1250(" sa nedá prečítať.");
}

std::string MessageInvalidStoredName(const std::string& name) {
    return Cp1250("Meno \"") + name +
           Cp1250("\" nie je platné meno užívateľa, jeho profil sa nedá použiť.");
}

std::string MessageNoSuchUser(const std::string& name) {
    return Cp1250("Užívateľ \"") + name + Cp1250("\" v zozname užívateľov nie je.");
}

}  // namespace tamzel::profiles
