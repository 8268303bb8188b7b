// Test of engine internals.
#include "PassTranscript.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>

#include "base/Codepage.h"
#include "base/Files.h"
#include "base/ProfilePaths.h"
#include "engine/Brain.h"
#include "engine/internal/EngineCore.h"
#include "tools/brainc/DialogueRunner.h"

namespace tamzel::differential {
namespace {

namespace fs = std::filesystem;
using engine::EngineCore;

// The generators draw from mt19937, whose output the standard fixes, and never from a
// distribution, whose results may differ between standard libraries.
class Dice {
public:
    explicit Dice(uint32_t seed) : generator_(seed) {}
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(generator_() % static_cast<uint32_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T>
    const T& Pick(const std::vector<T>& items) { return items[static_cast<size_t>(Below(static_cast<int>(items.size())))]; }

private:
    std::mt19937 generator_;
};

std::string Digest(const std::string& text) {
    uint32_t h = 2166136261u;
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    char out[9];
    std::snprintf(out, sizeof out, "%08x", h);
    return out;
}

struct FatalStopped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A program folder of its own (on tmpfs when there is one, since memory writes are flushed),
// the working folder while it lives.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::string& brainBytes) {
        fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "tamzel-differential-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
        path_ = pattern;
        fs::create_directories(path_ + "/ai");
        if (base::Status written = base::WriteFileAtomically(path_ + "/ai/brainfile.ai", brainBytes);
            !written)
            throw std::runtime_error(written.message());
        previous_ = fs::current_path().string();
        fs::current_path(path_);
    }
    ~ProgramFolder() {
        fs::current_path(previous_);
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    void ForgetUsers() {
        std::error_code ec;
        fs::remove_all(path_ + "/users", ec);
    }

private:
    std::string path_;
    std::string previous_;
};

enum class TurnKind { Typed, Opening, Idle, Hover };

// One engine at a time over the folder's brain; each turn becomes one transcript line.
class Recorder {
public:
    explicit Recorder(Transcript& out) : out_(out) {}

    void Start(const std::string& userUtf8, bool male, uint64_t seed, std::tm when) {
        core_.reset();
        user_ = base::FromUtf8Lossy(userUtf8);
        male_ = male;
        seed_ = seed;
        when_ = when;
        Restart();
    }

    // A new engine for the same user: memory and mood stay, as after signing in again.
    void Restart() {
        int32_t mood = core_ ? core_->Mood : 0;
        core_ = std::make_unique<EngineCore>();
        core_->UserName = user_;
        core_->UserIsMale = male_;
        core_->Mood = mood;
        core_->SetClock(std::make_shared<brainc::FixedClock>(when_));
        auto random = std::make_shared<base::Random>();
        random->Seed(seed_++);
        core_->SetRandom(random);
        core_->keepSeed = true;
        core_->hooks.onFatalStop = [](const std::string& reason) { throw FatalStopped(reason); };
        core_->hooks.onReportError = [this](const std::string& m) { diagnostics_ += m + '\n'; };
        core_->hooks.onMemoryProblem = [this](const std::string& m) { diagnostics_ += m + '\n'; };
        core_->hooks.onRunProgram = [this](const std::string& p) { diagnostics_ += "run " + p + '\n'; };
        fs::create_directories(base::ProfileFolder(user_));
        core_->InitEngine();
    }

    void SetTime(std::tm when) {
        when_ = when;
        core_->SetClock(std::make_shared<brainc::FixedClock>(when_));
    }

    void Turn(TurnKind kind, const std::string& utf8 = {}) {
        static const char* const kMarks[] = {"> ", "@open", "@idle", "@hover"};
        std::string line = kMarks[static_cast<int>(kind)] + utf8 + "\t=> ";
        diagnostics_.clear();
        try {
            line += base::ToUtf8(Answer(kind, utf8));
        } catch (const FatalStopped& stop) {
            line += "FATAL " + base::ToUtf8(stop.what());
            out_.text += line + '\n';
            ++out_.turns;
            Restart();
            return;
        } catch (const engine::IoError& error) {
            line += "IOERROR " + base::ToUtf8(error.what());
        }
        out_.text += line + '\t' + State() + '\n';
        ++out_.turns;
    }

private:
    std::string Answer(TurnKind kind, const std::string& utf8) {
        EngineCore& e = *core_;
        if (kind == TurnKind::Opening) return e.OpeningLine();
        e.IdleTurn = kind == TurnKind::Idle;
        e.HoverTurn = kind == TurnKind::Hover;
        struct Unmark {
            EngineCore& e;
            ~Unmark() { e.IdleTurn = e.HoverTurn = false; }
        } unmark{e};
        return e.AnswerSentence(kind == TurnKind::Typed ? base::TypedFromUtf8(utf8) : std::string());
    }

