// The coverage report of a brain over a corpus: which condition blocks were never entered,
// which answer lines never given, and which sentences fell to the not-understood marker.
//
//   tamzel-brainc --coverage [--seeds N] BRAIN.ai CORPUS...
//   tamzel-brainc --coverage [--seeds N] SOURCE.brain... CORPUS...   (names source lines)
//
// A corpus file is a dialogue script (it holds an "@dialogue" line; run with seeds 1..N) or a
// list of sentences (one a line, "#" comments), each answered by a freshly started engine.
#pragma once

#include <string>
#include <vector>

#include "tools/brainc/BrainCompiler.h"

namespace tamzel::brainc {

struct NotUnderstood {
    std::string place;     // file:line of the sentence
    std::string sentence;  // UTF-8
    std::string reply;     // UTF-8, as shown
};

struct CoverageReport {
    std::vector<std::string> lines;       // the brain's records, UTF-8
    std::vector<int> blocks;              // record numbers (from 1) of the block heads
    std::vector<int> answers;             // ... of the answer lines
    std::vector<bool> entered, given;     // by record number
    int sentences = 0, understood = 0;    // typed turns of the corpus
    std::vector<NotUnderstood> notUnderstood;
    std::vector<std::string> problems;    // corpus files that could not be used, stops
    int MissedBlocks() const;
    int MissedAnswers() const;
};

// Runs the corpus over the brain file; the working folder is left as it was.
CoverageReport MeasureCoverage(const std::string& brainFile, const std::vector<std::string>& corpus,
                               int seeds);

// The report as text; `origins` (may be empty) names the source line of every record.
std::string FormatCoverage(const CoverageReport& report, const std::vector<SourcePlace>& origins);

// The closing summary line: counts and percentages.
std::string CoverageSummary(const CoverageReport& report);

}  // namespace tamzel::brainc
