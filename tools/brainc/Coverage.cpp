#include "tools/brainc/Coverage.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "base/Files.h"
#include "base/Lines.h"
#include "tools/brainc/DialogueRunner.h"

namespace tamzel::brainc {

namespace {

const char kSentenceListUser[] = "Tester";
constexpr uint64_t kSentenceListSeed = 1;

// Marks what the passes reached; sized once, so the passes allocate nothing for it.
class CoverageTrace : public engine::PassTrace {
public:
    CoverageTrace(std::vector<bool>& entered, std::vector<bool>& given)
        : entered_(entered), given_(given) {}
    void BlockEntered(int32_t head) override { Mark(entered_, head); }
    void AnswerChosen(int32_t record) override { Mark(given_, record); }

private:
    static void Mark(std::vector<bool>& marks, int32_t record) {
        if (record >= 0 && static_cast<size_t>(record) < marks.size()) marks[record] = true;
    }
    std::vector<bool>& entered_;
    std::vector<bool>& given_;
};

// Block heads and answer lines of the decompiled brain (answers outside conditions only).
void FindBlocksAndAnswers(CoverageReport& report) {
    bool inConditions = false;
    for (size_t i = 0; i < report.lines.size(); ++i) {
        const std::string& line = report.lines[i];
        int record = static_cast<int>(i) + 1;
        if (line.starts_with("IF")) {
            report.blocks.push_back(record);
            inConditions = true;
        } else if (line == "->") {
            inConditions = false;
        } else if (!inConditions && !line.empty() && line[0] == '-') {
            report.answers.push_back(record);
        }
    }
}

bool IsDialogueScript(const std::string& text) {
    return text.rfind("@dialogue", 0) == 0 || text.find("\n@dialogue") != std::string::npos;
}

struct Sentence {
    int line;
    std::string text;
};

std::vector<Sentence> SentenceList(const std::string& text) {
    std::vector<Sentence> sentences;
    base::Lines lines = base::SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (!line.empty() && line[0] != '#') sentences.push_back({static_cast<int>(i + 1), line});
    }
    return sentences;
}

class CorpusRun {
public:
    CorpusRun(CoverageReport& report, std::string brain, int seeds)
        : report_(report), brain_(std::move(brain)), seeds_(seeds),
          trace_(report.entered, report.given) {}

    void File(const std::string& file) {
        std::string text;
        if (!base::ReadWholeFile(file, text)) {
            report_.problems.push_back(file + ": súbor sa nedá prečítať");
            return;
        }
        if (IsDialogueScript(text)) {
            Dialogues(file, text);
        } else {
            Sentences(file, text);
        }
    }

private:
    void Count(const std::string& place, const std::string& sentence, const std::string& reply,
               bool understood) {
        ++report_.sentences;
        if (understood) {
            ++report_.understood;
        } else {
            report_.notUnderstood.push_back({place, sentence, reply});
        }
    }

    void Sentences(const std::string& file, const std::string& text) {
        TemporaryProgramFolder folder(brain_);
        DialogueSession session(kSentenceListUser, true, kSentenceListSeed, DefaultDialogueTime(),
                                &trace_);
        for (const Sentence& s : SentenceList(text)) {
            std::string place = file + ":" + std::to_string(s.line);
            try {
                session.NewConversation();  // each sentence opens a conversation of its own
                std::string reply = session.Say(s.text);
                Count(place, s.text, reply, session.understood());
            } catch (const std::exception& error) {
                report_.problems.push_back(place + ": " + error.what());
            }
        }
    }

    // Every seed counts towards blocks and answers; the sentences are counted once (seed 1).
    void Dialogues(const std::string& file, const std::string& text) {
        DialogueScript script = ParseDialogues(file, text);
        for (const ScriptProblem& p : script.problems)
            report_.problems.push_back(p.file + ":" + std::to_string(p.line) + ": " + p.message);
        if (!script.problems.empty()) return;
        for (const Dialogue& d : script.dialogues) {
            for (int seed = 1; seed <= seeds_; ++seed) {
                DialogueRunOptions options{brain_, static_cast<uint64_t>(seed), &trace_, {}};
                if (seed == 1)
                    options.onTurn = [&](const TurnOutcome& turn) {
                        if (turn.step->kind != DialogueStep::Kind::Say) return;
                        Count(file + ":" + std::to_string(turn.step->line), turn.step->text,
                              turn.reply, turn.understood);
                    };
                try {
                    RunDialogue(d, options);  // failing checks are the test's business
                } catch (const std::exception& error) {
                    report_.problems.push_back(file + ":" + std::to_string(d.line) + ": " + error.what());
                }
            }
        }
    }