    std::string State() const {
        const EngineCore& e = *core_;
        std::string history, variables, sentences, captures;
        for (int32_t r : e.AnswerHistory) history += std::to_string(r) + ',';
        for (const engine::Variable& v : e.Variables)
            if (!v.free) variables += v.name + '=' + v.value + ';';
        for (const std::string& c : e.Captures) captures += c + ';';
        sentences = e.LastInput + '|' + e.LastAnswer + '|' + e.CurrentInput + '|' + e.WholeInput;
        std::string memory;
        base::ReadWholeFile(e.MemoryFilePath(), memory);
        std::ostringstream s;
        s << (e.InputUnderstood ? 'u' : 'n') << (e.QuitRequested ? "q" : "") << " mood=" << e.Mood
          << " hist=" << e.AnswerHistory.size() << ':' << Digest(history)
          << " mem=" << Digest(memory) << " vars=" << Digest(variables)
          << " caps=" << Digest(captures) << " sent=" << Digest(sentences)
          << " diag=" << Digest(diagnostics_) << " rec=" << e.RecordNumber;
        return s.str();
    }

    Transcript& out_;
    std::unique_ptr<EngineCore> core_;
    std::string user_;
    bool male_ = true;
    uint64_t seed_ = 1;
    std::tm when_{};
    std::string diagnostics_;
};

std::tm DefaultTime() { return brainc::MakeTime(2026, 12, 8, 14, 30); }

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') lines.push_back(line);
    return lines;
}

std::string ReadFile(const std::string& path) {
    std::string text;
    base::ReadWholeFile(path, text);
    return text;
}

// --- Random sentences ------------------------------------------------------------------

std::string RandomSentence(Dice& dice, const std::vector<std::string>& words) {
    static const std::vector<std::string> kEnds = {".", "?", "!", "", "...", " ?"};
    std::string sentence;
    int count = 1 + dice.Below(7);
    for (int i = 0; i < count; ++i) {
        if (i > 0) sentence += dice.Chance(10) ? ", " : " ";
        std::string word = dice.Pick(words);
        if (i == 0 && dice.Chance(40) && !word.empty() && word[0] >= 'a' && word[0] <= 'z')
            word[0] = static_cast<char>(word[0] - 'a' + 'A');
        sentence += word;
    }
    return sentence + dice.Pick(kEnds);
}

// One to three random sentences, now and then the previous input again (a repeat), typing
// with no vowels, a tag or a lone mark.
std::string RandomInput(Dice& dice, const std::vector<std::string>& words, const std::string& previous) {
    if (dice.Chance(5) && !previous.empty()) return previous;
    if (dice.Chance(2)) return "qwrtzpkl mnbvcx";
    if (dice.Chance(2)) return "<smile> ahoj | " + dice.Pick(words);
    if (dice.Chance(1)) return "?!";
    std::string input = RandomSentence(dice, words);
    for (int more = dice.Chance(25) ? 1 + dice.Below(2) : 0; more > 0; --more)
        input += " " + RandomSentence(dice, words);
    return input;
}

void RandomConversation(Recorder& recorder, Dice& dice, const std::vector<std::string>& words, int turns) {
    std::string previous;
    recorder.Turn(TurnKind::Opening);
    for (int t = 0; t < turns; ++t) {
        int kind = dice.Below(100);
        if (kind < 3) {
            recorder.Turn(TurnKind::Idle);
        } else if (kind < 5) {
            recorder.Turn(TurnKind::Hover);
        } else if (kind < 6) {
            recorder.Restart();
            recorder.Turn(TurnKind::Opening);
        } else {
            previous = RandomInput(dice, words, previous);
            recorder.Turn(TurnKind::Typed, previous);
        }
    }
}

std::vector<std::string> WordsOf(const std::vector<std::string>& sentences) {
    std::vector<std::string> words;
    for (const std::string& s : sentences) {
        std::istringstream in(s);
        for (std::string w; in >> w;) {
            while (!w.empty() && std::string(".,!?").find(w.back()) != std::string::npos) w.pop_back();
            if (!w.empty()) words.push_back(w);
        }
    }
    return words;
}

// --- The shipped brain -------------------------------------------------------------------

void UnderstandingSet(Recorder& recorder, ProgramFolder& folder, const std::vector<std::string>& sentences) {
    constexpr size_t kTurnsPerConversation = 40;
    const struct {
        const char* name;
        bool male;
    } users[] = {{"Peter", true}, {"Eva", false}};
    for (const auto& user : users) {
        folder.ForgetUsers();
        recorder.Start(user.name, user.male, 11, DefaultTime());
        recorder.Turn(TurnKind::Opening);
        for (size_t i = 0; i < sentences.size(); ++i) {
            if (i > 0 && i % kTurnsPerConversation == 0) {
                recorder.Restart();
                recorder.Turn(TurnKind::Opening);
            }
            recorder.Turn(TurnKind::Typed, sentences[i]);
        }
    }
}

void DialogueScripts(Recorder& recorder, ProgramFolder& folder, const std::string& sourceDir) {
    std::vector<std::string> files = brainc::ExpandScriptArguments({sourceDir + "/tests/brain/dialogues"});
    for (const std::string& file : files) {
        brainc::DialogueScript script = brainc::ParseDialogues(file, ReadFile(file));
        for (const brainc::Dialogue& d : script.dialogues) {
            folder.ForgetUsers();
            recorder.Start(d.user, d.male, 1, d.start);
            bool opened = false;
            for (const brainc::DialogueStep& step : d.steps) {
                using Kind = brainc::DialogueStep::Kind;
                if (step.kind == Kind::Restart) {
                    recorder.Restart();
                    opened = false;
                    continue;
                }
                if (step.kind == Kind::Time) {
                    recorder.SetTime(step.when);
                    continue;
                }
                if (step.kind != Kind::Open && !opened) recorder.Turn(TurnKind::Opening);
                opened = true;
                if (step.kind == Kind::Open) recorder.Turn(TurnKind::Opening);
                if (step.kind == Kind::Say) recorder.Turn(TurnKind::Typed, step.text);
                if (step.kind == Kind::Idle) recorder.Turn(TurnKind::Idle);
                if (step.kind == Kind::Hover) recorder.Turn(TurnKind::Hover);
            }
        }
    }
}

// --- Generated brains --------------------------------------------------------------------

// Folded condition words, and the sentence words that hold them (with diacritics).
const std::vector<std::string> kConditionWords = {
    "pes", "macka", "auto", "dom", "skola", "mama", "otec", "kniha", "hra", "futbal",
    "pizza", "caj", "kava", "dnes", "zajtra", "prsi", "slnko", "more", "vlak", "som rad",
    "volam sa", "mam", "si", "ja"};
// Words no random sentence holds: blocks that test them fail, so passes reach the end.
const std::vector<std::string> kRareWords = {"lietadlo", "ryba", "hrad", "jablko", "zima", "leto",
                                             "cukor", "hrniec"};

const std::vector<std::string> kSentenceWords = {
    "pes", "mačka", "auto", "dom", "škola", "mama", "otec", "kniha", "hra", "futbal", "pizza",
    "čaj", "káva", "dnes", "zajtra", "prší", "slnko", "more", "vlak", "hory", "ja", "som", "si",
    "ty", "mám", "rád", "rada", "nemám", "volám", "sa", "Peter", "Žofia", "je", "to", "a",
    "ale", "veľmi", "5", "12", "2005", "idiot", "si múdry", "super", "mravec", "aeiou"};

class BrainWriter {
public:
    BrainWriter(uint32_t seed, int rarePercent, bool withFatalBranch)
        : dice_(seed), rarePercent_(rarePercent), fatal_(withFatalBranch) {}

