#include "engine/internal/BlockShortcuts.h"

#include <algorithm>
#include <array>
#include <deque>
#include <string_view>

#include "base/Letters.h"
#include "engine/internal/Conditions.h"
#include "engine/TextUtils.h"

namespace tamzel::engine {
namespace {

const char kOrLine[] = "OR";
const char kEndLine[] = "->";
const char kSentenceLine[] = "SENTENCE";

void ReadTrimmed(BrainRecord& reader, std::string& line) {
    DecodeNextRecord(reader, line);
    TrimLeadingBlanks(line);
}

// True when tag expansion would change the text (a tag keyword or the name mark in it).
bool HoldsTags(const std::string& text, const KeywordTable& keywords) {
    if (text.find('|') != std::string::npos) return true;
    for (int k = kw::YearTag; k <= kw::NextWordTag; ++k) {
        const std::string& keyword = keywords.Keyword(k);
        if (!keyword.empty() && text.find(keyword) != std::string::npos) return true;
    }
    return false;
}

bool StartsWithAnyTest(const std::string& line, const KeywordTable& keywords) {
    for (int k = kw::OpeningTest; k <= kw::WordCountTest; ++k) {
        const std::string& keyword = keywords.Keyword(k);
        if (!keyword.empty() && line.compare(0, keyword.size(), keyword) == 0) return true;
    }
    return false;
}

}  // namespace

void BlockShortcuts::Clear() { *this = BlockShortcuts{}; }

void BlockShortcuts::Build(BrainRecord& reader, const KeywordTable& keywords) {
    const uint32_t start = reader.cursor;
    const std::string& head = keywords.Keyword(kw::BlockHeadKeyword);
    nodes_.assign(1, Node{});
    std::string line;
    reader.cursor = 0;
    while (!AtEndOfBrain(reader)) {
        ReadTrimmed(reader, line);
        if (head.empty() || line.compare(0, head.size(), head) != 0) continue;
        uint32_t afterHead = reader.cursor;
        PlainBlock block;
        if (AnalyseBlock(reader, keywords, block)) blocks_.emplace_back(afterHead, std::move(block));
        reader.cursor = afterHead;
    }
    BuildLinks();
    matchedIn_.assign(wordIds_.size(), 0);
    std::unordered_map<std::string, uint32_t>().swap(wordIds_);  // needed only while building
    reader.cursor = start;
    built_ = true;
    builtData_ = reader.text.data();
    builtSize_ = reader.text.size();
}

// Reads the conditions as the evaluator does (up to "->", also after a leading '!', or the
// brain's end) and tells whether the first line of each alternative can decide that they fail.
bool BlockShortcuts::AnalyseBlock(BrainRecord& reader, const KeywordTable& keywords, PlainBlock& block) {
    std::string line;
    ReadTrimmed(reader, line);
    int32_t records = 1;
    if (!AnalyseFirstLine(line, keywords, block)) return false;
    while (line != kEndLine && !AtEndOfBrain(reader)) {
        ReadTrimmed(reader, line);
        ++records;
        if (line.compare(0, 8, kSentenceLine) == 0) return false;
        if (line == kOrLine) {
            // The line after "OR" starts the next alternative; "OR" at the very end would
            // leave an empty one, which holds.
            if (AtEndOfBrain(reader)) return false;
            ReadTrimmed(reader, line);
            ++records;
            if (!AnalyseFirstLine(line, keywords, block)) return false;
            continue;
        }
        if (!line.empty() && line[0] == '!') line.erase(0, 1);
    }
    block.conditions = {reader.cursor, records};
    return true;
}

bool BlockShortcuts::AnalyseFirstLine(const std::string& line, const KeywordTable& keywords, PlainBlock& block) {
    if (line.size() < 2 || line[0] != '?' || StartsWithAnyTest(line, keywords)) return false;
    bool failed = false;
    std::string list(BracketView(line, '(', ')', &failed));
    Alternative alternative;
    if (failed || !AnalyseItems(list + ';', keywords, alternative)) return false;
    block.alternatives.push_back(std::move(alternative));
    return true;
}

// The items as the evaluator reads them: a plain item must occur, an inline list needs one
// of its words (cut out at the fixed places of "<SOMEOF(" and ")>"), and items that can
// never be found make the block always false. Stored lists and selectors are left to the
// evaluator.
bool BlockShortcuts::AnalyseItems(std::string list, const KeywordTable& keywords, Alternative& block) {
    constexpr size_t kOpening = 8, kFrame = 10;
    if (HoldsTags(list, keywords) || list.find(',') != std::string::npos) return false;
    base::FoldDiacriticsInPlace(list);
    const std::string& inlineList = keywords.Keyword(kw::InlineWordList);
    for (size_t start = 0; start < list.size();) {
        size_t end = ListItemEnd(list, start);
        if (end == std::string::npos) break;
        std::string item = list.substr(start, end - start);
        start = end + 1;
        std::vector<uint32_t> words;
        if (!item.empty() && item[0] == '<') {
            std::string inner = item.size() >= 2 ? item.substr(1, item.size() - 2) : std::string();
            if (inner == keywords.Keyword(kw::StoredWordList1) || inner == keywords.Keyword(kw::StoredWordList2))
                return false;
            bool isInline = !inlineList.empty() && item.compare(1, inlineList.size(), inlineList) == 0;
            std::string inside = isInline && item.size() >= kFrame ? item.substr(kOpening, item.size() - kFrame) + ';' : "";
            for (size_t from = 0, stop; (stop = inside.find(';', from)) != std::string::npos; from = stop + 1)
                if (stop > from) words.push_back(WordId(inside.substr(from, stop - from)));
        } else if (!item.empty()) {
            words.push_back(WordId(item));
        }
        if (words.empty()) block.alwaysFalse = true;
        block.items.push_back(std::move(words));
    }
    return true;
}

uint32_t BlockShortcuts::WordId(const std::string& word) {
    auto [found, added] = wordIds_.try_emplace(word, static_cast<uint32_t>(wordIds_.size()));
    if (!added) return found->second;
    uint32_t node = 0;
    for (unsigned char c : word) {
        uint32_t next = Child(node, c);
        if (next == 0) {
            next = static_cast<uint32_t>(nodes_.size());
            nodes_[node].next.emplace_back(c, next);
            nodes_.emplace_back();
        }
        node = next;
    }
    nodes_[node].words.push_back(found->second);
    return found->second;
}

uint32_t BlockShortcuts::Child(uint32_t node, unsigned char c) const {
    for (const auto& [byte, child] : nodes_[node].next)
        if (byte == c) return child;
    return 0;
}

// Fail links by breadth: each node's longest proper suffix that is also a path of the tree.
void BlockShortcuts::BuildLinks() {
    std::deque<uint32_t> queue;
    for (const auto& [byte, child] : nodes_[0].next) queue.push_back(child);
    while (!queue.empty()) {
        uint32_t node = queue.front();
        queue.pop_front();
        for (const auto& [byte, child] : nodes_[node].next) {
            uint32_t fail = nodes_[node].fail;
            while (fail != 0 && Child(fail, byte) == 0) fail = nodes_[fail].fail;
            uint32_t target = Child(fail, byte);
            nodes_[child].fail = target == child ? 0 : target;
            uint32_t f = nodes_[child].fail;
            nodes_[child].outputs = nodes_[f].words.empty() ? nodes_[f].outputs : f;
            queue.push_back(child);
        }
    }
}

void BlockShortcuts::MatchSentence(const std::string& sentence) {
    ++generation_;
    matchedSentence_ = sentence;
    matchedValid_ = true;
    uint32_t state = 0;
    for (unsigned char c : sentence) {
        while (state != 0 && Child(state, c) == 0) state = nodes_[state].fail;
        state = Child(state, c);
        for (uint32_t out = nodes_[state].words.empty() ? nodes_[state].outputs : state; out != 0;
             out = nodes_[out].outputs)
            for (uint32_t word : nodes_[out].words) matchedIn_[word] = generation_;
    }
}

BlockShortcuts::PlainBlock* BlockShortcuts::FindBlock(uint32_t cursor) {
    auto before = [](const std::pair<uint32_t, PlainBlock>& b, uint32_t c) { return b.first < c; };
    if (nextBlock_ >= blocks_.size() || blocks_[nextBlock_].first > cursor) {
        nextBlock_ = static_cast<size_t>(
            std::lower_bound(blocks_.begin(), blocks_.end(), cursor, before) - blocks_.begin());
    } else {
        while (nextBlock_ < blocks_.size() && blocks_[nextBlock_].first < cursor) ++nextBlock_;
    }
    if (nextBlock_ >= blocks_.size() || blocks_[nextBlock_].first != cursor) return nullptr;
    return &blocks_[nextBlock_].second;
}

const RecordSpan* BlockShortcuts::SurelyFalseConditions(uint32_t cursor, const std::string& sentence) {
    lastJudged_ = nullptr;
    PlainBlock* found = FindBlock(cursor);
    if (found == nullptr) return nullptr;
    lastJudged_ = found;
    if (!matchedValid_ || sentence != matchedSentence_) MatchSentence(sentence);
    for (const Alternative& alternative : found->alternatives)
        if (!SurelyFalse(alternative)) {
            lastJudged_ = nullptr;
            return nullptr;
        }
    return &found->conditions;
}

bool BlockShortcuts::SurelyFalse(const Alternative& alternative) const {
    if (alternative.alwaysFalse) return true;
    for (const std::vector<uint32_t>& item : alternative.items) {
        bool held = false;
        for (uint32_t word : item) held = held || matchedIn_[word] == generation_;
        if (!held) return true;
    }
    return false;
}

// The block just judged false keeps its then-skip itself, which spares a look-up.
void BlockShortcuts::RememberThenSkip(uint32_t cursor, RecordSpan span) {
    if (lastJudged_ && lastJudged_->conditions.end == cursor) {
        lastJudged_->thenSkip = span;
        lastJudged_->thenSkipKnown = true;
        return;
    }
    thenSkips_[cursor] = span;
}

const RecordSpan* BlockShortcuts::ThenSkip(uint32_t cursor) const {
    if (lastJudged_ && lastJudged_->conditions.end == cursor)
        return lastJudged_->thenSkipKnown ? &lastJudged_->thenSkip : nullptr;
    auto found = thenSkips_.find(cursor);
    return found == thenSkips_.end() ? nullptr : &found->second;
}

}  // namespace tamzel::engine
