// Dialogue tests of a brain: `tamzel-brainc --test [--seeds N] BRAIN.ai FILE.txt...`
//
// A file holds one or more dialogues, UTF-8, one directive per line. Blank lines and lines
// starting with `#` are comments; leading blanks are ignored.
//
//     @dialogue Name of the dialogue      starts a dialogue (fresh program folder, new engine)
//     @user Katka female                  the profile to sign in with, before the first turn
//                                         (`male` is the default; the user is "Tester")
//     @time 2026-12-08 14:15              the clock from here on (default: this time, a Tuesday)
//     @open                               the opening line is a turn of its own
//     @idle                               an idle turn
//     @hover                              a close-hover turn
//     @restart                            sign out (mood stored), new engine, sign in again
//     > Ahoj, ako sa máš?                 the user types this
//     = Ahoj|Čau                          the reply must contain a match of this ECMAScript
//                                         regular expression (case-sensitive)
//     ! Samé znamienka|vtip               the reply must not contain a match of it
//     ? understood                        the engine reports the input understood
//     ? not understood                    ... reports it not understood
//
// `=`, `!` and `?` lines check the reply of the nearest turn above them. A turn without a
// check only has to give a non-empty reply. The reply is checked as the window shows it:
// UTF-8, emoticon tags removed. As in the program, an engine says its opening line before
// the first sentence even without `@open` (then unchecked), also after `@restart`. A reply
// after which the brain closes the program (CLOSE) can only be followed by `@restart`.
//
// Every dialogue runs once per seed (1..N, default 3) in a temporary program folder of its
// own: the brain copied into ai/, the profile made through the profile store as the console
// makes it, so memory and mood survive `@restart`. The output has a line per dialogue, OK
// or FAIL with the first failing check (file:line, seed, the sentence, the reply, the
// check), and the closing line "N passed, N failed"; the exit code is 1 when anything
// failed or a file could not be read.
#include "tools/brainc/DialogueRunner.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "base/Files.h"
#include "base/Seams.h"
#include "base/Codepage.h"
#include "base/Tags.h"
#include "profiles/ConsoleSession.h"

namespace tamzel::brainc {

namespace {

constexpr int kDefaultYear = 2026, kDefaultMonth = 12, kDefaultDay = 8, kDefaultHour = 14,
              kDefaultMinute = 15;
constexpr uint64_t kRestartSeedStep = 1;


// "2026-12-08 14:15"; nothing when the text is not such a date and time.
std::optional<std::tm> ParseTime(const std::string& text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d%c", &y, &mo, &d, &h, &mi, &tail) != 5)
        return std::nullopt;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59)
        return std::nullopt;
    return MakeTime(y, mo, d, h, mi);
}

// UTF-8 to code points, so that a pattern's "." or "[áä]" means a letter, not a byte.
// Bytes that are not UTF-8 become U+FFFD.
std::wstring Widen(const std::string& utf8) {
    std::wstring out;
    for (size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra >= 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + k >= utf8.size()) {
                ok = false;
                break;
            }
            auto next = static_cast<unsigned char>(utf8[i + k]);
            ok = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        out.push_back(ok ? static_cast<wchar_t>(c) : L'\xFFFD');
        i += ok ? extra + 1 : 1;
    }
    return out;
}

std::string TrimBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The text after a one-character mark and the single blank that usually follows it.
std::string AfterMark(const std::string& line) {
    return line.size() > 1 && line[1] == ' ' ? line.substr(2) : line.substr(1);
}

class ScriptParser {
public:
    explicit ScriptParser(const std::string& file) : file_(file) {}

    DialogueScript Parse(const std::string& utf8) {
        size_t start = 0;
        int number = 0;
        while (start <= utf8.size()) {
            size_t end = utf8.find('\n', start);
            if (end == std::string::npos) end = utf8.size();
            std::string line = utf8.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            Line(++number, line);
            if (end == utf8.size()) break;
            start = end + 1;
        }
        CloseDialogue();
        return std::move(script_);
    }

private:
    void Problem(int line, const std::string& message) {
        script_.problems.push_back({file_, line, message});
    }

    void Line(int number, const std::string& raw) {
        size_t first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#') return;
        std::string line = raw.substr(first);
        if (line[0] == '@') return Directive(number, line);
        if (!current_) return Problem(number, "riadok pred prvým @dialogue");
        if (line[0] == '>') return AddStep(number, DialogueStep::Kind::Say, AfterMark(line));
        if (line[0] == '=' || line[0] == '!' || line[0] == '?') return AddCheck(number, line);
        Problem(number, "neznámy riadok (čakal som @..., >, =, ! alebo ?)");
    }

