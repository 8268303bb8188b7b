// Script tags: every tag against a fixed clock, fixed random numbers and known sentences,
// the shapes that decide what a tag cuts out, and the bounds that stop self-repeating tags.
#include <gtest/gtest.h>

// Test of engine internals.
#include "ScriptFixtures.h"
#include "engine/internal/ScriptTags.h"

namespace tamzel::engine::testing {
namespace {

using ScriptTags = EngineFixture;

struct Case {
    const char* text;
    const char* expected;
};

TEST_F(ScriptTags, TextWithoutTagsComesBackUnchanged) {
    for (const char* text : {"", "ahoj <smile>", "bez znaciek > < ( )", "#ROK a REZERVA"})
        EXPECT_EQ(Expand(text), text);
}

TEST_F(ScriptTags, DateAndTimeTagsReadTheClockForEachTag) {
    clock->Set(2026, 12, 6, 9, 7);  // a Sunday
    const Case cases[] = {
        {"<#ROK>", "2026"},
        {"<#MESC>/<#DN>", "12/6"},
        {"<#DEN_TYZDNA>", "1"},
        {"o <#HOD>:<#MINUT>", "o 9:7"},
        {"<#ROK><#ROK>", "20262026"},
    };
    for (const Case& c : cases) EXPECT_EQ(Expand(c.text), c.expected) << c.text;
    clock->Set(2026, 12, 12);  // a Saturday
    EXPECT_EQ(Expand("<#DEN_TYZDNA>"), "7");
    clock->Set(2026, 12, 7);  // a Monday
    EXPECT_EQ(Expand("<#DEN_TYZDNA>"), "2");
}

TEST_F(ScriptTags, AgeCountsTheBirthdayItselfAsAFullYear) {
    struct AgeCase {
        int year, month, day;
        const char* birth;
        const char* age;
    } cases[] = {
        {2026, 12, 6, "7.12.1990", "35"},  // the day before
        {2026, 12, 7, "7.12.1990", "36"},  // the birthday
        {2026, 12, 31, "7.12.1990", "36"},
        {2027, 1, 1, "7.12.1990", "36"},   // month before the birth month
        {2026, 11, 30, "7.12.1990", "35"},
        {2026, 2, 28, "29.2.2000", "25"},
        {2026, 3, 1, "29.2.2000", "26"},
    };
    for (const AgeCase& c : cases) {
        clock->Set(c.year, c.month, c.day);
        EXPECT_EQ(Expand(std::string("<#VEK(") + c.birth + ")>"), c.age)
            << c.birth << " on " << c.day << "." << c.month << "." << c.year;
    }
}

TEST_F(ScriptTags, NameCapturesCountersAndGender) {
    engine.UserName = base::Cp1250("Ján");
    engine.Captures[1] = "psy";
    engine.Captures[10] = "macky";
    engine.RepeatCount = 3;
    engine.IdleCount = 2;
    const Case cases[] = {
        {"Ahoj |!", "Ahoj J\xE1n!"},
        {"mas rad <#C1>?", "mas rad psy?"},
        {"<#C10>x", "mackyx"},          // two digits, then the closing character
        {"<#C1>>", "psy>"},             // exactly one closing character is taken
        {"[<#C11>]", "[]"},             // no slot 11
        {"<#POCET_ZOPAKOV>/<#POCET_NUD>", "3/2"},
    };
    for (const Case& c : cases) EXPECT_EQ(Expand(c.text), c.expected) << c.text;

    engine.UserIsMale = true;
    EXPECT_EQ(Expand("<#ROD(urobil,urobila)> si"), "urobil si");
    EXPECT_EQ(Expand("<#ROD(len zena)>"), "");
    engine.UserIsMale = false;
    EXPECT_EQ(Expand("<#ROD(urobil,urobila)> si"), "urobila si");
    EXPECT_EQ(Expand("<#ROD(len zena)>"), "len zena");
}

TEST_F(ScriptTags, MoodTagShowsOrChangesTheMood) {
    engine.Mood = -2;
    EXPECT_EQ(Expand("nalada <#NALADA>"), "nalada -2");
    EXPECT_EQ(Expand("a<#NALADA(+3)>b"), "ab");
    EXPECT_EQ(engine.Mood, 1);
    EXPECT_EQ(Expand("<#NALADA(-3)>"), "");
    EXPECT_EQ(engine.Mood, -2);
    EXPECT_EQ(Expand("<#NALADA(3)>"), "");  // '3' is the sign, the empty rest counts 0
    EXPECT_EQ(engine.Mood, -2);
    engine.Mood = 2147483600;
    Expand("<#NALADA(+100)>");
    EXPECT_EQ(engine.Mood, 2147483647);  // clamped, not wrapped to a huge bad mood
}

TEST_F(ScriptTags, VariablesAndRandomNumbers) {
    engine.Variables[1] = {"x", "stare", true};  // freed
    engine.Variables[2] = {"x", "12", false};
    engine.Variables[3] = {"x", "13", false};
    EXPECT_EQ(Expand("x=<#PREM(x)>"), "x=12");
    EXPECT_EQ(Expand("[<#PREM(y)>]"), "[]");
    engine.Variables[2].free = true;
    engine.Variables[3].free = true;
    EXPECT_EQ(Expand("[<#PREM(x)>]"), "[]");  // only freed slots hold the name

    engine.Variables[4] = {"n", "6", false};
    random->next = {4};
    EXPECT_EQ(Expand("<#NAHODA(<#PREM(n)>)>"), "4");
    ASSERT_FALSE(random->asked.empty());
    EXPECT_EQ(random->asked.back(), 6);  // the argument was expanded before use
    EXPECT_EQ(Expand("<#NAHODA(0)>"), "0");
}

TEST_F(ScriptTags, RestNextWordAndReflectedRest) {
    engine.CurrentInput = base::Cp1250(" volám sa peter . ");
    const Case cases[] = {
        {"<#ZVYSOK(volam sa)>", "peter"},
        {"<#DALSIE(sa)>", " peter"},  // the separating blank stays
        {"<#DALSIE(volam)>", " sa"},
        {"[<#ZVYSOK(nic take)>]", "[]"},
    };
    for (const Case& c : cases) EXPECT_EQ(Expand(c.text), c.expected) << c.text;

    engine.CurrentInput = base::Cp1250(" myslím , že ty si múdry . ");
    EXPECT_EQ(Expand("<#ZVYSOK(ze)>"), base::Cp1250("ty si múdry"));
    EXPECT_EQ(Expand("<#ODRAZ(ze)>"), base::Cp1250("ja som múdry"));
    EXPECT_EQ(Expand("<#ODRAZ(ze)> a <#ZVYSOK(ze)>"), base::Cp1250("ja som múdry a ty si múdry"));
    // Without a final mark the closing blank is dropped instead.
    engine.CurrentInput = " mam psa ";
    EXPECT_EQ(Expand("<#ZVYSOK(mam)>"), "psa");
}

TEST_F(ScriptTags, SelectorsPickTheSentenceAndTheCurrentOneComesBackFolded) {
    engine.CurrentInput = base::Cp1250(" môj pes šteká . ");
    engine.LastInput = " mam psa a macku . ";
    engine.LastAnswer = " ja mam rybu . ";
    engine.WorkSentence = "cokolvek";
    EXPECT_EQ(Expand("<#POZ(LAST_USER,macku)>"), "4");
    EXPECT_EQ(engine.SentenceTarget, 1);
    EXPECT_EQ(engine.WorkSentence, " moj pes steka . ");
    EXPECT_EQ(Expand("<#ZVYSOK(LAST_COMP,mam)>"), "rybu");
    EXPECT_EQ(Expand("<#DALSIE(THIS_USER,pes)>"), base::Cp1250(" šteká"));
    // Without a selector the word position works on the unfolded current sentence.
    EXPECT_EQ(Expand("<#POZ(steka)>"), "3");
    EXPECT_EQ(engine.WorkSentence, engine.CurrentInput);
}

TEST_F(ScriptTags, MemoryTagSelectorsAndTheCutToTheLastBracket) {
    NewMemoryFile();
    engine.Variables[1] = {"kto", "user", false};
    engine.AddMemoryValue("user,jedlo,pizza;cestoviny;ryza");
    engine.AddMemoryValue("user,pes,Dunco");
    const Case cases[] = {
        {"<#PAMAT(user,jedlo,2)>", "cestoviny"},
        {"<#PAMAT(user,jedlo,9)>", "ryza"},
        {"<#PAMAT(user,jedlo,ALL)>", "pizza;cestoviny;ryza"},
        {"<#PAMAT(user,pes,2)>", "Dunco"},
        {"<#PAMAT(user,pes,RND)>", "Dunco"},
        {"<#PAMAT(user,pes,ALL)>", "Dunco"},
        {"[<#PAMAT(user,macka,1)>]", "[]"},  // absent property: empty
        {"<#PAMAT(user,jedlo,1)> a <#NAHODA(5)> <smile>.", "pizza."},
        {"<#PAMAT(<#PREM(kto)>,pes,1)>", "Dunco"},  // object part expanded first
    };
    for (const Case& c : cases) EXPECT_EQ(Expand(c.text), c.expected) << c.text;
    EXPECT_TRUE(random->asked.empty());  // the random tag was cut out, never evaluated

    random->next = {2};
    EXPECT_EQ(Expand("<#PAMAT(user,jedlo,RND)>"), "ryza");
    reports.clear();
    EXPECT_EQ(Expand("<#PAMAT(user,jedlo,prvy)>"), "pizza;cestoviny;ryza");
    EXPECT_EQ(reports.size(), 1u);
    engine.InWordListTest = true;
    EXPECT_EQ(Expand("<#PAMAT(user,jedlo,ALL)>"), "<SOMEOF(pizza;cestoviny;ryza)>");
}

TEST_F(ScriptTags, NameMarkInsideAMemoryValueIsExpandedInTheNextCycle) {
    NewMemoryFile();
    engine.AddMemoryValue("user,pozdrav,Ahoj |");
    EXPECT_EQ(Expand("<#PAMAT(user,pozdrav,1)>"), "Ahoj Jan");
}

TEST_F(ScriptTags, SelfRepeatingTagsEndAndTheReservedTagIsRemoved) {
    engine.Variables[1] = {"x", "a<#PREM(x)>", false};
    std::string expanded = Expand("<#PREM(x)>!");
    EXPECT_FALSE(engine.HasTags(expanded)) << expanded;
    EXPECT_EQ(expanded.back(), '!');

    NewMemoryFile();
    engine.AddMemoryValue("user,slucka,<#PAMAT(user,slucka,ALL)>");
    expanded = Expand("x <#PAMAT(user,slucka,ALL)>");
    EXPECT_FALSE(engine.HasTags(expanded)) << expanded;

    engine.Variables[2] = {"y", "<#PREM(y)><#PREM(y)>", false};  // doubles every round
    expanded = Expand("<#PREM(y)>");
    EXPECT_FALSE(engine.HasTags(expanded));

    // The entry once reserved is the capital tag now: its old text is ordinary text.
    EXPECT_EQ(Expand("a<#REZERVA>b"), "a<#REZERVA>b");
    EXPECT_TRUE(engine.HasTags("<#VELKE(x)>"));
    engine.Variables[3] = {"z", "<#VELKE(<#PREM(z)>)>", false};  // capital of itself
    expanded = Expand("<#VELKE(<#PREM(z)>)>.");
    EXPECT_FALSE(engine.HasTags(expanded)) << expanded;
    EXPECT_EQ(expanded.back(), '.');
    // The bound is per expansion: the next text expands normally again.
    EXPECT_EQ(Expand("<#ROK>"), "2026");
}

TEST_F(ScriptTags, CapitalTagUpperCasesTheFirstLetterOfItsExpandedArgument) {
    engine.UserName = "jan";
    engine.Captures[1] = base::Cp1250("žofka");
    engine.Captures[2] = base::Cp1250(" ľubo");
    engine.Captures[3] = base::Cp1250("šimon");
    engine.Variables[1] = {"m", base::Cp1250("čestmír"), false};
    const Case cases[] = {
        {"<#VELKE(lucia)>", "Lucia"},
        {"<#VELKE(<#C1>)>!", "Žofka!"},
        {"<#VELKE(<#C2>)>", " Ľubo"},        // the blank stays, the letter after it grows
        {"<#VELKE(<#C3>)> a <#VELKE(|)>", "Šimon a Jan"},
        {"<#VELKE(<#PREM(m)>)>", "Čestmír"},
        {"<#VELKE(áno)> <#VELKE(ôsmy)> <#VELKE(ťava)> <#VELKE(ďateľ)>", "Áno Ôsmy Ťava Ďateľ"},
        {"<#VELKE(äno)><#VELKE(řeka)><#VELKE(ňu)><#VELKE(éra)>", "ÄnoŘekaŇuÉra"},
        {"<#VELKE(Eva)>", "Eva"},            // a capital stays a capital
        {"<#VELKE(5 psov)>", "5 psov"},       // only the first character, and only a letter
        {"[<#VELKE()>]", "[]"},               // empty argument
        {"[<#VELKE(<#C9>)>]", "[]"},          // a tag that gives nothing
        {"<#VELKE(  )>", "  "},
        {"<#VELKE(abc", ""},                  // no closing bracket: nothing
        {"<#VELKE(<#ROD(pán,pani)>)> <#C3>", "Pán šimon"},
    };
    for (const Case& c : cases) EXPECT_EQ(base::ToUtf8(Expand(base::Cp1250(c.text))), c.expected) << c.text;
}

TEST_F(ScriptTags, CapitalTagOfEveryWordKeepsTheSmallJoiningWords) {
    engine.Captures[1] = base::Cp1250("banská bystrica");
    const Case cases[] = {
        {"<#VELKE(SLOVA,nové zámky)>", "Nové Zámky"},
        {"<#VELKE(SLOVA,<#C1>)>", "Banská Bystrica"},
        {"<#VELKE(SLOVA,nové mesto nad váhom)>", "Nové Mesto nad Váhom"},
        {"<#VELKE(SLOVA,frýdek-místek)>", "Frýdek-Místek"},
        {"<#VELKE(SLOVA,nad tatrou)>", "Nad Tatrou"},  // the first word always grows
        {"<#VELKE(SLOVA,)>", ""},
        {"<#VELKE(nové zámky)>", "Nové zámky"},         // without the flag: the first letter
    };
    for (const Case& c : cases) EXPECT_EQ(base::ToUtf8(Expand(base::Cp1250(c.text))), c.expected) << c.text;
}

// The memory tag runs to the last '>' of the text, so the capital tag around it must be
// cut out (and its argument expanded) before the memory pass sees the text.
TEST_F(ScriptTags, CapitalTagAroundMemoryRestAndVariableTags) {
    NewMemoryFile();
    engine.AddMemoryValue("user,sestra,lucia");
    engine.AddMemoryValue(base::Cp1250("user,mesto,banská bystrica"));
    engine.Variables[1] = {"k", "user", false};
    engine.CurrentInput = base::Cp1250(" moja sestra sa volá žaneta . ");
    engine.WorkSentence = base::FoldDiacritics(engine.CurrentInput);
    const Case cases[] = {
        {"<#VELKE(<#PAMAT(user,sestra,1)>)>", "Lucia"},
        {"Sestra <#VELKE(<#PAMAT(user,sestra,1)>)> <smile>", "Sestra Lucia <smile>"},
        {"<#VELKE(<#PAMAT(user,sestra,1)>)> a <#VELKE(<#PAMAT(user,sestra,1)>)>", "Lucia a Lucia"},
        {"<#VELKE(<#PAMAT(<#PREM(k)>,sestra,1)>)>", "Lucia"},
        {"<#VELKE(SLOVA,<#PAMAT(user,mesto,1)>)>", "Banská Bystrica"},
        {"<#VELKE(<#ZVYSOK(THIS_USER,volá)>)>", "Žaneta"},
        {"<#VELKE(<#ODRAZ(THIS_USER,sa )>)>", "Volá žaneta"},
        {"<#VELKE(<#DALSIE(THIS_USER,volá)>)>", " Žaneta"},
        {"<#VELKE(<#ZVYSOK(THIS_USER,nie je)>)>", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(base::ToUtf8(Expand(base::Cp1250(c.text))), c.expected) << c.text;
}

TEST(WordPosition, PrefixMatchOnFoldedLetterWords) {
    struct WordCase {
        const char* word;
        const char* sentence;
        int position;
    } cases[] = {
        {"pes", "psom pes", 2},
        {"pe", "psom pes", 2},
        {"ps", "psom pes", 1},
        {"macka", "mam psa", 0},
        {"pes", "", 0},
        {"pes", " ", 0},
        {"PES", " Môj Pes . ", 2},
        {"steka", " pes \x9At\xE9ka ", 2},  // folded: šteká
        {"sa peter", " volam sa peter . ", 2},   // continues over the blank
        {"pes", " 3 psy a pes ", 3},         // digits are not words
    };
    for (const WordCase& c : cases)
        EXPECT_EQ(WordPosition(c.word, c.sentence), c.position) << c.word << " in " << c.sentence;
}

TEST(PickItem, ItemNOrTheLast) {
    struct ItemCase {
        const char* list;
        int n;
        const char* item;
    } cases[] = {
        {"pizza;cestoviny;ryza", 1, "pizza"},
        {"pizza;cestoviny;ryza", 2, "cestoviny"},
        {"pizza;cestoviny;ryza", 3, "ryza"},
        {"pizza;cestoviny;ryza", 9, "ryza"},
        {"pizza;", 2, ""},
        {"pizza", 5, "pizza"},
        {";b", 1, ""},
    };
    for (const ItemCase& c : cases) EXPECT_EQ(PickItem(c.list, c.n), c.item) << c.list << " " << c.n;
}

TEST_F(ScriptTags, PickRandomItemCountsAFinalEmptyItem) {
    random->next = {0, 2, 1};
    EXPECT_EQ(engine.PickRandomItem("a;b;"), "a");
    EXPECT_EQ(engine.PickRandomItem("a;b;"), "");
    EXPECT_EQ(engine.PickRandomItem("a;b;"), "b");
    EXPECT_EQ(random->asked, (std::vector<int32_t>{3, 3, 3}));
}

}  // namespace
}  // namespace tamzel::engine::testing
