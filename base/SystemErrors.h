// Why a file operation failed, in Slovak words a user understands. The operating system's
// own texts ("Permission denied", "No space left on device") are English; every message
// that names a system error takes its phrase from here instead. The English text is added
// only when verbose messages are on (console --verbose), for someone chasing the cause.
#pragma once

#include <string>
#include <system_error>

namespace tamzel::base {

// The Slovak phrase (UTF-8) for a system error number, e.g. EACCES -> "chýba oprávnenie".
// Unknown numbers get a general phrase with the number.
std::string ErrorPhrase(int errorNumber);
// The same for an error code of the standard library (std::filesystem, std::system_error).
std::string ErrorPhrase(const std::error_code& code);

// The phrase in Windows-1250, for messages of the engine and the profile store.
std::string ErrorPhrase1250(int errorNumber);
std::string ErrorPhrase1250(const std::error_code& code);

// With verbose messages on, each phrase is followed by the system's own text in brackets.
void SetVerboseErrors(bool on);

}  // namespace tamzel::base
