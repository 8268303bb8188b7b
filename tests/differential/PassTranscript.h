// A transcript of many turns of the rule pass: for every turn the input, the reply, whether
// it was understood, the mood and digests of the answer history, the memory file, the
// variables, the sentences the next turn reads and the reported diagnostics. Two engines
// whose transcripts are equal behaved the same for the user, so the transcript of a
// released engine is kept as the reference for every later change of the pass.
#pragma once

#include <string>
#include <vector>

namespace tamzel::differential {

// One corpus: a brain and the turns said to it. The text is UTF-8: a first line naming the
// brain ("brain " and a digest of the brain file), then one line per turn.
struct Transcript {
    std::string name;
    std::string text;
    int turns = 0;
};

// The first line of a transcript's text.
std::string BrainLine(const std::string& transcriptText);

// The shipped brain (the brain file given), fed with the understanding set, the dialogue
// scripts of `sourceDir` and seeded random sentences. Empty when the brain is missing.
Transcript ShippedBrainTranscript(const std::string& brainFile, const std::string& sourceDir);

// Generated brains that use every kind of condition line, command and tag, fed with seeded
// random sentences built from the brains' own words.
std::vector<Transcript> GeneratedBrainTranscripts();

}  // namespace tamzel::differential