    std::string Build(int blocks) {
        Line("RELEASE(x)");
        Line("VAR(x)");
        Line("SET(x,<#PREM(x)>[+]1)");
        Line("   ");
        Line("IF(1)");
        Line("#UVODNA");
        Line("->");
        Answers(3);
        Line("<-");
        if (fatal_) FatalBranch();
        for (int b = 0; b < blocks; ++b) {
            if (dice_.Chance(8)) Line(dice_.Pick(kRewrites));
            Block(0);
        }
        Line("IF(2)");
        Line("SENTENCE(LAST_USER)");
        Line("?(" + Item() + ")");
        Line("->");
        Line(base::Cp1250("-Minule si spomenul <#C2>."));
        Line("<-");
        Line("UNKNOWN");
        Answers(4);
        // A block that the brain's end cuts off before its "->".
        Line("IF(3)");
        Line("?( pes )");
        return engine::BuildBrainFile(area_);
    }

private:
    void Line(const std::string& text) {
        area_ += engine::EncodeRecord(text, static_cast<uint8_t>(dice_.Below(256)));
    }

    std::string Word() { return dice_.Pick(dice_.Chance(rarePercent_) ? kRareWords : kConditionWords); }
    std::string Item() {
        std::string w = Word();
        int shape = dice_.Below(4);
        if (shape == 0) return w;
        if (shape == 1) return " " + w;
        if (shape == 2) return w + " ";
        return " " + w + " ";
    }

