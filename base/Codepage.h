// Conversion between the Windows-1250 bytes used everywhere inside Tamzel and UTF-8,
// which is what the terminal, Qt and the file system speak. Only the boundaries convert.
#pragma once

#include <optional>
#include <string>

namespace tamzel::base {

// Windows-1250 bytes to UTF-8. Every Windows-1250 byte has a Unicode form except a few
// undefined codes (0x81, 0x83, 0x88, 0x90, 0x98), which become U+FFFD.
std::string ToUtf8(const std::string& cp1250);

// UTF-8 to Windows-1250. Returns nothing when the text is not valid UTF-8 or holds a
// character without a Windows-1250 form; `badOffset` then gets the byte offset of the
// first offending character.
std::optional<std::string> FromUtf8(const std::string& utf8, size_t* badOffset = nullptr);

// Like FromUtf8, but characters without a Windows-1250 form become '?'; for messages and
// names, where losing one odd character is better than losing the text.
std::string FromUtf8Lossy(const std::string& utf8);

// A UTF-8 text written in our sources (a message, a test's expectation) in Windows-1250.
// Every such text has a Windows-1250 form; one without is a programming error, so the
// program stops and names the text instead of showing a damaged message.
std::string Cp1250(const std::string& utf8Literal);

// What the user typed, for the engine: a character without a Windows-1250 form (an emoji)
// becomes a blank. A "?" in its place would turn "Ahoj 😀" into a question.
std::string TypedFromUtf8(const std::string& utf8);

}  // namespace tamzel::base
