// The Slovak texts of the profile windows and of the store's own errors, in Windows-1250.
// The windows show these as they are; choosing the text (and the male or female form of
// address) is done here so that every window words the same situation the same way.
#pragma once

#include <string>

#include "base/Codepage.h"

namespace tamzel::profiles {

// The profile windows and messages write their texts in UTF-8 and show them in Windows-1250.
using base::Cp1250;

// Titles of the message dialog.
std::string TitleAlert();        // "Pozor"
std::string TitleNotice();       // "Upozornenie"
std::string TitleInformation();  // "Informácia"
std::string TitleConfirmation(); // "Potvrdenie"
std::string TitleError();        // "Chyba"

// Registration checks, in the order the registration window applies them.
std::string MessageNameMissing(bool male);
std::string MessagePronunciationMissing(bool male);
std::string MessageBadCharacter(char offending);
// The same refusal in UTF-8, for a character that has no Windows-1250 form (an emoji).
std::string MessageBadCharacterUtf8(const std::string& shownUtf8);
std::string MessageNameTaken();

// Sign-in and the settings window.
std::string MessageChooseUser();
std::string MessageFirstRunGreeting(const std::string& userName, bool male);
std::string MessageChooseAccount(bool forDeleting, bool male);
std::string MessageCannotDeleteSignedIn();
std::string QuestionDeleteUser(const std::string& name);

// The store's own errors (file problems and damaged profile files).
std::string MessageMissingLine(const std::string& fileLabel, int line, const std::string& key);
std::string MessageNotANumber(const std::string& fileLabel, int line, const std::string& value);
std::string MessageCannotRead(const std::string& fileLabel);
std::string MessageInvalidStoredName(const std::string& name);
std::string MessageNoSuchUser(const std::string& name);

}  // namespace tamzel::profiles
