#include "tools/brainc/BrainCompiler.h"

#include <set>

#include "engine/Brain.h"
#include "base/Codepage.h"
#include "engine/KeywordTable.h"
#include "engine/TextUtils.h"

namespace tamzel::brainc {
namespace {

namespace kw = engine::kw;

constexpr size_t kMaxLineBytes = 255;
constexpr int kMaxGroupLines = 20;
constexpr size_t kMaxVariables = 50;

bool StartsWith(const std::string& s, const std::string& prefix) {
    return !prefix.empty() && s.compare(0, prefix.size(), prefix) == 0;
}

// Number of UTF-8 characters in the first `bytes` bytes (continuation bytes not counted).
int CharactersBefore(const std::string& utf8, size_t bytes) {
    int n = 0;
    for (size_t i = 0; i < bytes && i < utf8.size(); ++i)
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) ++n;
    return n;
}

// The leading keyword-like word of a line: capitals, digits after the first letter, "_",
// and a "#" in front.
std::string LeadingToken(const std::string& line) {
    size_t i = 0;
    if (i < line.size() && line[i] == '#') ++i;
    while (i < line.size() && ((line[i] >= 'A' && line[i] <= 'Z') || line[i] == '_')) ++i;
    return line.substr(0, i);
}

bool LooksLikeKeyword(const std::string& line) {
    return !line.empty() && ((line[0] >= 'A' && line[0] <= 'Z') || line[0] == '#');
}

enum class Phase { Conditions, Then, Else };

struct Block {
    int line = 0;
    int column = 0;
    std::string file;
    Phase phase = Phase::Conditions;
};

class Compiler {
public:
    Compiler() {
        engine::KeywordTable table;
        table.DecodeAll();
        for (int k = 1; k <= 56; ++k) kw_[k] = table.Keyword(k);
    }

    CompileResult Run(const std::vector<SourceFile>& sources);

private:
    void CompileLine(const std::string& raw);
    void CheckStructure(const std::string& line);
    void ConditionLine(const std::string& line);
    void RuleLine(const std::string& line);
    void CommandLine(const std::string& line);
    void CheckTags(const std::string& line);
    void CheckArgument(const std::string& line);
    bool IsCommand(const std::string& line) const;
    void CloseAll();
    void Report(bool error, int column, const std::string& message);

