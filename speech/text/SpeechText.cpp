#include "speech/text/SpeechText.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "base/Codepage.h"
#include "speech/text/NumberWords.h"

namespace tamzel::speech {
namespace {


// A set of Windows-1250 characters, given in UTF-8 for readability.
class CharSet {
public:
    explicit CharSet(const char* utf8) {
        for (char c : base::Cp1250(utf8)) in_[static_cast<unsigned char>(c)] = true;
    }
    bool operator()(char c) const { return in_[static_cast<unsigned char>(c)]; }

private:
    std::array<bool, 256> in_{};
};

struct Rewrite {
    std::string pattern, replacement;
};

// Character classes and rewrite tables, converted to Windows-1250 once.
struct Tables {
    // ŕ and ĺ are read as r and l (there is no long unit for them), never dropped.
    CharSet allowed{"!+,.0123456789<>?abcdefghijklmnopqrstuvwxyzšťžľáäčéíďňóôúýŕĺ"};
    CharSet kept{"()+0123456789@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]_abcdefghijklmnopqrstuvwxyz{}"
                 "ŠŤŽšťžÁČÉÍĎŇÓÚÝáčéíďňóúý"};
    CharSet nucleus{"1234aeiloruyáéíóúý"};
    CharSet vowel{"1234aeiouyáéíóúý"};
    CharSet consonant{"_bcdfghjklmnpqrstvwxzšťžčďň"};
    std::string voiceless = base::Cp1250("ptťkcčsš_f");
    std::string voiced = base::Cp1250("bdďg()zžhv");
    std::array<unsigned char, 256> lower{};
    // Rules 2..24 of the letter-group rewrite; rule 1 (the user's name) is built per call.
    std::vector<Rewrite> rewrites;
    std::vector<Rewrite> voicingExceptions;