    // A test that holds only for some sentences, so that most blocks fail and the pass goes
    // on to later ones.
    std::string WordTest() {
        switch (dice_.Below(12)) {
        case 0: return "?(" + Item() + ";" + Item() + ")";
        case 1: return "?(<SOMEOF(" + Item() + ";" + Item() + ";" + Item() + ")>)";
        case 2: return dice_.Chance(50) ? "?(<#NADAVKY>)" : "?(<#POCHVALY>)";
        case 3: return "?(" + dice_.Pick(kSelectors) + "," + Item() + ")";
        case 4: return "?(<#PAMAT(user,zvierata,ALL)>)";
        case 5: return base::Cp1250("?( mačka ;" + Item() + ")");
        case 6: return dice_.Pick(kRareFlags);
        default: return "?(" + Item() + ")";
        }
    }

    std::string Condition() {
        std::string w = Word();
        std::string slot = std::to_string(1 + dice_.Below(10));
        switch (dice_.Below(22)) {
        case 0: return "?(" + Item() + ";" + Item() + ")";
        case 1: return "!?(" + Item() + ")";
        case 2: return "?(<SOMEOF(" + Item() + ";" + Item() + ";" + Item() + ")>)";
        case 3: return dice_.Chance(50) ? "?(<#NADAVKY>)" : "?(<#POCHVALY>)";
        case 4: return "?(" + dice_.Pick(kSelectors) + "," + Item() + ")";
        case 5: return "?(<#PAMAT(user,zvierata,ALL)>)";
        case 6: return "#SLOV(" + std::to_string(1 + dice_.Below(5)) + ")";
        case 7: return "#SLOV(LAST_USER," + std::to_string(1 + dice_.Below(4)) + ")";
        case 8: return dice_.Pick(kFlags);
        case 9: return "=(<#C" + slot + ">," + Item() + ")";
        case 10: return "<(<#POZ(" + w + ")>," + std::to_string(dice_.Below(6)) + ")";
        case 11: return ">(<#PREM(x)>," + std::to_string(dice_.Below(9)) + ")";
        case 12: return "#CISLO(<#PREM(x)>)";
        case 13: return "   ?(" + Item() + ")";
        case 14: return dice_.Chance(50) ? "nezname riadky" : "";
        case 15: return base::Cp1250("?( mačka ;" + Item() + ")");
        case 16: return "!#SUVET";
        case 17: return "?(" + Item() + ";<#C" + slot + ">)";
        case 18: return "?(THIS_USER," + Item() + ")";
        default: return "?(" + Item() + ")";
        }
    }

