// Shortcuts of the rule pass over one loaded brain. A pass reads every record, but most
// blocks of a real brain test plain words that the sentence does not hold, and then the
// pass only reads on to the block's end. What those readings give depends on nothing but
// the records, so it is worked out once and reused:
//
// - For blocks whose alternatives (the parts between "OR" lines) each start with a list of
//   plain words and inline lists (no tags, selectors, stored lists, negation) and whose
//   conditions hold no "SENTENCE" line, the words are put in one multi-word search built
//   once; a block where every alternative has an item that the working sentence does not
//   hold is false without evaluating it (evaluating it would change nothing either: such a
//   line reports nothing, and the lines after a false one are not tested).
// - Where a skipped then-branch ends, and how many records the skip reads.
//
// Both are keyed by the reader's byte position, so they serve whichever way a pass gets
// there. They are built during the first pass, while the keyword table is plain.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/Brain.h"
#include "engine/KeywordTable.h"

namespace tamzel::engine {

// Where reading from a position ends and how many records it reads.
struct RecordSpan {
    uint32_t end = 0;
    int32_t records = 0;
};

class BlockShortcuts {
public:
    // Forgets everything (a new brain was loaded).
    void Clear();
    bool built() const { return built_; }
    // Built over this very text (the same storage and size): a brain put in place without
    // loading it is never read with the shortcuts of another.
    bool BuiltFor(const std::string& text) const {
        return built_ && text.data() == builtData_ && text.size() == builtSize_;
    }
    // Scans the whole brain of `reader` for blocks with plain word lists; `keywords` must be
    // plain. The reader's cursor is where it was afterwards.
    void Build(BrainRecord& reader, const KeywordTable& keywords);

    // The conditions of the block whose head record ends at `cursor` when they can be
    // judged by the words alone and surely do not hold for `sentence` (folded); else null.
    const RecordSpan* SurelyFalseConditions(uint32_t cursor, const std::string& sentence);

    const RecordSpan* ThenSkip(uint32_t cursor) const;
    void RememberThenSkip(uint32_t cursor, RecordSpan span);

private:
    // The first line of one alternative: its items, each the words of which one must occur.
    struct Alternative {
        std::vector<std::vector<uint32_t>> items;
        bool alwaysFalse = false;  // an item that nothing matches
    };
    struct PlainBlock {
        RecordSpan conditions;
        std::vector<Alternative> alternatives;
        // The then-branch after the conditions, once a pass has skipped it.
        RecordSpan thenSkip;
        bool thenSkipKnown = false;
    };
    struct Node {
        std::vector<std::pair<unsigned char, uint32_t>> next;
        uint32_t fail = 0;
        uint32_t outputs = 0;  // the nearest node on the fail chain that ends words (0: none)
        std::vector<uint32_t> words;
    };

    bool AnalyseBlock(BrainRecord& reader, const KeywordTable& keywords, PlainBlock& block);
    bool AnalyseFirstLine(const std::string& line, const KeywordTable& keywords, PlainBlock& block);
    bool AnalyseItems(std::string list, const KeywordTable& keywords, Alternative& alternative);
    bool SurelyFalse(const Alternative& alternative) const;
    uint32_t WordId(const std::string& word);
    uint32_t Child(uint32_t node, unsigned char c) const;
    void BuildLinks();
    void MatchSentence(const std::string& sentence);

    bool built_ = false;
    const char* builtData_ = nullptr;
    size_t builtSize_ = 0;
    PlainBlock* FindBlock(uint32_t cursor);

    // By position of the head's end, in brain order: a pass moves forward, so the next
    // block looked for is mostly the one after the last (no hashing, memory in order).
    std::vector<std::pair<uint32_t, PlainBlock>> blocks_;
    size_t nextBlock_ = 0;
    PlainBlock* lastJudged_ = nullptr;
    std::unordered_map<uint32_t, RecordSpan> thenSkips_;
    std::unordered_map<std::string, uint32_t> wordIds_;
    std::vector<Node> nodes_;
    // Which words the sentence last matched holds: matchedIn_[word] == generation_.
    std::string matchedSentence_;
    bool matchedValid_ = false;
    uint32_t generation_ = 0;
    std::vector<uint32_t> matchedIn_;
};

}  // namespace tamzel::engine
