// The one error type of speech text preparation and the voice pack: a file that is
// missing, unreadable or malformed. The message is Slovak (Windows-1250) and names the file.
// It stays inside the speech library: the operations callers use (SpeechOutput,
// FaceAnimator) turn it, and the sound output's errors, into a base::Status.
#pragma once

#include <stdexcept>
#include <string>

#include "base/Result.h"

namespace tamzel::speech {

class SpeechError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs `step`; a SpeechError or a sound-output error (any std::runtime_error of the
// library, Windows-1250) becomes the failed Status.
template <typename Step>
base::Status Guarded(Step&& step) {
    try {
        step();
        return base::Ok();
    } catch (const std::runtime_error& e) {
        return base::Fail(e.what());
    }
}

}  // namespace tamzel::speech