    void Answers(int count) {
        for (int i = 0; i < count; ++i) Line("-" + base::Cp1250(dice_.Pick(kAnswers)));
    }

    void Branch(int depth, int answerPercent) {
        for (int c = dice_.Below(3); c > 0; --c) Line(dice_.Pick(kCommands));
        if (depth < 2 && dice_.Chance(15)) Block(depth + 1);
        if (dice_.Chance(answerPercent)) Answers(1 + dice_.Below(4));
        if (answerPercent > 50 && dice_.Chance(5)) Line("  -" + base::Cp1250(dice_.Pick(kAnswers)));
    }

    void Block(int depth) {
        int n = dice_.Chance(50) ? 1 : 1 + dice_.Below(10);
        Line(dice_.Chance(3) ? "IF(" + std::to_string(n) : "IF(" + std::to_string(n) + ")");
        Line(WordTest());
        for (int c = dice_.Below(3); c > 0; --c) Line(Condition());
        if (dice_.Chance(15)) {
            Line("OR");
            Line(WordTest());
            for (int c = dice_.Below(2); c > 0; --c) Line(Condition());
        }
        Line("->");
        Branch(depth, 75);
        if (dice_.Chance(6)) {
            Line("ELSE");
            // An else-branch that answers would end most passes at its block.
            Branch(depth, 4);
        }
        Line("<-");
    }

    // After "vlak" another sentence stays selected, so the next block 1 stops the program.
    void FatalBranch() {
        Line("IF(4)");
        Line("?( vlak )");
        Line("->");
        Line("IF(5)");
        Line("SENTENCE(LAST_COMP)");
        Line("?(a)");
        Line("->");
        Line("-Vlak.[++]");
        Line("<-");
        Line("<-");
        Line("IF(1)");
        Line("?( vlak )");
        Line("->");
        Line("-Sem sa nedostaneme.");
        Line("<-");
    }

    const std::vector<std::string> kSelectors = {"LAST_USER", "LAST_COMP", "WHOLE_USER", "THIS_USER"};
    const std::vector<std::string> kFlags = {"#SUVET", "#NEZMYSL", "#MUZ", "#ZENA_", "#OPAKOVAL",
                                             "#PRVYKRAT", "#NUD", "#ODCHADZA", "#UVODNA"};
    const std::vector<std::string> kRareFlags = {"#NUD", "#ODCHADZA", "#UVODNA", "#OPAKOVAL", "#NEZMYSL"};
    const std::vector<std::string> kRewrites = {"INSERT(velmi ,rad )", "REPLACE(si, som )",
                                                "INSERT(LAST_USER,naozaj , je )",
                                                "REPLACE(WHOLE_USER,tam, tu )", "REPLACE(x,nic)"};
    const std::vector<std::string> kCommands = {
        "MEM(user,zvierata,<#C1>)", "MEM(user,pes,<#DALSIE(mam)>)", "FORGET(user,zvierata,pes)",
        "FORGET(user,pes)", "MOOD(+2)", "MOOD(-3)", "MOOD(5)", "SET(x,<#PREM(x)>[+]1)",
        "SET(y,<#C1>[+]abc)", "SET(x,<#PREM(x)>[*]2)", "SET(x,20[-]<#PREM(x)>)",
        "SET(x,<#PREM(x)>[/]0)", "SET(x,<#PREM(x)>[/]3)", "VAR(y)", "RELEASE(y)", "DONE",
        "INSERT(velmi ,rad )", "REPLACE(si, som )", "RUN(help/index.htm)", "SENTENCE(LAST_COMP)",
        "MEM(auto,farba,<#ZVYSOK(farba je)>)", "FORGET(auto)", "SET(z,<#C2>)"};
    const std::vector<std::string> kAnswers = {
        "Povedal si <#C1>.", "Zvyšok: <#ZVYSOK(som)>.", "<#ODRAZ(ja)>?", "Ďalej<#DALSIE(mam)>.",
        "Slovo je na mieste <#POZ(pes)>.", "Ahoj, |!", "Bol<#ROD(,a)> si tu.",
        "<#ROD(Mal si,Mala si)> pravdu.", "Číslo <#NAHODA(7)>.",
        "Pamätám si <#PAMAT(user,zvierata,ALL)>", "Nálada <#NALADA>.", "<#NALADA(+1)>Dobre.",
        "x je <#PREM(x)>, y je <#PREM(y)>.", "<#VELKE(<#C2>)> je pekné.",
        "Opakuješ <#POCET_ZOPAKOV>.", "Nudíš sa <#POCET_NUD>.",
        "Dnes je <#DN>.<#MESC>.<#ROK>, <#HOD>:<#MINUT>, deň <#DEN_TYZDNA>.",
        "Máš <#VEK(24.12.2005)> rokov.", "Prvé je <#PAMAT(user,zvierata,1)>",
        "Náhodné je <#PAMAT(user,zvierata,RND)>", "<#VELKE(SLOVA,nové mesto nad váhom)>",
        "Jasné.[++]", " a ešte niečo.", "", "Ďakujem, <#ZVYSOK(LAST_USER,som)>.",
        "Minule som povedal <#ZVYSOK(LAST_COMP,je)>.", "Auto je <#PAMAT(auto,farba,1)>",
        "<#C3> a <#C10>.", "Hm.", "To je zaujímavé.", "Povedz mi viac."};

