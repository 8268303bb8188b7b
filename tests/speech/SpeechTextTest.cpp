#include <gtest/gtest.h>

#include <array>
#include <map>
#include <random>

#include "SpeechTestSupport.h"
#include "speech/text/SpeechText.h"
#include "speech/text/Units.h"

namespace tamzel::speech {
namespace {

using test::TempFolder;
using test::U;

// Runs the preparation with a dictionary of the given entries and keeps every step's text.
struct Prepared {
    PreparedSpeech result;
    std::map<std::string, std::string> steps;  // UTF-8

    std::string Unit() const { return U(result.unitString); }
    std::string Step(const std::string& name) const {
        auto it = steps.find(name);
        return it == steps.end() ? "<no step " + name + ">" : it->second;
    }
};

Prepared Prepare(const std::string& utf8, const std::string& name = "", const std::string& pron = "",
            const std::vector<std::string>& dictionary = {}) {
    TempFolder folder;
    SpeechRequest rq;
    rq.text = base::Cp1250(utf8);
    rq.userName = base::Cp1250(name);
    rq.userNamePronunciation = base::Cp1250(pron);
    rq.dictionaryPath = folder.Dictionary(dictionary);
    Prepared run;
    rq.onStep = [&](std::string_view step, const std::string& text) { run.steps[std::string(step)] = U(text); };
    base::Result<PreparedSpeech> prepared = PrepareSpeechText(rq);
    EXPECT_TRUE(prepared.ok()) << prepared.message();
    if (prepared) run.result = std::move(*prepared);
    return run;
}

TEST(PrepareSpeechText, WorkedExamples) {
    Prepared ano = Prepare("Áno.");
    EXPECT_EQ(ano.Step("diphthongs"), "~á-no~.~");
    EXPECT_EQ(ano.Unit(), "~á-no~~~");
    EXPECT_EQ(std::vector<int>(ano.result.contour.begin(), ano.result.contour.end()),
              (std::vector<int>{127, 64, 64, 22, 1, 127, 127, 0}));

    Prepared ahoj = Prepare("Ahoj!");
    EXPECT_EQ(ahoj.Step("unit characters"), "~ahoj~!~");
    EXPECT_EQ(ahoj.Step("syllables"), "~a-hoj~!~");
    EXPECT_EQ(ahoj.Unit(), "~a-hoj~~~");

    Prepared kde = Prepare("kde");
    EXPECT_EQ(kde.Step("softening"), " kďe ");
    EXPECT_EQ(kde.Unit(), "~gďe~");
    EXPECT_EQ(kde.result.contour, Contour(5, 0)) << "no mark, no intonation";
}

struct StepCase {
    const char* input;
    const char* step;
    const char* expected;  // the text after that step
};

TEST(PrepareSpeechText, StepsDoWhatTheySay) {
    const StepCase cases[] = {
        // Lower case, also capitals with diacritics; other letters become spaces.
        {"ĽŠČŤŽÝÁÍÉÚÔÄŇĎÓ AZ", "lower case", "ľščťžýáíéúôäňďó az"},
        {"aĺbŕc-d;ö", "allowed characters", "aĺbŕc d  "},  // ŕ and ĺ are Slovak letters
        {"ŔĹ", "lower case", "ŕĺ"},
        // Numbers outside tags: each group followed by a space, so "25 " gets two.
        {"mám 25 rokov", "numbers", "mám dvadsaťpäť  rokov"},
        {"<mad1>7", "numbers", "<mad1>sedem "},
        {"1000 a 2", "numbers", "tisíc  a dva "},
        {"", "outer spaces", " "},
        {"a", "outer spaces", " a "},
        {"ahoj,ty!?", "spaced marks", " ahoj , ty ! ? "},
        {"k domu s tebou v lese z mesta a ty", "joined prepositions", " kdomu stebou vlese zmesta a ty "},
        {"dedina ti nebude", "softening", " ďeďina ťi ňebuďe "},
        {"ty dom", "softening", " ty dom "},
        // Letter groups, in passes until nothing changes.
        {"kôň dzvon džem chata tsar kvasnica q x ľad päť", "letter groups",
         " kuoň (von )em _ata car kvasňica kv ks lad peť "},
        {"domov ", "letter groups", " domou "},  // ends in a space already
        {"vŕba dĺžka", "letter groups", " vrba dlžka "},  // read short: no long unit for them
        {"piano diera rádio ďiu", "letter groups", " p1no ď2ra ráď3 ď4 "},
        {"<smile><sad><nuda><zmurk><mad1><mad2><yes><no>", "letter groups",
         " 555555555566666666667777777777888888888899999999990000000000[@]@[@]@{@}@{@}@ "},
        // Unknown tags, spaces and the rest become pauses; "+" stays.
        {"<abc> a+b", "unit characters", "~~abc~~a+b~"},
        {"<abc>", "final marks", "~~ap-c~~"},
    };
    for (const auto& c : cases) EXPECT_EQ(Prepare(c.input).Step(c.step), c.expected) << c.input;
}

struct UnitCase {
    const char* input;
    const char* unitString;
};

TEST(PrepareSpeechText, VoicingAcrossWordEndsAndInsideWords) {
    const UnitCase cases[] = {
        {"hrad stojí", "~hrat~sto-jí~"},    // voiced before a voiceless start
        {"hrad.", "~hrat~~~"},              // voiced before a mark
        {"les a", "~lez~a~"},               // voiceless before a vowel
        {"pes beží", "~p-ez~be-ží~"},       // voiceless before a voiced start
        {"vták", "~fták~"},                 // voiced before voiceless in a word
        {"kde", "~gďe~"},                   // voiceless before voiced in a word
        {"tvoj", "~tvoj~"},                 // but not before v
        {"sme", "~zme~"},                   // the listed exceptions
        {"so sestrou", "~zo~ses-tro-u~"},
        {"nášmu", "~náž-mu~"},
        {"vášmu", "~váž-mu~"},
        {"k domu", "~gdo-mu~"},             // a joined preposition assimilates too
        {"ľahký", "~la_-ký~"},
    };
    for (const auto& c : cases) EXPECT_EQ(Prepare(c.input).Unit(), c.unitString) << c.input;
}

TEST(PrepareSpeechText, SyllableMarks) {
    const UnitCase cases[] = {
        {"boa", "~bo-a~"},            // two vowels at the end: one mark
        {"aorta", "~a-o-rta~"},       // two vowels inside: a mark on both sides
        {"mama", "~ma-ma~"},          // vowel-consonant-vowel
        {"okno", "~ok-no~"},          // two consonants
        {"sestra", "~ses-tra~"},
        {"vlna", "~vlna~"},           // no mark next to l or r
        {"piano", "~p-ia-no~"},       // the diphthong counts as one vowel; p-rule
        {"kapor", "~ka-p-or~"},
    };
    for (const auto& c : cases) EXPECT_EQ(Prepare(c.input).Unit(), c.unitString) << c.input;
}

TEST(PrepareSpeechText, EmptyAndOddAnswersStillGiveUnits) {
    Prepared empty = Prepare("");
    EXPECT_EQ(empty.Unit(), "~");
    EXPECT_EQ(empty.result.contour, Contour{0});
    EXPECT_EQ(Prepare("%&*").Unit(), "~~~");  // spaces already at both ends
    Prepared tags = Prepare("<yes>");
    EXPECT_EQ(tags.Unit(), "~[@]@[@]@~");
    for (const char* text : {"25 ", "Áno.", "", "<smile>Ahoj!", "?\?!!..,,", "a+b"}) {
        Prepared r = Prepare(text);
        EXPECT_EQ(r.result.contour.size(), r.result.unitString.size()) << text;
    }
    EXPECT_EQ(Prepare("a + b").Unit(), "~a~+~b~");
}

TEST(PrepareSpeechText, TheNumberGetsTwoPausesAfterIt) {
    Prepared r = Prepare("25 rokov");
    EXPECT_NE(r.Unit().find("~~ro-ko"), std::string::npos) << r.Unit();
}

TEST(PrepareSpeechText, AppliesTheDictionaryAfterSoftening) {
    Prepared r = Prepare("Napr. ten pes.", "", "", {" napr . = napríklad ", " ťen = ten "});
    EXPECT_EQ(r.Step("dictionary"), " napríklad ten pes . ");
    TempFolder folder;
    SpeechRequest rq;
    rq.text = "a";
    rq.dictionaryPath = folder.File("missing.vox");
    base::Result<PreparedSpeech> prepared = PrepareSpeechText(rq);
    EXPECT_FALSE(prepared.ok());
    EXPECT_NE(prepared.message().find("missing.vox"), std::string::npos) << prepared.message();
}

TEST(PrepareSpeechText, TheUsersNameIsSpokenAsPronounced) {
    // A lower-case name is replaced at the name step, with its spaces.
    Prepared lower = Prepare("ahoj jano.", "jano", "jánoš");
    EXPECT_EQ(lower.Step("name"), " ahoj jánoš . ");
    // Any name, lower-cased, is joined to its neighbours by the first letter-group rule.
    Prepared upper = Prepare("Ahoj Jano.", "Jano", "Jánoš");
    EXPECT_EQ(upper.Step("name"), " ahoj jano . ");
    EXPECT_EQ(upper.Step("letter groups"), " ahojjánoš. ");
    // Same name and pronunciation: only the joining.
    EXPECT_EQ(Prepare("ahoj jano", "jano", "jano").Step("letter groups"), " ahojjano");
    // The name is looked for the way the answer holds it: softened, capitals lowered.
    const std::vector<std::array<const char*, 4>> names = {
        {"Ahoj Peter.", "Peter", "Peťo", " ahojpeťo. "},
        {"Ahoj Štefan.", "Štefan", "Števo", " ahojštevo. "},
        {"Ahoj Daniel.", "Daniel", "Dano", " ahojdano. "},
    };
    for (const auto& [text, name, pron, expected] : names)
        EXPECT_EQ(Prepare(text, name, pron).Step("letter groups"), expected) << name;
    // No user: nothing is replaced (double spaces stay).
    EXPECT_EQ(Prepare("25 x").Step("letter groups"), " dvacaťpeť  ks ");
}

TEST(PrepareSpeechText, APronunciationHoldingTheNameDoesNotHang) {
    Prepared r = Prepare("jano a jano", "jano", "x jano x");
    EXPECT_EQ(r.Step("name"), " x jano x a x jano x ");
    // The joining rule would find the name forever; it stops after its bound.
    std::string groups = r.Step("letter groups");
    size_t count = 0;
    for (size_t at = groups.find("jano"); at != std::string::npos; at = groups.find("jano", at + 1)) ++count;
    EXPECT_LE(count, static_cast<size_t>(kMaxNameReplacements) + 2);
    EXPECT_FALSE(r.result.unitString.empty());
}

TEST(PrepareSpeechText, AnyTextGivesOnlyUnitCharactersAndAFullContour) {
    // Random answers built from the pieces that matter: letters with and without
    // diacritics, capitals, digits, marks, tags (known, unknown, broken) and stray bytes.
    const std::vector<std::string> pieces = {
        "a", "e", "o", "d", "t", "n", "i", "k ", " s ", "v", "z", "ch", "dz", "d\x9E", "q", "x",
        "\xF4", "\xE4", "\xBE", "\xC1", "\xD4", "\x8A", " ", "  ", ".", ",", "!", "?", "-", "+",
        "7", "25", "1000000", "<", ">", "<smile>", "<mad1>", "<yes>", "<no>", "<abc>", "<1>",
        "\x01", "\xFF", "\x81", "ia", "ie", "sme", "so s", "p"};
    std::string allowed = std::string(UnitAlphabet) + "+";
    std::mt19937 rng(12);
    TempFolder folder;
    SpeechRequest rq;
    rq.dictionaryPath = folder.Dictionary({" napr . = napr\xC3\xADklad "});
    for (int round = 0; round < 3000; ++round) {
        rq.text.clear();
        for (int n = static_cast<int>(rng() % 30); n > 0; --n) rq.text += pieces[rng() % pieces.size()];
        base::Result<PreparedSpeech> prepared = PrepareSpeechText(rq);
        ASSERT_TRUE(prepared.ok()) << prepared.message();
        const PreparedSpeech& p = *prepared;
        ASSERT_EQ(p.contour.size(), p.unitString.size()) << U(rq.text);
        ASSERT_FALSE(p.unitString.empty()) << U(rq.text);
        for (char c : p.unitString)
            ASSERT_NE(allowed.find(c), std::string::npos) << "'" << c << "' from " << U(rq.text);
    }
}

TEST(LowerCaseText, LeavesEverythingElseAlone) {
    EXPECT_EQ(U(LowerCaseText(base::Cp1250("ĽŠČŤŽÝÁÍÉÚÔÄŇĎÓ ABC xyz 1<>"))), "ľščťžýáíéúôäňďó abc xyz 1<>");
    EXPECT_EQ(U(LowerCaseText(base::Cp1250("ĹŔŐÖŘÜ"))), "ĺŕŐÖŘÜ");  // Ĺ and Ŕ are Slovak
}

}  // namespace
}  // namespace tamzel::speech
