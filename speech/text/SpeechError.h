// The one error type of speech text preparation and the voice pack: a file that is
// missing, unreadable or malformed. The message is Slovak (Windows-1250) and names the file.
#pragma once

#include <stdexcept>
#include <string>

namespace tamzel::speech {

class SpeechError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tamzel::speech