    CoverageReport& report_;
    std::string brain_;
    int seeds_;
    CoverageTrace trace_;
};

std::string Place(const std::vector<SourcePlace>& origins, int record) {
    std::string place = "záznam " + std::to_string(record);
    if (record >= 1 && static_cast<size_t>(record) <= origins.size()) {
        const SourcePlace& o = origins[static_cast<size_t>(record) - 1];
        place = o.file + ":" + std::to_string(o.line) + " (" + place + ")";
    }
    return place;
}

std::string Percent(int part, int whole) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", whole == 0 ? 100.0 : 100.0 * part / whole);
    return text;
}

}  // namespace

int CoverageReport::MissedBlocks() const {
    int missed = 0;
    for (int b : blocks) missed += entered[static_cast<size_t>(b)] ? 0 : 1;
    return missed;
}

int CoverageReport::MissedAnswers() const {
    int missed = 0;
    for (int a : answers) missed += given[static_cast<size_t>(a)] ? 0 : 1;
    return missed;
}

CoverageReport MeasureCoverage(const std::string& brainFile, const std::vector<std::string>& corpus,
                               int seeds) {
    CoverageReport report;
    std::string content;
    if (!base::ReadWholeFile(brainFile, content))
        throw std::runtime_error("mozog \"" + brainFile + "\" sa nedá prečítať");
    DecompileResult brain = DecompileBrain(content);
    if (!brain.problem.empty()) throw std::runtime_error(brainFile + ": " + brain.problem);
    report.lines = std::move(brain.lines);
    report.entered.assign(report.lines.size() + 2, false);
    report.given.assign(report.lines.size() + 2, false);
    FindBlocksAndAnswers(report);
    std::error_code ec;
    std::string absolute = std::filesystem::absolute(brainFile, ec).string();
    CorpusRun run(report, absolute, seeds);
    for (const std::string& file : ExpandScriptArguments(corpus))
        run.File(std::filesystem::absolute(file, ec).string());
    return report;
}

std::string FormatCoverage(const CoverageReport& report, const std::vector<SourcePlace>& origins) {
    std::string out = "Bloky, do ktorých sa nevstúpilo (" + std::to_string(report.MissedBlocks()) + "):\n";
    for (int b : report.blocks) {
        if (report.entered[static_cast<size_t>(b)]) continue;
        const std::string& next = static_cast<size_t>(b) < report.lines.size() ? report.lines[b] : "";
        out += "  " + Place(origins, b) + ": " + report.lines[static_cast<size_t>(b) - 1] +
               (next.empty() || next == "->" ? "" : "  " + next) + "\n";
    }
    out += "Odpovede, ktoré nikdy neprišli (" + std::to_string(report.MissedAnswers()) + "):\n";
    for (int a : report.answers)
        if (!report.given[static_cast<size_t>(a)])
            out += "  " + Place(origins, a) + ": " + report.lines[static_cast<size_t>(a) - 1] + "\n";
    out += "Vety, ktoré skončili ako nepochopené (" + std::to_string(report.notUnderstood.size()) + "):\n";
    for (const NotUnderstood& n : report.notUnderstood)
        out += "  " + n.place + ": " + n.sentence + "  ->  " + n.reply + "\n";
    for (const std::string& p : report.problems) out += "problém: " + p + "\n";
    return out;
}

std::string CoverageSummary(const CoverageReport& report) {
    int blocks = static_cast<int>(report.blocks.size());
    int answers = static_cast<int>(report.answers.size());
    int entered = blocks - report.MissedBlocks(), given = answers - report.MissedAnswers();
    return "Pokrytie: bloky " + std::to_string(entered) + " z " + std::to_string(blocks) + " (" +
           Percent(entered, blocks) + "), odpovede " + std::to_string(given) + " z " +
           std::to_string(answers) + " (" + Percent(given, answers) + "), vety pochopené " +
           std::to_string(report.understood) + " z " + std::to_string(report.sentences) + " (" +
           Percent(report.understood, report.sentences) + ")";
}

}  // namespace tamzel::brainc