    void Directive(int number, const std::string& line) {
        size_t blank = line.find(' ');
        std::string word = line.substr(0, blank);
        std::string rest = blank == std::string::npos ? std::string() : TrimBlanks(line.substr(blank));
        if (word == "@dialogue") {
            CloseDialogue();
            current_ = Dialogue{};
            current_->file = file_;
            current_->line = number;
            current_->name = rest.empty() ? "(bez mena)" : rest;
            current_->start = DefaultDialogueTime();
            return;
        }
        if (!current_) return Problem(number, "riadok pred prvým @dialogue");
        if (word == "@user") return User(number, rest);
        if (word == "@time") {
            std::optional<std::tm> when = ParseTime(rest);
            if (!when) return Problem(number, "čas má tvar RRRR-MM-DD HH:MM");
            if (!HasTurn()) current_->start = *when;
            DialogueStep step;
            step.kind = DialogueStep::Kind::Time;
            step.line = number;
            step.when = *when;
            current_->steps.push_back(step);
            return;
        }
        if (word == "@open") return AddStep(number, DialogueStep::Kind::Open, "@open");
        if (word == "@idle") return AddStep(number, DialogueStep::Kind::Idle, "@idle");
        if (word == "@hover") return AddStep(number, DialogueStep::Kind::Hover, "@hover");
        if (word == "@restart") return AddStep(number, DialogueStep::Kind::Restart, "@restart");
        Problem(number, "neznámy príkaz " + word);
    }

    void User(int number, const std::string& rest) {
        if (HasTurn()) return Problem(number, "@user patrí pred prvý ťah dialógu");
        size_t blank = rest.rfind(' ');
        std::string gender = blank == std::string::npos ? std::string() : rest.substr(blank + 1);
        std::string name = rest;
        if (gender == "female" || gender == "male") {
            current_->male = gender == "male";
            name = TrimBlanks(rest.substr(0, blank));
        }
        if (name.empty()) return Problem(number, "@user potrebuje meno");
        current_->user = name;
    }

    bool HasTurn() const {
        for (const DialogueStep& s : current_->steps)
            if (s.IsTurn()) return true;
        return false;
    }

    void AddStep(int number, DialogueStep::Kind kind, const std::string& text) {
        DialogueStep step;
        step.kind = kind;
        step.line = number;
        step.text = text;
        current_->steps.push_back(step);
    }

    void AddCheck(int number, const std::string& line) {
        DialogueStep* turn = nullptr;
        for (auto it = current_->steps.rbegin(); it != current_->steps.rend() && !turn; ++it)
            if (it->IsTurn()) turn = &*it;
        if (!turn) return Problem(number, "kontrola bez ťahu nad ňou");
        DialogueCheck check;
        check.line = number;
        check.text = AfterMark(line);
        if (line[0] == '?') {
            std::string what = TrimBlanks(check.text);
            if (what == "understood") {
                check.kind = DialogueCheck::Kind::Understood;
            } else if (what == "not understood") {
                check.kind = DialogueCheck::Kind::NotUnderstood;
            } else {
                return Problem(number, "? čaká \"understood\" alebo \"not understood\"");
            }
        } else {
            check.kind = line[0] == '=' ? DialogueCheck::Kind::Contains : DialogueCheck::Kind::Lacks;
            try {
                check.pattern = std::wregex(Widen(check.text), std::regex_constants::ECMAScript);
            } catch (const std::regex_error& error) {
                return Problem(number, std::string("zlý regulárny výraz: ") + error.what());
            }
        }
        turn->checks.push_back(std::move(check));
    }

    void CloseDialogue() {
        if (!current_) return;
        if (!HasTurn()) Problem(current_->line, "dialóg nemá ani jeden ťah");
        script_.dialogues.push_back(std::move(*current_));
        current_.reset();
    }

    std::string file_;
    DialogueScript script_;
    std::optional<Dialogue> current_;
};

