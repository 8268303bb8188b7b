// Speech text preparation: an answer, exactly as the engine returned it (emoticon tags
// included), becomes the unit string (one character per sound unit, pause, face code or
// pitch mark; see Units.h) and its intonation contour.
//
//   base::Result<PreparedSpeech> p = PrepareSpeechText("\xC1no.", "Jano", "Jano");
//   p->unitString == "~\xE1-no~~~";  p->contour == {127, 64, 64, 22, 1, 127, 127, 0}
//
// The dictionary files/slovnik.vox (relative to the working folder) is read at every call;
// a missing or unreadable dictionary fails with the message naming it. All texts
// are Windows-1250. Nothing is kept between calls.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "speech/text/Contour.h"
#include "speech/text/Dictionary.h"
#include "speech/text/SpeechError.h"

namespace tamzel::speech {

struct PreparedSpeech {
    std::string unitString;  // what playback plays, character by character
    Contour contour;         // one value per unitString character
};

struct SpeechRequest {
    std::string text;                   // the answer, tags included
    std::string userName;               // the signed-in user's name
    std::string userNamePronunciation;  // how the voice says it
    std::string dictionaryPath = kDictionaryPath;
    // Optional: called after every step with the step's name and the text it produced.
    std::function<void(std::string_view step, const std::string& text)> onStep;
};

base::Result<PreparedSpeech> PrepareSpeechText(const SpeechRequest& request);
base::Result<PreparedSpeech> PrepareSpeechText(const std::string& text,
                                               const std::string& userName,
                                               const std::string& userNamePronunciation);

// The replacements of the user's name stop after this many, so a pronunciation that holds
// the name itself cannot make them endless.
inline constexpr int kMaxNameReplacements = 64;

// Steps 1 to 7 only (lower case, allowed characters, numbers, spacing, prepositions,
// softening): the form in which dictionary keys must be written to match.
std::string TextBeforeDictionary(const std::string& text);

// ASCII A-Z and the Slovak capitals with diacritics to lower case; nothing else changes.
std::string LowerCaseText(const std::string& text);
// Voiced/voiceless assimilation on a text of unit characters (diphthongs held as 1..4).
void AssimilateVoicing(std::string& text);
// Inserts "-" between syllables.
void MarkSyllables(std::string& text);

}  // namespace tamzel::speech