    Tables() {
        for (int c = 0; c < 256; ++c) lower[c] = static_cast<unsigned char>(c);
        for (int c = 'A'; c <= 'Z'; ++c) lower[c] = static_cast<unsigned char>(c - 'A' + 'a');
        std::string upper = base::Cp1250("ĽŠČŤŽÝÁÍÉÚÔÄŇĎÓŔĹ"), low = base::Cp1250("ľščťžýáíéúôäňďóŕĺ");
        for (size_t i = 0; i < upper.size(); ++i)
            lower[static_cast<unsigned char>(upper[i])] = static_cast<unsigned char>(low[i]);
        const char* rules[][2] = {
            {"ô", "uo"}, {"dz", "("}, {"dž", ")"}, {"ch", "_"}, {"ts", "c"}, {"ds", "c"},
            {"ov ", "ou "}, {"q", "kv"}, {"x", "ks"}, {"ľ", "l"}, {"ŕ", "r"}, {"ĺ", "l"}, {"ä", "e"}, {"ia", "1"},
            {"ie", "2"}, {"io", "3"}, {"iu", "4"}, {"<smile>", "5555555555"},
            {"<sad>", "6666666666"}, {"<nuda>", "7777777777"}, {"<zmurk>", "8888888888"},
            {"<mad1>", "9999999999"}, {"<mad2>", "0000000000"}, {"<yes>", "[@]@[@]@"},
            {"<no>", "{@}@{@}@"}};
        for (auto& r : rules) rewrites.push_back({base::Cp1250(r[0]), base::Cp1250(r[1])});
        const char* exceptions[][2] = {{"~sme~", "~zme~"}, {"~nášmu~", "~nážmu~"},
                                       {"~vášmu~", "~vážmu~"}, {"~so~s", "~zo~s"}};
        for (auto& r : exceptions) voicingExceptions.push_back({base::Cp1250(r[0]), base::Cp1250(r[1])});
    }
};

const Tables& T() {
    static const Tables tables;
    return tables;
}

bool IsMark(char c) { return c == '!' || c == ',' || c == '.' || c == '?'; }
bool IsBoundary(char c) { return c == '~' || IsMark(c); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsVoiceless(char c) { return T().voiceless.find(c) != std::string::npos; }
bool IsVoiced(char c) { return T().voiced.find(c) != std::string::npos; }
char VoicelessPair(char c) { return T().voiceless[T().voiced.find(c)]; }
char VoicedPair(char c) { return T().voiced[T().voiceless.find(c)]; }

// Replaces the first occurrence; true when there was one.
bool ReplaceFirst(std::string& text, const std::string& pattern, const std::string& by) {
    size_t at = text.find(pattern);
    if (at == std::string::npos) return false;
    text.replace(at, pattern.size(), by);
    return true;
}

// ---- The steps, in the order PrepareSpeechText runs them ---------------------------------

void ReplaceDisallowed(std::string& t) {
    for (char& c : t)
        if (!T().allowed(c)) c = ' ';
}

// Digit runs outside tags become words; digits inside a tag ("<mad1>") stay.
void SpellNumbers(std::string& t) {
    bool inTag = false;
    for (size_t i = 0; i < t.size();) {
        if (t[i] == '<') inTag = true;
        if (t[i] == '>') inTag = false;
        if (inTag || !IsDigit(t[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < t.size() && IsDigit(t[end])) ++end;
        std::string words = NumberToWords(std::string_view(t).substr(i, end - i));
        t.replace(i, end - i, words);
        i += words.size();
    }
}

void PadWithSpaces(std::string& t) {
    if (t.empty() || t.front() != ' ') t.insert(t.begin(), ' ');
    if (t.back() != ' ') t.push_back(' ');
}

void SpaceMarks(std::string& t) {
    for (size_t i = 0; i < t.size(); ++i) {
        if (!IsMark(t[i])) continue;
        if (i > 0 && t[i - 1] != ' ') t.insert(i++, 1, ' ');
        if (i + 1 < t.size() && t[i + 1] != ' ') t.insert(i + 1, 1, ' ');
    }
}

// "k", "s", "v", "z" standing alone are spoken with the next word.
void JoinPrepositions(std::string& t) {
    for (size_t i = 1; i + 1 < t.size(); ++i) {
        char c = t[i];
        bool preposition = c == 'k' || c == 's' || c == 'v' || c == 'z';
        if (preposition && t[i - 1] == ' ' && t[i + 1] == ' ') t.erase(i + 1, 1);
    }
}

// d, t, n before e or i are soft: ď, ť, ň.
void Soften(std::string& t) {
    for (size_t i = 0; i + 1 < t.size(); ++i) {
        if (t[i + 1] != 'e' && t[i + 1] != 'i') continue;
        char up = (t[i] >= 'a' && t[i] <= 'z') ? static_cast<char>(t[i] - 'a' + 'A') : t[i];
        if (up == 'D') t[i] = '\xEF';
        if (up == 'T') t[i] = '\x9D';
        if (up == 'N') t[i] = '\xF2';
    }
}

// The user's name, where it stands as a word, becomes its pronunciation. Bounded: when the
// pronunciation holds the name as a word, each occurrence is replaced once, left to right.
void ReplaceName(std::string& t, const std::string& name, const std::string& pronunciation) {
    if (name.empty() || name == pronunciation) return;
    std::string pattern = " " + name + " ", by = " " + pronunciation + " ";
    if (by.find(pattern) != std::string::npos) {
        for (size_t at = t.find(pattern); at != std::string::npos;
             at = t.find(pattern, at + by.size() - 1))
            t.replace(at, pattern.size(), by);
        return;
    }
    for (int n = 0; n < kMaxNameReplacements && ReplaceFirst(t, pattern, by); ++n) {
    }
}

// The name as the answer holds it by now: lower case and softened like the text, so that
// names such as Peter (peťer) or Štefan (šťefan) are found.
std::string NameAsInText(const std::string& name) {
    std::string form = TextBeforeDictionary(name);
    size_t a = form.find_first_not_of(' '), b = form.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : form.substr(a, b - a + 1);
}

// The first occurrence of each pattern in a text, kept up to date as the text changes. The
// passes below would otherwise search a long text from its start for every rule at every
// pass: an answer holding a few thousand "ô" took seconds. Positions are those a fresh
// search would give.
class FirstOccurrences {
public:
    FirstOccurrences(const std::string& text, std::vector<const std::string*> patterns)
        : t_(text), patterns_(std::move(patterns)) {
        for (const std::string* p : patterns_) first_.push_back(t_.find(*p));
    }
    size_t First(size_t rule) const { return first_[rule]; }

    // Replaces the first occurrence of pattern `rule` in the tracked text; true when there was one.
    bool ReplaceFirst(std::string& text, size_t rule, const std::string& by) {
        size_t at = first_[rule];
        if (at == std::string::npos) return false;
        size_t removed = patterns_[rule]->size();
        text.replace(at, removed, by);
        Changed(at, removed, by.size());
        return true;
    }

    // The text's bytes [at, at + removed) have just been replaced by `added` bytes.
    void Changed(size_t at, size_t removed, size_t added) {
        for (size_t r = 0; r < patterns_.size(); ++r) {
            const std::string& p = *patterns_[r];
            size_t& q = first_[r];
            if (q != std::string::npos && q + p.size() <= at) continue;  // before the change
            // A new match must overlap the new bytes; anything later was there before.
            size_t from = at + 1 >= p.size() ? at + 1 - p.size() : 0;
            size_t end = std::min(t_.size(), at + added + p.size() - 1);
            size_t w = from < end ? std::string_view(t_).substr(from, end - from).find(p)
                                  : std::string_view::npos;
            if (w != std::string_view::npos) q = from + w;
            else if (q == std::string::npos) continue;
            else if (q >= at + removed) q = q - removed + added;
            else q = t_.find(p, at + added);  // the first match was replaced: the next one
        }
    }

private:
    const std::string& t_;
    std::vector<const std::string*> patterns_;
    std::vector<size_t> first_;
};

// Letter groups and tags, one first occurrence per rule per pass, until a pass is idle.
// Rule 1 (the name joined to its neighbours) fires at most kMaxNameReplacements times.
void RewriteLetterGroups(std::string& t, const std::string& name, const std::string& pron) {
    std::string nameInText = NameAsInText(name);
    std::string namePattern = " " + nameInText + " ";
    std::string nameSpoken = LowerCaseText(pron);
    std::vector<const std::string*> patterns = {&namePattern};
    for (const Rewrite& r : T().rewrites) patterns.push_back(&r.pattern);
    FirstOccurrences first(t, patterns);
    auto replace = [&](size_t rule, const std::string& by) { return first.ReplaceFirst(t, rule, by); };
    int nameFirings = 0;
    for (bool changed = true; changed;) {
        changed = false;
        if (!nameInText.empty() && nameFirings < kMaxNameReplacements && replace(0, nameSpoken)) {
            ++nameFirings;
            changed = true;
        }
        for (size_t i = 0; i < T().rewrites.size(); ++i)
            changed |= replace(i + 1, T().rewrites[i].replacement);
    }
}

// Spaces, "<", ">", "-" and what is left of unknown tags become pauses.
void ToUnitCharacters(std::string& t) {
    for (char& c : t)
        if (!T().kept(c) && !IsMark(c)) c = '~';
}

void SplitAfterP(std::string& t) {
    for (size_t i = 0; i + 1 < t.size(); ++i)
        if (t[i] == 'p' && t[i + 1] != '-' && t[i + 1] != '~') t.insert(i + 1, 1, '-');
}

void ExpandDiphthongs(std::string& t) {
    static const char* kExpanded[] = {"ia", "ie", "io", "iu"};
    std::string out;
    out.reserve(t.size() + 8);
    for (char c : t) {
        if (c >= '1' && c <= '4') out += kExpanded[c - '1'];
        else out += c;
    }
    t = std::move(out);
}

void MarksToPauses(std::string& t) {
    for (char& c : t)
        if (IsMark(c)) c = '~';
}

}  // namespace

std::string LowerCaseText(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(T().lower[static_cast<unsigned char>(c)]);
    return out;
}

void AssimilateVoicing(std::string& t) {
    const size_t len = t.size();
    for (size_t i = 0; i < len; ++i) {
        char& c = t[i];
        bool twoFollow = i + 2 < len, oneFollows = i + 1 < len;
        if (IsVoiced(c)) {
            // A word-final voiced consonant before a voiceless start or a mark.
            if (twoFollow && t[i + 1] == '~' && (IsVoiceless(t[i + 2]) || IsMark(t[i + 2])))
                c = VoicelessPair(c);
            if (IsVoiced(c) && oneFollows && IsVoiceless(t[i + 1])) c = VoicelessPair(c);
        }
        if (IsVoiceless(c)) {
            // A word-final voiceless consonant before a word that starts voiced or vocalic.
            char after = twoFollow ? t[i + 2] : '\0';
            if (twoFollow && t[i + 1] == '~' && !IsVoiceless(after) && !IsMark(after) && after != '~')
                c = VoicedPair(c);
            if (IsVoiceless(c) && oneFollows && IsVoiced(t[i + 1]) && t[i + 1] != 'v')
                c = VoicedPair(c);
        }
    }
    const std::vector<Rewrite>& rules = T().voicingExceptions;
    std::vector<const std::string*> patterns;
    for (const Rewrite& r : rules) patterns.push_back(&r.pattern);
    FirstOccurrences first(t, patterns);
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t i = 0; i < rules.size(); ++i)
            changed |= first.ReplaceFirst(t, i, rules[i].replacement);
    }
}

void MarkSyllables(std::string& t) {
    if (t.empty()) return;
    const Tables& tb = T();
    bool nucleusSeen = tb.nucleus(t[0]);
    // i is 0-based here; it starts at the second character.
    for (size_t i = 1; i < t.size(); ++i) {
        char c = t[i], before = t[i - 1];
        bool last = i + 1 == t.size();
        if (tb.nucleus(c)) nucleusSeen = true;
        if (tb.vowel(before) && tb.vowel(c) && nucleusSeen) {
            t.insert(i, 1, '-');  // the vowel is now at i + 1
            if (i + 2 < t.size() && !IsBoundary(t[i + 2]) && t[i + 2] != '-') t.insert(i + 2, 1, '-');
            nucleusSeen = false;
        } else if (tb.consonant(c) && tb.vowel(before) && !last && tb.vowel(t[i + 1]) &&
                   nucleusSeen) {
            t.insert(i, 1, '-');
            nucleusSeen = false;
        } else if (tb.consonant(before) && tb.consonant(c) && before != 'l' && before != 'r' &&
                   c != 'l' && c != 'r' && (i < 2 || (t[i - 2] != ' ' && !IsBoundary(t[i - 2]))) &&
                   !last && t[i + 1] != '-' && !IsBoundary(t[i + 1]) && nucleusSeen) {
            t.insert(i, 1, '-');
            nucleusSeen = false;
        }
    }
}

std::string TextBeforeDictionary(const std::string& text) {
    std::string t = LowerCaseText(text);
    ReplaceDisallowed(t);
    SpellNumbers(t);
    PadWithSpaces(t);
    SpaceMarks(t);
    JoinPrepositions(t);
    Soften(t);
    return t;
}

namespace {

// The named steps in their order; the dictionary step throws SpeechError.
PreparedSpeech RunPipeline(const SpeechRequest& rq) {
    std::string t = rq.text;
    auto step = [&](std::string_view name, auto&& apply) {
        apply(t);
        if (rq.onStep) rq.onStep(name, t);
    };
    step("lower case", [](std::string& s) { s = LowerCaseText(s); });
    step("allowed characters", ReplaceDisallowed);
    step("numbers", SpellNumbers);
    step("outer spaces", PadWithSpaces);
    step("spaced marks", SpaceMarks);
    step("joined prepositions", JoinPrepositions);
    step("softening", Soften);
    step("dictionary", [&](std::string& s) { s = ApplyDictionary(s, rq.dictionaryPath); });
    step("name", [&](std::string& s) { ReplaceName(s, rq.userName, rq.userNamePronunciation); });
    step("letter groups", [&](std::string& s) {
        RewriteLetterGroups(s, rq.userName, rq.userNamePronunciation);
    });
    step("unit characters", ToUnitCharacters);
    step("voicing", AssimilateVoicing);
    step("syllables", MarkSyllables);
    step("p rule", SplitAfterP);
    step("diphthongs", ExpandDiphthongs);
    PreparedSpeech out;
    out.contour = ComputeContour(t);
    step("final marks", MarksToPauses);
    out.unitString = std::move(t);
    return out;
}

}  // namespace

base::Result<PreparedSpeech> PrepareSpeechText(const SpeechRequest& rq) {
    try {
        return RunPipeline(rq);
    } catch (const SpeechError& e) {
        return base::Fail(e.what());
    }
}

base::Result<PreparedSpeech> PrepareSpeechText(const std::string& text,
                                               const std::string& userName,
                                               const std::string& userNamePronunciation) {
    SpeechRequest rq;
    rq.text = text;
    rq.userName = userName;
    rq.userNamePronunciation = userNamePronunciation;
    return PrepareSpeechText(rq);
}

}  // namespace tamzel::speech