// What failed, in words, or nothing when the check holds.
std::optional<std::string> FailedCheck(const DialogueCheck& check, const std::string& reply,
                                       bool understood) {
    switch (check.kind) {
    case DialogueCheck::Kind::Contains:
        if (std::regex_search(Widen(reply), check.pattern)) return std::nullopt;
        return "= " + check.text + "   (odpoveď to má obsahovať)";
    case DialogueCheck::Kind::Lacks:
        if (!std::regex_search(Widen(reply), check.pattern)) return std::nullopt;
        return "! " + check.text + "   (odpoveď to nesmie obsahovať)";
    case DialogueCheck::Kind::Understood:
        if (understood) return std::nullopt;
        return "? understood   (vstup ostal nepochopený)";
    case DialogueCheck::Kind::NotUnderstood:
        if (!understood) return std::nullopt;
        return "? not understood   (vstup sa počítal ako pochopený)";
    }
    return std::nullopt;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::tm DefaultDialogueTime() {
    return MakeTime(kDefaultYear, kDefaultMonth, kDefaultDay, kDefaultHour, kDefaultMinute);
}

std::tm MakeTime(int year, int month, int day, int hour, int minute) {
    return base::LocalTime(year, month, day, hour, minute);
}

DialogueScript ParseDialogues(const std::string& file, const std::string& utf8) {
    return ScriptParser(file).Parse(utf8);
}

std::vector<std::string> ExpandScriptArguments(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    for (const std::string& a : args) {
        std::error_code ec;
        if (!std::filesystem::is_directory(a, ec)) {
            files.push_back(a);
            continue;
        }
        std::vector<std::string> inFolder;
        for (const auto& entry : std::filesystem::directory_iterator(a, ec))
            if (entry.path().extension() == ".txt") inFolder.push_back(entry.path().string());
        std::sort(inFolder.begin(), inFolder.end());
        files.insert(files.end(), inFolder.begin(), inFolder.end());
    }
    return files;
}

TemporaryProgramFolder::TemporaryProgramFolder(const std::string& brainFile) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tamzel-dialog-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("dočasný priečinok programu sa nedá vytvoriť");
    path_ = pattern;
    std::error_code ec;
    std::filesystem::create_directories(path_ + "/ai", ec);
    std::filesystem::copy_file(brainFile, path_ + "/ai/brainfile.ai", ec);
    if (ec) {
        std::filesystem::remove_all(path_, ec);
        throw std::runtime_error("mozog " + brainFile + " sa nedá skopírovať do priečinka programu");
    }
    previous_ = std::filesystem::current_path().string();
    std::filesystem::current_path(path_);
}

TemporaryProgramFolder::~TemporaryProgramFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
}

DialogueSession::DialogueSession(const std::string& userUtf8, bool male, uint64_t seed,
                                 std::tm when, engine::PassTrace* trace)
    : user_(userUtf8), male_(male), seed_(seed), when_(when), trace_(trace) {
    Start();
}

DialogueSession::~DialogueSession() {
    try {
        Stop();
    } catch (...) {
        // A session that cannot store its profile at the end has nothing left to report to.
    }
}

void DialogueSession::Start() {
    engine_ = std::make_unique<engine::Engine>();
    engine_->hooks().onFatalStop = [](const std::string& reason) {
        throw std::runtime_error(reason);
    };
    engine_->SetClock(std::make_shared<FixedClock>(when_));
    engine_->SetSeed(seed_);
    engine_->hooks().passTrace = trace_;
    auto user = profiles::SignIn(base::FromUtf8Lossy(user_), ".", male_);
    if (!user) throw std::runtime_error("prihlásenie zlyhalo: " + user.message());
    engine_->SetProfile(*user);
    NewConversation();
}

void DialogueSession::NewConversation() {
    if (base::Status loaded = engine_->InitEngine(); !loaded)
        throw std::runtime_error(base::ToUtf8(loaded.message()));
    last_ = engine::TurnResult{};
}

void DialogueSession::Stop() {
    if (!engine_) return;
    engine_->FinalizeEngine();
    base::Status stored = profiles::SignOut(engine_->Profile());
    engine_.reset();
    if (!stored) throw std::runtime_error("odhlásenie zlyhalo: " + stored.message());
}

void DialogueSession::Restart() {
    Stop();
    seed_ += kRestartSeedStep;
    Start();
}

void DialogueSession::SetTime(std::tm when) {
    when_ = when;
    engine_->SetClock(std::make_shared<FixedClock>(when_));
}

std::string DialogueSession::Shown(base::Result<engine::TurnResult> turn) {
    if (!turn) throw std::runtime_error(base::ToUtf8(turn.message()));
    last_ = std::move(turn).value();
    return base::StripTags(base::ToUtf8(last_.reply));
}

std::string DialogueSession::Opening() { return Shown(engine_->OpeningLine()); }

std::string DialogueSession::Say(const std::string& utf8) {
    return Shown(engine_->AnswerSentence(base::TypedFromUtf8(utf8)));
}

std::string DialogueSession::Idle() {
    return Shown(engine_->AnswerSentence("", engine::TurnKind::Idle));
}

std::string DialogueSession::Hover() {
    return Shown(engine_->AnswerSentence("", engine::TurnKind::Hover));
}

namespace {

// Plays the turns of one dialogue; the first failing check ends it.
class DialoguePlayer {
public:
    DialoguePlayer(const Dialogue& dialogue, const DialogueRunOptions& options)
        : dialogue_(dialogue), options_(options) {}

