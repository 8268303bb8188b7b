// The rule pass: one forward walk over every record of the brain that tests condition
// blocks, runs commands and picks answer lines; and the turn that runs one or two passes.
#include <algorithm>
#include <array>

#include "base/Codepage.h"
#include "base/PlatformOpener.h"
#include "engine/internal/EngineCore.h"
#include "engine/internal/Conditions.h"

namespace tamzel::engine {
namespace {

bool IsSentenceEnd(char c) { return c == '!' || c == '.' || c == '?'; }

// The last sentence of a normalised input, with its terminating mark(s).
std::string LastSentence(const std::string& full) {
    long i = static_cast<long>(full.size()) - 1;
    while (i >= 0 && IsSentenceEnd(full[i])) --i;
    while (i >= 0 && !IsSentenceEnd(full[i])) --i;
    while (i >= 0 && IsSentenceEnd(full[i])) --i;
    while (i >= 0 && !IsSentenceEnd(full[i])) --i;
    return full.substr(static_cast<size_t>(i + 1));
}

int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Two's-complement wrap, as 32-bit brain arithmetic always had.
int32_t Wrap32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }

// The state of one pass over the brain.
class RulePass {
public:
    // The reader borrows the loaded text instead of copying it (a large brain would spend
    // much of the turn on the copy) and gives it back however the pass ends.
    explicit RulePass(EngineCore& engine) : e_(engine) {
        reader_.text.swap(e_.Brain.text);
        reader_.checkBytes = e_.Brain.checkBytes;
        reader_.wholeSumPlain = e_.Brain.wholeSumPlain;
        reader_.wholeSumRaw = e_.Brain.wholeSumRaw;
        // Most lines are answers or conditions; a glance at the first character spares them
        // the comparison with every command keyword.
        for (int k = kw::InsertCommand; k <= kw::KeepGoingOffCommand; ++k)
            if (!K(k).empty()) commandStart_[static_cast<unsigned char>(K(k)[0])] = true;
        commandStart_['S'] = true;  // "SENTENCE"
        if (!e_.Shortcuts.BuiltFor(reader_.text)) {
            e_.Shortcuts.Clear();
            e_.Shortcuts.Build(reader_, e_.Keywords);
        }
    }
    ~RulePass() { reader_.text.swap(e_.Brain.text); }
    RulePass(const RulePass&) = delete;
    RulePass& operator=(const RulePass&) = delete;

    std::string Run();

private:
    const std::string& K(int k) const { return e_.Keywords.Keyword(k); }
    void SkipElseBranch();
    void SkipThenBranch();
    void BlockHead();
    bool ConditionsHold(int slot);
    void RewriteSentence();
    void RunCommands();
    void AssignVariable(const std::string& argument);
    void Calculate(int op, const std::string& left, const std::string& right, std::string& value);
    void ChangeMood(const std::string& argument);
    void DeclareVariable(const std::string& name);
    void ReleaseVariable(const std::string& name);
    Variable* FindVariable(const std::string& name);
    void AnswerGroup();
    void VerifySums();