    std::array<std::string, 57> kw_;
    CompileResult result_;
    std::vector<Block> blocks_;
    std::set<std::string> variables_;
    std::string file_;
    int lineNo_ = 0;
    int lead_ = 0;  // blanks cut from the start of the current line, for columns
    int groupLines_ = 0;
};

void Compiler::Report(bool error, int column, const std::string& message) {
    result_.diagnostics.push_back({file_, lineNo_, column, error, message});
}

CompileResult Compiler::Run(const std::vector<SourceFile>& sources) {
    for (const SourceFile& source : sources) {
        file_ = source.name;
        lineNo_ = 0;
        size_t start = 0;
        while (start <= source.text.size()) {
            size_t end = source.text.find('\n', start);
            if (end == std::string::npos) end = source.text.size();
            ++lineNo_;
            CompileLine(source.text.substr(start, end - start));
            start = end + 1;
        }
    }
    CloseAll();
    if (!result_.ok()) {
        result_.records.clear();
        result_.recordCount = 0;
        result_.origins.clear();
    }
    return result_;
}

void Compiler::CompileLine(const std::string& raw) {
    size_t first = raw.find_first_not_of(" \t\r");
    if (first == std::string::npos) return;  // blank line
    size_t last = raw.find_last_not_of(" \t\r");
    std::string utf8 = raw.substr(first, last - first + 1);
    if (StartsWith(utf8, "//")) return;  // comment
    lead_ = CharactersBefore(raw, first);
    size_t bad = 0;
    auto converted = base::FromUtf8(utf8, &bad);
    if (!converted) {
        Report(true, lead_ + CharactersBefore(utf8, bad) + 1,
               "znak bez podoby vo Windows-1250 (alebo chybné UTF-8)");
        return;
    }
    const std::string& line = *converted;
    if (line.size() > kMaxLineBytes) {
        Report(true, lead_ + static_cast<int>(kMaxLineBytes) + 1,
               "riadok je dlhší ako 255 bajtov (" + std::to_string(line.size()) + ")");
        return;
    }
    CheckStructure(line);
    CheckTags(line);
    auto key = static_cast<uint8_t>(result_.recordCount * 37 + 11);
    result_.records += engine::EncodeRecord(line, key);
    ++result_.recordCount;
    result_.origins.push_back({file_, lineNo_});
}

void Compiler::CheckStructure(const std::string& line) {
    bool answer = line[0] == '-' && line != "->";
    if (answer && (blocks_.empty() || blocks_.back().phase != Phase::Conditions)) {
        if (++groupLines_ == kMaxGroupLines + 1)
            Report(true, lead_ + 1, "skupina odpovedí má viac ako 20 riadkov");
    } else {
        groupLines_ = 0;
    }
    if (!blocks_.empty() && blocks_.back().phase == Phase::Conditions) {
        ConditionLine(line);
    } else {
        RuleLine(line);
    }
}

void Compiler::ConditionLine(const std::string& line) {
    Block& block = blocks_.back();
    if (line == "->") {
        block.phase = Phase::Then;
        return;
    }
    bool breaksBlock = line == "<-" || line == kw_[kw::ElseKeyword] ||
                       StartsWith(line, kw_[kw::BlockHeadKeyword]);
    if (breaksBlock) {
        Report(true, lead_ + 1,
               "blok z riadku " + std::to_string(block.line) + " nemá \"->\" pred týmto riadkom");
        block.phase = Phase::Then;
        RuleLine(line);
        return;
    }
    std::string test = line[0] == '!' ? line.substr(1) : line;
    if (test == "OR" || StartsWith(test, "SENTENCE")) return;
    if (std::string("?=<>").find(test.empty() ? ' ' : test[0]) != std::string::npos) {
        CheckArgument(test);
        return;
    }
    for (int k = kw::OpeningTest; k <= kw::WordCountTest; ++k)
        if (StartsWith(test, kw_[k])) return;
    if (line[0] == '-')
        Report(false, lead_ + 1, "odpoveď medzi podmienkami bloku (chýba \"->\"?)");
    else
        Report(false, lead_ + 1, "neznámy riadok podmienky; mozog ho preskočí");
}

void Compiler::RuleLine(const std::string& line) {
    if (StartsWith(line, kw_[kw::BlockHeadKeyword])) {
        int n = engine::TextToInt(engine::BracketContent(line, '(', ')'));
        if (n < 1 || n > 10)
            Report(false, lead_ + 1, "číslo bloku má byť 1 až 10 (zachytený text sa nikam neuloží)");
        blocks_.push_back({lineNo_, lead_ + 1, file_, Phase::Conditions});
        return;
    }
    if (line == "->") {
        Report(true, lead_ + 1, "\"->\" mimo podmienky bloku");
    } else if (line == kw_[kw::ElseKeyword]) {
        if (blocks_.empty()) {
            Report(true, lead_ + 1, kw_[kw::ElseKeyword] + " mimo bloku");
        } else if (blocks_.back().phase == Phase::Else) {
            Report(true, lead_ + 1, "druhé " + kw_[kw::ElseKeyword] + " v tom istom bloku");
        } else {
            blocks_.back().phase = Phase::Else;
        }
    } else if (line == "<-") {
        if (blocks_.empty())
            Report(true, lead_ + 1, "\"<-\" bez otvoreného bloku");
        else
            blocks_.pop_back();
    } else if (line[0] != '-' && line != kw_[kw::NotUnderstoodMarker]) {
        CommandLine(line);
    }
}

bool Compiler::IsCommand(const std::string& line) const {
    for (int k = kw::InsertCommand; k <= kw::KeepGoingOffCommand; ++k)
        if (StartsWith(line, kw_[k])) return true;
    return false;
}

void Compiler::CommandLine(const std::string& line) {
    if (StartsWith(line, "SENTENCE")) {
        Report(false, lead_ + 1, "SENTENCE patrí do podmienky bloku; tu nemá účinok");
        return;
    }
    if (!IsCommand(line)) {
        if (LooksLikeKeyword(line))
            Report(false, lead_ + 1, "neznáme kľúčové slovo \"" + base::ToUtf8(LeadingToken(line)) +
                                         "\"; mozog riadok preskočí");
        return;
    }
    std::string token = LeadingToken(line);
    bool exact = false;
    for (int k = kw::InsertCommand; k <= kw::KeepGoingOffCommand; ++k) exact |= token == kw_[k];
    if (!exact)
        Report(false, lead_ + 1, "\"" + base::ToUtf8(token) + "\" sa číta ako príkaz so začiatkom \"" +
                                     base::ToUtf8(token.substr(0, 3)) + "...\"");
    bool takesArgument = !StartsWith(line, kw_[kw::QuitCommand]) &&
                         !StartsWith(line, kw_[kw::HaltCommand]) &&
                         !StartsWith(line, kw_[kw::KeepGoingOffCommand]);
    if (takesArgument) CheckArgument(line);
    if (StartsWith(line, kw_[kw::DeclareCommand])) {
        variables_.insert(engine::BracketContent(line, '(', ')'));
        if (variables_.size() == kMaxVariables + 1)
            Report(true, lead_ + 1, "viac ako 50 premenných (mien vo " + kw_[kw::DeclareCommand] + ")");
    }
}

void Compiler::CheckArgument(const std::string& line) {
    bool failed = false;
    engine::BracketContent(line, '(', ')', &failed);
    if (failed) Report(false, lead_ + 1, "chýba argument v zátvorkách alebo jeho \")\"");
}

void Compiler::CheckTags(const std::string& line) {
    for (size_t at = line.find("<#"); at != std::string::npos; at = line.find("<#", at + 1)) {
        bool known = line.compare(at, kw_[kw::StoredWordList1].size() + 2,
                                  "<" + kw_[kw::StoredWordList1] + ">") == 0 ||
                     line.compare(at, kw_[kw::StoredWordList2].size() + 2,
                                  "<" + kw_[kw::StoredWordList2] + ">") == 0;
        for (int k = kw::YearTag; k <= kw::NextWordTag && !known; ++k)
            known = line.compare(at, kw_[k].size(), kw_[k]) == 0;
        // "<#V[+]EK(...)>" builds a tag from parts with the assign command: not a typo.
        size_t nameEnd = at + 2;
        while (nameEnd < line.size() && line[nameEnd] >= 'A' && line[nameEnd] <= 'Z') ++nameEnd;
        if (nameEnd < line.size() && line[nameEnd] == '[') known = true;
        if (!known)
            Report(false, lead_ + static_cast<int>(at) + 1,
                   "neznáma značka; ostane v texte, ako je");
    }
}

void Compiler::CloseAll() {
    for (const Block& b : blocks_) {
        file_ = b.file;
        lineNo_ = b.line;
        if (b.phase == Phase::Conditions)
            Report(true, b.column, "blok nemá \"->\" ani \"<-\"");
        else
            Report(true, b.column, "blok nie je uzavretý (chýba \"<-\")");
    }
    blocks_.clear();
}

}  // namespace