    std::optional<DialogueFailure> Play() {
        TemporaryProgramFolder folder(options_.brainFile);
        DialogueSession session(dialogue_.user, dialogue_.male, options_.seed, dialogue_.start,
                                options_.trace);
        bool openingDue = true;
        int closedAt = 0;  // the line of the turn after which the brain closed the program
        for (const DialogueStep& step : dialogue_.steps) {
            if (step.kind == DialogueStep::Kind::Time) {
                session.SetTime(step.when);
                continue;
            }
            if (closedAt != 0 && step.kind != DialogueStep::Kind::Restart)
                return DialogueFailure{step.line, step.line, step.text, "",
                                       "mozog po ťahu z riadku " + std::to_string(closedAt) +
                                           " zavrel program (CLOSE); ďalší ťah patrí za @restart"};
            closedAt = 0;
            std::string reply;
            try {
                if (step.kind == DialogueStep::Kind::Restart) {
                    session.Restart();
                    openingDue = true;
                    continue;
                }
                if (openingDue && step.kind != DialogueStep::Kind::Open) session.Opening();
                openingDue = false;
                reply = Turn(session, step);
            } catch (const std::exception& error) {
                return DialogueFailure{step.line, step.line, step.text, "",
                                       std::string("program sa zastavil: ") + error.what()};
            }
            bool understood = session.understood();
            if (options_.onTurn) options_.onTurn({&step, reply, understood});
            if (auto failure = Check(step, reply, understood)) return failure;
            if (session.quitRequested()) closedAt = step.line;
        }
        return std::nullopt;
    }

private:
    static std::string Turn(DialogueSession& session, const DialogueStep& step) {
        switch (step.kind) {
        case DialogueStep::Kind::Open: return session.Opening();
        case DialogueStep::Kind::Idle: return session.Idle();
        case DialogueStep::Kind::Hover: return session.Hover();
        default: return session.Say(step.text);
        }
    }

    static std::optional<DialogueFailure> Check(const DialogueStep& step, const std::string& reply,
                                                bool understood) {
        if (step.checks.empty() && TrimBlanks(reply).empty())
            return DialogueFailure{step.line, step.line, step.text, reply, "neprázdna odpoveď"};
        for (const DialogueCheck& check : step.checks)
            if (auto what = FailedCheck(check, reply, understood))
                return DialogueFailure{check.line, step.line, step.text, reply, *what};
        return std::nullopt;
    }

    const Dialogue& dialogue_;
    const DialogueRunOptions& options_;
};

void PrintFailure(const Dialogue& d, uint64_t seed, const DialogueFailure& f) {
    std::printf("FAIL  %s:%d  %s\n", d.file.c_str(), d.line, d.name.c_str());
    std::printf("      %s:%d: seed %llu, ťah z riadku %d: %s\n", d.file.c_str(), f.line,
                static_cast<unsigned long long>(seed), f.turnLine,
                f.sentence.rfind("@", 0) == 0 ? f.sentence.c_str() : ("> " + f.sentence).c_str());
    std::printf("      odpoveď: %s\n", Quoted(f.reply).c_str());
    std::printf("      kontrola: %s\n", f.check.c_str());
}

}  // namespace

std::optional<DialogueFailure> RunDialogue(const Dialogue& dialogue, const DialogueRunOptions& options) {
    return DialoguePlayer(dialogue, options).Play();
}

int RunDialogueTests(const std::string& brainFile, const std::vector<std::string>& files, int seeds) {
    std::error_code ec;
    std::string brain = std::filesystem::absolute(brainFile, ec).string();
    if (!std::filesystem::is_regular_file(brain, ec)) {
        std::fprintf(stderr, "tamzel-brainc: mozog \"%s\" nie je\n", brainFile.c_str());
        return 1;
    }
    int passed = 0, failed = 0;
    for (const std::string& file : ExpandScriptArguments(files)) {
        std::string text;
        if (!base::ReadWholeFile(file, text)) {
            std::printf("FAIL  %s: súbor sa nedá prečítať\n", file.c_str());
            ++failed;
            continue;
        }
        DialogueScript script = ParseDialogues(file, text);
        for (const ScriptProblem& p : script.problems)
            std::printf("FAIL  %s:%d: chyba v skripte: %s\n", p.file.c_str(), p.line, p.message.c_str());
        if (!script.problems.empty()) {
            failed += static_cast<int>(std::max<size_t>(1, script.dialogues.size()));
            continue;
        }
        for (const Dialogue& d : script.dialogues) {
            std::optional<DialogueFailure> failure;
            uint64_t seed = 1;
            for (; seed <= static_cast<uint64_t>(seeds) && !failure; ++seed) {
                try {
                    failure = RunDialogue(d, {brain, seed, nullptr, {}});
                } catch (const std::exception& error) {
                    failure = DialogueFailure{d.line, d.line, "@dialogue", "", error.what()};
                }
                if (failure) PrintFailure(d, seed, *failure);
            }
            if (failure) {
                ++failed;
            } else {
                ++passed;
                std::printf("OK    %s:%d  %s\n", d.file.c_str(), d.line, d.name.c_str());
            }
        }
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}

}  // namespace tamzel::brainc