    Dice dice_;
    int rarePercent_;
    bool fatal_;
    std::string area_;
};

Transcript GeneratedBrain(const std::string& name, uint32_t seed, int blocks, int rarePercent,
                          bool fatal) {
    constexpr int kTurns = 700;
    Transcript out;
    out.name = name;
    std::string brain = BrainWriter(seed, rarePercent, fatal).Build(blocks);
    out.text = "brain " + Digest(brain) + '\n';
    ProgramFolder folder(brain);
    Recorder recorder(out);
    Dice dice(seed * 7 + 1);
    std::vector<std::string> words = kSentenceWords;
    constexpr int kTurnsPerConversation = 50;
    for (int done = 0, c = 0; done < kTurns; done += kTurnsPerConversation, ++c) {
        if (c % 3 == 0) folder.ForgetUsers();
        recorder.Start(c % 2 == 0 ? "Jano" : "Žofia", c % 2 == 0, seed + static_cast<uint32_t>(c),
                       brainc::MakeTime(2026, 1 + c % 12, 1 + c % 28, c % 24, (c * 7) % 60));
        RandomConversation(recorder, dice, words, kTurnsPerConversation);
    }
    return out;
}

}  // namespace

std::string BrainLine(const std::string& transcriptText) {
    return transcriptText.substr(0, transcriptText.find('\n'));
}

Transcript ShippedBrainTranscript(const std::string& brainFile, const std::string& sourceDir) {
    Transcript out;
    out.name = "shipped";
    std::string brain = ReadFile(brainFile);
    if (brain.empty()) return out;
    out.text = "brain " + Digest(brain) + '\n';
    ProgramFolder folder(brain);
    Recorder recorder(out);
    std::vector<std::string> sentences = ReadLines(sourceDir + "/tests/brain/understanding.txt");
    UnderstandingSet(recorder, folder, sentences);
    DialogueScripts(recorder, folder, sourceDir);
    Dice dice(2026);
    std::vector<std::string> words = WordsOf(sentences);
    constexpr int kConversations = 30, kTurns = 50;
    for (int c = 0; c < kConversations; ++c) {
        folder.ForgetUsers();
        recorder.Start(c % 2 == 0 ? "Martin" : "Zuzana", c % 2 == 0, 100 + static_cast<uint64_t>(c),
                       brainc::MakeTime(2026, 1 + c % 12, 1 + (c * 5) % 28, (c * 5) % 24, 15));
        RandomConversation(recorder, dice, words, kTurns);
    }
    return out;
}

std::vector<Transcript> GeneratedBrainTranscripts() {
    return {GeneratedBrain("generated-small", 17, 60, 70, false),
            GeneratedBrain("generated-medium", 29, 180, 40, true),
            GeneratedBrain("generated-large", 43, 400, 85, false)};
}

}  // namespace tamzel::differential