bool CompileResult::ok() const {
    for (const Diagnostic& d : diagnostics)
        if (d.error) return false;
    return true;
}

CompileResult CompileBrain(const std::vector<SourceFile>& sources) {
    return Compiler().Run(sources);
}

std::string FormatDiagnostic(const Diagnostic& d) {
    return d.file + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) + ": " +
           (d.error ? "chyba: " : "varovanie: ") + d.message;
}

DecompileResult DecompileBrain(const std::string& file) {
    DecompileResult out;
    if (file.size() < engine::kBrainRecordsOffset) {
        out.problem = "súbor je kratší ako 56 bajtov, nie je to mozog";
        return out;
    }
    engine::BrainRecord brain;
    brain.checkBytes = file.substr(engine::kBrainHeaderSize, 3);
    brain.text = file.substr(engine::kBrainRecordsOffset);
    while (!engine::AtEndOfBrain(brain)) out.lines.push_back(base::ToUtf8(engine::ReadRecord(brain)));
    if (brain.checkBytes != engine::BrainCheckBytes())
        out.problem = "kontrolné bajty nepatria tomuto vydaniu programu";
    else if (file.compare(48, 4, engine::ChecksumText(brain.sumPlain)) != 0 ||
             file.compare(52, 4, engine::ChecksumText(brain.sumRaw)) != 0)
        out.problem = "kontrolné súčty nesedia so záznamami (poškodený súbor)";
    return out;
}

}  // namespace tamzel::brainc