    EngineCore& e_;
    BrainRecord reader_;
    std::string line_;
    std::string reply_;
    bool readNext_ = true;
    bool keepGoing_ = false;  // the last chosen answer line ended in the continue mark
    std::array<bool, 256> commandStart_{};
};

std::string RulePass::Run() {
    for (std::string& c : e_.Captures) c.clear();
    e_.SentenceTarget = 1;
    e_.WorkSentence = e_.CurrentInput;
    base::FoldDiacriticsInPlace(e_.WorkSentence);
    e_.InputUnderstood = true;
    for (;;) {
        if (readNext_) line_ = e_.ReadLine(reader_);
        readNext_ = true;
        if (line_ == K(kw::ElseKeyword)) SkipElseBranch();
        if (line_ == K(kw::NotUnderstoodMarker)) e_.InputUnderstood = false;
        if (line_.starts_with(K(kw::BlockHeadKeyword))) BlockHead();
        if (!line_.empty() && commandStart_[static_cast<unsigned char>(line_[0])]) {
            if (line_.starts_with(K(kw::InsertCommand)) || line_.starts_with(K(kw::ReplaceCommand)))
                RewriteSentence();
            RunCommands();
        }
        if (!line_.empty() && line_[0] == '-') AnswerGroup();
        bool blockEnd = line_ == "<-" || line_ == K(kw::ElseKeyword);
        if (blockEnd && !reply_.empty() && !keepGoing_) break;
        // A line held back after an answer group is still to be worked on, even at the end.
        if (AtEndOfBrain(reader_) && readNext_) break;
    }
    // The pass reads the same unchanging text that loading added up, so the sums of all its
    // records are the loaded brain's, without adding up thousands of records every turn.
    reader_.sumPlain = reader_.wholeSumPlain;
    reader_.sumRaw = reader_.wholeSumRaw;
    VerifySums();
    return reply_;
}

void RulePass::SkipElseBranch() {
    int depth = 1;
    while (depth > 0 && !AtEndOfBrain(reader_)) {
        const std::string& l = e_.ReadLine(reader_);
        if (l == "->") ++depth;
        if (l == "<-") --depth;
    }
    line_ = e_.ReadLine(reader_);
}

void RulePass::SkipThenBranch() {
    const uint32_t from = reader_.cursor;
    if (const RecordSpan* known = e_.Shortcuts.ThenSkip(from)) {
        reader_.cursor = known->end;
        e_.RecordNumber += known->records;
        return;
    }
    const int32_t firstRecord = e_.RecordNumber;
    int depth = 1;
    while (depth > 0 && !AtEndOfBrain(reader_)) {
        const std::string& l = e_.ReadLine(reader_);
        if (l.starts_with(K(kw::BlockHeadKeyword))) {
            ++depth;
        } else if (l == "<-" || (l == K(kw::ElseKeyword) && depth == 1)) {
            --depth;
        }
    }
    e_.Shortcuts.RememberThenSkip(from, {reader_.cursor, e_.RecordNumber - firstRecord});
}

void RulePass::BlockHead() {
    bool failed = false;
    int n = TextToInt(BracketView(line_, '(', ')', &failed));
    if (failed) e_.ReportError("Zly string " + IntToText(e_.RecordNumber));
    if (n == 1) {
        if (e_.SentenceTarget != 1) {
            e_.ReportError("Pozor, sentence je ina ako USER");
            e_.FatalStop(base::FromUtf8Lossy("Blok 1 mozgu (záznam " + IntToText(e_.RecordNumber) +
                                       ") testuje vetu užívateľa, hoci je vybraná iná veta."));
        }
        e_.SelectFoldedInput();
    }
    int32_t head = e_.RecordNumber;
    if (!ConditionsHold(n)) {
        SkipThenBranch();
        line_.clear();
    } else if (e_.hooks.passTrace) {
        e_.hooks.passTrace->BlockEntered(head);
    }
}

// Conditions that the words alone show to fail are read past without evaluating them.
bool RulePass::ConditionsHold(int slot) {
    if (const RecordSpan* known = e_.Shortcuts.SurelyFalseConditions(reader_.cursor, e_.WorkSentence)) {
        reader_.cursor = known->end;
        e_.RecordNumber += known->records;
        return false;
    }
    return e_.EvaluateCondition(slot, reader_);
}

void RulePass::RewriteSentence() {
    bool insert = line_.starts_with(K(kw::InsertCommand));
    line_ = e_.BracketArgument(line_);
    e_.ExpandTags(line_);
    bool named = std::count(line_.begin(), line_.end(), ',') == 2;
    if (named) {
        size_t c = line_.find(',');
        e_.SelectSentence(line_.substr(0, c));
        line_.erase(0, c + 1);
    } else {
        e_.SelectSentence(K(kw::CurrentSelector));
    }
    size_t p = line_.find(',');
    std::string words = (p == std::string::npos ? std::string() : line_.substr(0, p)) + " ";
    std::string pattern = base::FoldDiacritics(p == std::string::npos ? line_ : line_.substr(p + 1));
    std::string& ws = e_.WorkSentence;
    // The selected sentence keeps its diacritics while the pattern is folded; folding keeps
    // positions, so the pattern is looked up in a folded copy. Not found: nothing changes.
    size_t q = pattern.empty() ? std::string::npos : base::FoldDiacritics(ws).find(pattern);
    if (q != std::string::npos) {
        if (insert) {
            ws.insert(q + pattern.size(), words);
        } else {
            ws.erase(q, pattern.size() - 1);
            ws.insert(q + 1, words);
        }
    }
    e_.StoreSentence(e_.SentenceTarget);
    if (named) e_.SelectSentence(K(kw::CurrentSelector));
    base::FoldDiacriticsInPlace(ws);
}

void RulePass::RunCommands() {
    const std::string& line = line_;
    if (line.empty() || !commandStart_[static_cast<unsigned char>(line[0])]) return;
    auto is = [&](int k) { return line.starts_with(K(k)); };
    // Arguments with their tags replaced, for the commands that take them so.
    auto expanded = [&] {
        std::string a = e_.BracketArgument(line);
        e_.ExpandTags(a);
        return a;
    };
    if (is(kw::QuitCommand)) e_.QuitRequested = true;
    if (is(kw::HaltCommand)) e_.FatalStop(base::FromUtf8Lossy("Mozog ukončil program príkazom halt."));
    if (is(kw::RunCommand)) e_.RunProgram(expanded());
    if (is(kw::MoodCommand)) ChangeMood(e_.BracketArgument(line));
    if (is(kw::DeclareCommand)) DeclareVariable(e_.BracketArgument(line));
    if (is(kw::AssignCommand)) AssignVariable(e_.BracketArgument(line));
    if (is(kw::ReleaseCommand)) ReleaseVariable(e_.BracketArgument(line));
    if (is(kw::RememberCommand)) e_.AddMemoryValue(expanded());
    if (is(kw::ForgetCommand)) e_.RemoveMemoryValue(expanded());
    if (is(kw::KeepGoingOffCommand)) keepGoing_ = false;
    if (line.compare(0, 8, "SENTENCE") == 0) e_.ReportError("Pozor, pouzity prikaz SENTENCE");
}

// "+5" raises the mood by 5; any other first character lowers it by the rest.
void RulePass::ChangeMood(const std::string& argument) {
    int64_t v = argument.empty() ? 0 : TextToInt(argument.substr(1));
    bool up = !argument.empty() && argument[0] == '+';
    e_.Mood = Clamp32(int64_t{e_.Mood} + (up ? v : -v));
}

void RulePass::DeclareVariable(const std::string& name) {
    for (size_t i = 1; i < e_.Variables.size(); ++i) {
        if (!e_.Variables[i].free) continue;
        e_.Variables[i].free = false;
        e_.Variables[i].name = name;
        return;
    }
}

void RulePass::ReleaseVariable(const std::string& name) {
    if (Variable* v = FindVariable(name)) v->free = true;
}

Variable* RulePass::FindVariable(const std::string& name) {
    for (size_t i = 1; i < e_.Variables.size(); ++i)
        if (!e_.Variables[i].free && e_.Variables[i].name == name) return &e_.Variables[i];
    return nullptr;
}

void RulePass::AssignVariable(const std::string& argument) {
    size_t comma = argument.find(',');
    std::string name = comma == std::string::npos ? std::string() : argument.substr(0, comma);
    std::string expr = comma == std::string::npos ? argument : argument.substr(comma + 1);
    Variable* target = FindVariable(name);
    if (!target) return;
    // The first operator of the list that the value holds splits it, searched in this order.
    for (int k : {kw::AddOperator, kw::MultiplyOperator, kw::SubtractOperator, kw::DivideOperator}) {
        size_t at = K(k).empty() ? std::string::npos : expr.find(K(k));
        if (at == std::string::npos) continue;
        std::string left = expr.substr(0, at);
        std::string right = expr.substr(at + K(k).size());
        e_.ExpandTags(left);
        e_.ExpandTags(right);
        Calculate(k, left, right, target->value);
        return;
    }
    e_.ExpandTags(expr);
    target->value = expr;
}

// Whole-number arithmetic in 64 bits, written back wrapped to 32 bits like the brain's own
// numbers; addition of texts that are not numbers joins them.
void RulePass::Calculate(int op, const std::string& left, const std::string& right,
                         std::string& value) {
    int64_t l = TextToInt(left), r = TextToInt(right);
    char kind = K(op).size() > 1 ? K(op)[1] : '\0';
    if (op == kw::AddOperator) {
        value = AllDigits(left) && AllDigits(right) ? IntToText(Wrap32(l + r)) : left + right;
    } else if (kind == '*') {
        value = IntToText(Wrap32(l * r));
    } else if (kind == '-') {
        value = IntToText(Wrap32(l - r));
    } else if (kind == '/') {
        if (r != 0) value = IntToText(Wrap32(l / r));  // by zero: the value stays
    } else {
        value = left + K(op) + right;
    }
}

void RulePass::AnswerGroup() {
    constexpr int kMaxLines = 20;  // the size of AnswerLines; longer groups are cut
    int total = 1;
    e_.AnswerLines[1] = line_;
    for (;;) {
        line_ = e_.ReadLine(reader_);
        if (line_.empty() || line_[0] != '-') break;
        if (++total <= kMaxLines) e_.AnswerLines[total] = line_;
    }
    if (!line_.empty()) readNext_ = false;
    int count = std::min(total, kMaxLines);
    int32_t first = e_.RecordNumber - total;
    int i = e_.ChooseAlternative(count, first);
    std::string chosen = e_.AnswerLines[i];
    keepGoing_ = chosen.ends_with(K(kw::ContinueMark));
    if (keepGoing_) chosen.erase(chosen.size() - K(kw::ContinueMark).size());
    chosen.erase(0, 1);
    reply_ += chosen;
    e_.ExpandTags(reply_);
    // The chosen line's own record number goes to the history; RecordNumber keeps counting
    // the records read, so that groups later in the same pass keep stable numbers.
    if (!e_.NoHistory) e_.AnswerHistory.push_back(first + i - 1);
    if (e_.hooks.passTrace) e_.hooks.passTrace->AnswerChosen(first + i - 1);
}

void RulePass::VerifySums() {
    auto [plain, raw] = ReadStoredChecksums(e_.brainPath);
    if (plain != ChecksumText(reader_.sumPlain) || raw != ChecksumText(reader_.sumRaw))
        e_.FatalStop(base::FromUtf8Lossy("Kontrolné súčty súboru mozgu \"" + e_.brainPath +
                                   "\" nesúhlasia s jeho záznamami (poškodený súbor)."));
}

}  // namespace

std::string EngineCore::RunTurn() {
    std::string full = CurrentInput;
    WholeInput = full;
    std::string sentence;
    if (!full.empty()) {
        CurrentInput = LastSentence(full);
        sentence = CurrentInput;
        NormaliseSentence(CurrentInput);
    }
    std::string reply = RunRulePass();
    if (!InputUnderstood && sentence != full) {
        CurrentInput = full;
        reply = RunRulePass();
    }
    return FormatReply(reply);
}

std::string EngineCore::RunRulePass() {
    Keywords.DecodeAll();
    // The table goes back to its encoded form however the pass ends (errors included).
    struct Reencode {
        EngineCore& e;
        ~Reencode() { e.Keywords.EncodeAll(e.random()); }
    } reencode{*this};
    RecordNumber = 0;
    RulePass pass(*this);
    return pass.Run();
}

int EngineCore::ChooseAlternative(int count, int32_t first) {
    if (count <= 1) return 1;
    auto inGroup = [&](int32_t r) { return r >= first && r <= first + count - 1; };
    std::vector<bool> used(static_cast<size_t>(count));
    // Every round either returns or shrinks the history, so the loop ends.
    for (;;) {
        std::fill(used.begin(), used.end(), false);
        for (int32_t r : AnswerHistory)
            if (inGroup(r)) used[static_cast<size_t>(r - first)] = true;
        int available = static_cast<int>(std::count(used.begin(), used.end(), false));
        if (available > 0) {
            int k = random().Below(available);
            for (int i = 0; i < count; ++i)
                if (!used[static_cast<size_t>(i)] && k-- == 0) return i + 1;
        }
        // All given: forget all but the latest, which must not come right again.
        int removed = 0;
        for (auto it = AnswerHistory.begin(); it != AnswerHistory.end() && removed < count - 1;) {
            if (inGroup(*it)) {
                it = AnswerHistory.erase(it);
                ++removed;
            } else {
                ++it;
            }
        }
        if (removed == 0) return 1 + random().Below(count);
    }
}

const std::string& EngineCore::ReadLine(BrainRecord& reader) {
    DecodeNextRecord(reader, recordLine_);
    ++RecordNumber;
    TrimLeadingBlanks(recordLine_);
    return recordLine_;
}

std::string EngineCore::BracketArgument(const std::string& text) {
    std::string content;
    BracketArgumentInto(text, content);
    return content;
}

void EngineCore::BracketArgumentInto(const std::string& text, std::string& out) {
    bool failed = false;
    out.assign(BracketView(text, '(', ')', &failed));
    if (failed) ReportError("Zly string " + IntToText(RecordNumber));
}

void EngineCore::RunProgram(const std::string& path) {
    if (hooks.onRunProgram) {
        hooks.onRunProgram(path);
        return;
    }
    // The file system takes UTF-8 names.
    if (base::Status opened = base::OpenWithDesktop(base::ToUtf8(path)); !opened)
        ReportError(opened.message());
}

}  // namespace tamzel::engine
