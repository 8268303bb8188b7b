// Scripted conversations with the shipped brain. Every turn names the topic its answer must
// belong to as a regular expression over the shown answer (UTF-8), so the tests hold for
// whichever alternative the brain picks; the seed and the clock are fixed anyway.
//
// A turn's text may be a directive: "@open" (opening line), "@idle", "@hover", "@restart"
// (sign out and start a new run in the same program folder), "@time HH" (the clock's hour).
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "BrainSession.h"

namespace tamzel::brain_testing {
namespace {

struct Turn {
    std::string say;
    std::string expect;       // regular expression the shown answer must contain
    bool understood = true;   // whether the engine must report the input understood
};

struct Dialogue {
    std::string name;
    std::string user;
    bool male;
    std::vector<Turn> turns;
};

std::string Play(BrainSession& s, const Turn& turn) {
    if (turn.say == "@open") return s.Opening();
    if (turn.say == "@idle") return s.Idle();
    if (turn.say == "@hover") return s.Hover();
    if (turn.say.rfind("@time ", 0) == 0) {
        s.SetTime(MakeTime(2026, 12, 8, std::stoi(turn.say.substr(6)), 15));
        return "";
    }
    if (turn.say == "@restart") {
        s.Restart();
        return "";
    }
    return s.Say(turn.say);
}

const std::vector<Dialogue>& Dialogues() {
    static const std::vector<Dialogue> dialogues = {
        {"FirstMeeting", "Peter", true, {
            {"@open", "Tamzel"},
            {"Ahoj!", "Ahoj|Čau|Som rád, že si tu"},
            {"Ako sa máš?", "A ako sa máš ty"},
            {"Mám sa dobre.", "rád počujem|Výborne|Super|skvelé"},
            {"Volám sa Peter.", "Peter"},
            {"Ako sa voláš?", "Tamzel"},
            {"Koľko máš rokov?", "rok|verzi|starý|mladý"},
            {"Kde bývaš?", "počítač|Slovensk|obrazovk"},
            {"Kto ťa vytvoril?", "program"},
            {"Čo vieš robiť?", "vtip|Koľko je|počít"},
            {"Ďakujem.", "za čo|Rado|Za málo|ďakujem|pomôžem"},
            {"Dovidenia.", "Maj sa|Dovidenia|Škoda|Čau"},
        }},
        {"MemoryAcrossTwoRuns", "Jana", false, {
            {"@open", "Tamzel"},
            {"Mám psa.", "meno|volá"},
            {"Môj pes sa volá Rex.", "[Rr]ex"},
            {"Mám rada pizzu.", "pizz|voľba|hladným"},
            {"Moja obľúbená farba je modrá.", "[Mm]odrá"},
            {"Bývam v Košiciach.", "Košice"},
            {"Mám 30 rokov.", "30|vek|Dospelák|staršia"},
            {"Čo mám rada?", "pizzu"},
            {"Ako sa volá môj pes?", "[Rr]ex"},
            {"@restart", ""},
            {"@open", "späť|znova|číslo 2|tešil|nudil|Dnes mám|pripravený|darí"},
            {"Ako sa volá môj pes?", "[Rr]ex"},
            {"Aká je moja obľúbená farba?", "modrá"},
            {"Kde bývam?", "Košiciach"},
            {"Koľko mám rokov?", "30"},
            {"Zabudni na môjho psa.", "zabudol|Hotovo|vymazal"},
            {"Ako sa volá môj pes?", "nepovedala|Nepamätám"},
        }},
        {"TimeAndArithmetic", "Marek", true, {
            {"Koľko je hodín?", "14:30"},
            {"Aký je dnes deň?", "utorok"},
            {"Koľkého je dnes?", "8\\. 12\\. 2026"},
            {"Aký je rok?", "2026"},
            {"aky je mesiac", "december"},
            {"Koľko je 12 krát 7?", "84"},
            {"kolko je 100 minus 37", "63"},
            {"Koľko je 81 delené 9?", "\\b9\\b"},
            {"kolko je 10 deleno 3", "zvyšok 1"},
            {"Koľko je 5 delené 0?", "[Nn]ulou"},
            {"Aký deň bude zajtra?", "streda"},
            {"Aké je ročné obdobie?", "zima|Zima"},
            {"Hoď kockou.", "[1-6]|šestka|jednotka"},
        }},
        {"JokesAndRiddles", "Tomas", true, {
            {"Povedz vtip.", "vtip\\?"},
            {"áno", "vtip\\?"},
            {"haha", "vtip\\?"},
            {"Toto nebolo vtipné.", "humor|test|Kritika|kritika|zohriať"},
            {"Daj mi hádanku.", "\\?"},
            {"neviem", "ďalšiu hádanku"},
            {"áno", "\\?"},
            {"vzdávam sa", "ďalšiu hádanku"},
            {"nie", "nabudúce|Škoda|V poriadku"},
            {"Povedz mi niečo zaujímavé.", "[A-ZŠČŽ]"},
            {"Rozprávaj mi príbeh.", "program|Jánošík|kalkulačka|počítači"},
        }},
        {"FeelingsOfAWoman", "Zuzana", false, {
            {"Som smutná.", "mrzí|Smútok|Objal|Niekedy|slnko"},
            {"Som unavená.", "oddýchni|Únava|spať|posteľ"},
            {"Nudím sa.", "[Nn]uda|hádank|Vieš čo"},
            {"Som zamilovaná.", "Láska|Zamilovanosť|zaujímavé|Držím"},
            {"Mám strach.", "[Ss]trach|nadýchni|Odvaha|Stres|Bojíš"},
            {"Som šťastná!", "krásne|Výborne|Super|teším"},
            {"Bolí ma hlava.", "uzdravenie|lekár|Drž sa|Choroba"},
            {"Mám hlad.", "chuť|jesť|najedz|dobré"},
            {"Som sama.", "sama|mňa|mám rád"},
            {"Som nahnevaná.", "[Hh]nev|nadýchnuť|nehneváš"},
        }},
        {"MoodFollowsWords", "Ivan", true, {
            {"Si super!", "Ďakujem|milý|červenám|počujem|Viem"},
            {"Si múdry.", "Ďakujem|milý|červenám|počujem|Viem"},
            {"Aká je tvoja nálada?", "nálad|Pokojná|Neutrálna|Vynikajúca|šťastný"},
            {"Si idiot.", "slová|nenadávaj|mrzí|slušne|škaredé|Dosť|raz|zl|Nadávky"},
            {"Ty debil.", "slová|nenadávaj|mrzí|slušne|škaredé|Dosť|raz|zl|Nadávky"},
            {"Si hlupák.", "slová|nenadávaj|mrzí|slušne|škaredé|Dosť|raz|nepríjemn|zl|Nadávky"},
            {"Ty kretén.", "slová|nenadávaj|mrzí|slušne|škaredé|Dosť|raz|nepríjemn|zl|Nadávky"},
            {"Ako sa máš?", "Nič moc|Ujde|napoly|Zle|Mizerne|Ako asi"},
            {"Prepáč.", "nehnevám|prijaté|pomýli|ospravedlnil|odpúšťam"},
            {"Aká je tvoja nálada?", "nálad|Pokojná|Neutrálna|Zlá|Nie najlepšia|city"},
        }},
        {"RepetitionIsNoticed", "Ema", false, {
            {"Koľko je hodín?", "14:30"},
            {"Koľko je hodín?", "hovorila|znova|Ozvena|už viem"},
            {"Koľko je hodín?", "trikrát|Tretíkrát|Trikrát"},
            {"Koľko je hodín?", "-krát"},
            {"Ahoj", "Ahoj|Čau|ahoj"},
            {"áno", "Áno|Súhlas|Dobre|Výborne|vybavené|myslím"},
            {"áno", "Áno|Súhlas|Dobre|Výborne|vybavené|myslím"},
            {"asdfghjkl", "mačka|slovensky|Asdf|nerozumiem|Písmenková|Tomu", false},
            {"???", "slovo|vetu|vetou|znamienka", false},
            {"Hm.", "Pokračuj|Aha|A čo ešte|vtip"},
        }},
        {"IdleAndHover", "Lukas", true, {
            {"@open", "Tamzel"},
            {"@idle", "Haló|stíchol|Ticho|porozprávame"},
            {"@idle", "Už druhýkrát|čakám|Nudím sa"},
            {"@idle", "Mlčíš už 3-krát|Zívam|čakať|Ťuk|ovce|zabudol"},
            {"@idle", "Mlčíš už 4-krát|Zívam|čakať|Ťuk|ovce|zabudol"},
            {"Ahoj, som tu.", "Ahoj|Čau|Zdravím|Vitaj|si tu"},
            {"@hover", "odchádzaš|vypnúť|Nechoď|ideš|krížik|Nezatváraj"},
            {"nie", "Hurá|rád|Uf"},
            {"@hover", "odchádzaš|vypnúť|Nechoď|ideš|krížik|Nezatváraj"},
            {"Naozaj už končím.", "Maj sa|Dovidenia|Škoda|Čau|Tak dobre|dovidenia|Ahoj"},
        }},
        {"ReflectionsOfTheUsersWords", "Milan", true, {
            {"Myslím, že zajtra bude pršať.", "zajtra bude pršať", false},
            {"Myslím, že môj brat ma nemá rád.", "Prečo|vedie|pravdu", false},
            {"Chcem ísť k moru.", "chceš|splnilo|bráni|Chcieť|Cestovanie|Vezmi|výlete|Krásne"},
            {"Potrebujem nové topánky.", "topánky|lepšie|pomôcť|Potreby", false},
            {"Musím sa učiť.", "musíš|chceš|Povinnosti|Musieť|Úlohy|[Uu]čeni"},
            {"Moja babka varí najlepšie.", "[Zz]aujímavé|Rád počúvam|Rodin|Rodičia|rozprávate"},
            {"Bol som v kine.", "bolo|dialo|páčilo|viac|[Ff]ilm|Kino|pozerám|znova"},
            {"Zajtra idem na výlet.", "Tešíš|kým|uži|robiť|Vezmi|Cestovanie|fotoaparát|Krásne"},
            {"Kúpil som si bicykel.", "Gratulujem|Wow|závidím"},
            {"kde je tvoj domov", "počítač|Slovensk|obrazovk"},
            {"kto je lepsi ty alebo ja", "Remíza|Porovnávať"},
        }},
        {"SlovakiaAndWeather", "Jozef", true, {
            {"Aké je počasie?", "okno|počasie|vonku|pekne"},
            {"Prší.", "Prší|počasie|čaj|dáždnik"},
            {"Čo vieš o Slovensku?", "Slovensk"},
            {"Aké je hlavné mesto Slovenska?", "Bratislava"},
            {"Aký je najvyšší vrch Slovenska?", "Gerlach"},
            {"Máš rád bryndzové halušky?", "halušk|Jesť|ochutnal|Vraj|Neviem"},
            {"Hovoríš po anglicky?", "slovensky"},
            {"Poznáš Bratislavu?", "Bratislav"},
            {"Vonku sneží.", "[Zz]ima|Sneh|snehuliak|čaj|počítač|Mráz"},
            {"Je krásne slnečno.", "počasie|Slniečko|Teplo|krásne"},
            {"Čo je hlavné mesto Česka?", "Praha"},
        }},
        {"SchoolAndWork", "Adam", true, {
            {"Chodím do školy.", "predmet|Študent|práce|spolužiak"},
            {"Mám zajtra písomku.", "zvládneš|násobilky|Držím palce"},
            {"Z fyziky som dostal päťku.", "mrzí|stáva"},
            {"Mám rád matematiku.", "Zapamätám|Zaujímavé|znie|šťastnými"},
            {"Koľko je 7 krát 8?", "56"},
            {"Kde študujem?", "Chodíš do školy|študent|chodim"},
            {"Pracujem ako programátor.", "kolegovia|programuješ|Programovanie"},
            {"Kde pracujem?", "programátor"},
            {"Zabudni, kde pracujem.", "zabudol|Hotovo|preč"},
            {"Kde pracujem?", "neviem|nepovedal|Čo robíš"},
        }},
        {"LikesAndForgetting", "Robo", true, {
            {"Mám rád futbal.", "futbal|Šport|telo"},
            {"Rád počúvam rock.", "rock|Hudba|pípam"},
            {"Nemám rád brokolicu.", "ponúkať|chutí|Chápem"},
            {"Čo nemám rád?", "brokolicu"},
            {"Čo mám rád?", "futbal"},
            {"Čo rád počúvam?", "rock"},
            {"Zabudni, čo mám rád.", "zabudol|vymazal|odznova"},
            {"Čo mám rád?", "neviem|nepovedal|Neviem"},
            {"Máš rád počítače?", "Počítač|program"},
            {"Máš ma rád?", "rád|veľmi|Jasné"},
        }},
        {"BirthdayAndAge", "Katka", false, {
            {"Narodila som sa 5.3.1990.", "36"},
            {"Koľko mám rokov?", "36"},
            {"Kedy mám narodeniny?", "5\\. 3\\. 1990"},
            {"Narodeniny mám 24.12.2005.", "20"},
            {"Koľko mám rokov?", "20"},
            {"Mám narodeniny!", "najlepšie|Blahoželám|Hurá"},
            {"Ďakujem.", "za čo|Rado|Za málo|ďakujem|pomôžem"},
            {"Mám 15 rokov.", "15|vek|Tínedžer|zapamätám"},
            {"Koľko mám rokov?", "20|15"},
            {"Zabudni, koľko mám rokov.", "zabudol|Hotovo|tajomstvo"},
            {"Koľko mám rokov?", "neviem|nepovedala|Neviem"},
        }},
        {"OpeningsByTimeOfDay", "Vlado", true, {
            {"@open", "Tamzel"},
            {"Koľko je hodín?", "14:30"},
            {"@restart", ""},
            {"@time 8", ""},
            {"@open", "ráno|Ráno|ranné"},
            {"Koľko je hodín?", "8:15"},
            {"Ahoj!", "Ahoj|Čau|pozdravili"},
            {"@restart", ""},
            {"@time 23", ""},
            {"@open", "neskoro|nočn|Nočn|spia|sova|hodín"},
            {"Koľko je hodín?", "23:15"},
            {"@restart", ""},
            {"@time 19", ""},
            {"@open", "večer|Večer"},
            {"Aký je dnes deň?", "utorok"},
            {"Ďakujem.", "za čo|Rado|Za málo|ďakujem|pomôžem"},
            {"Dobrú noc.", "noc|sny"},
        }},
        {"QuestionsAndShortInput", "Eva", false, {
            {"Čo si myslíš o mne?", "super|obľúbený|fajn"},
            {"Prečo?", "Lebo|Prečo|otázka", false},
            {"Prečo je obloha modrá?", "obloha je modrá|otázka|Keby", false},
            {"Veríš v Boha?", "[Vv]ier|osobná"},
            {"Aký je zmysel života?", "[Zz]mysel|42|procesor"},
            {"Nič.", "slovo|[Nn]ič|slovami"},
            {"Možno.", "Neistota|tajomná|Nevadí|porozmýšľaj|nevieš"},
            {"Neviem čo mám robiť.", "vety|Píš|Enter|Napíš|malé kroky|o čo ide"},
            {"A ty?", "Ja|ja"},
            {"Tamzel?", "som tu|Som tu|Áno|počúvam"},
        }},
        {"FamilyAndFriends", "Pavol", true, {
            {"Mám brata.", "Súrodenci|súrodenec|Zapamätám"},
            {"Môj brat sa volá Tomáš.", "brat|meno"},
            {"Moja sestra sa volá Eva.", "sestra|Zapamätám"},
            {"Ako sa volá môj brat?", "tomáš|Tomáš"},
            {"Moja mama je lekárka.", "mama|Mamy|lekárka"},
            {"Mám mačku.", "[Mm]ačk|Mňau"},
            {"Moja mačka sa volá Micka.", "[Mm]icka|Zapísané"},
            {"Ako sa volá moja mačka?", "[Mm]icka"},
            {"Aké mám zvieratá?", "macka"},
            {"Čo o mne vieš?", "Si Pavol"},
        }},
    };
    return dialogues;
}

class Conversation : public ::testing::TestWithParam<Dialogue> {};

TEST_P(Conversation, EveryTurnStaysOnItsTopic) {
    const Dialogue& d = GetParam();
    BrainFolder folder;
    if (!folder.ready()) GTEST_SKIP() << "no built brain";
    BrainSession session(folder, d.user, d.male);
    size_t spoken = 0;
    for (const Turn& turn : d.turns) {
        std::string reply = Play(session, turn);
        if (turn.say[0] == '@' && turn.say != "@open" && turn.say != "@idle" &&
            turn.say != "@hover")
            continue;
        ++spoken;
        EXPECT_TRUE(std::regex_search(reply, std::regex(turn.expect)))
            << d.name << ": \"" << turn.say << "\" was answered \"" << reply
            << "\", expected /" << turn.expect << "/";
        if (turn.say[0] != '@') {
            EXPECT_EQ(session.understood(), turn.understood)
                << d.name << ": \"" << turn.say << "\" -> \"" << reply << "\"";
        }
        EXPECT_LE(reply.size(), 400u) << "an answer this long is not a chat turn";
    }
    EXPECT_GE(spoken, 10u) << d.name << " is too short to be a conversation";
}

std::string DialogueName(const ::testing::TestParamInfo<Dialogue>& param) {
    return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(Dialogues, Conversation, ::testing::ValuesIn(Dialogues()), DialogueName);

TEST(Conversation, AFarewellAsksTheProgramToClose) {
    BrainFolder folder;
    if (!folder.ready()) GTEST_SKIP() << "no built brain";
    for (const char* bye : {"Dovidenia.", "dobru noc", "Maj sa!", "Musím ísť."}) {
        BrainSession session(folder, "Peter");
        session.Say("Ahoj");
        EXPECT_FALSE(session.quitRequested());
        session.Say(bye);
        EXPECT_TRUE(session.quitRequested()) << bye;
    }
}

// The same question asked again later in the conversation gets another answer.
TEST(Conversation, RepliesToTheSameInputVary) {
    BrainFolder folder;
    if (!folder.ready()) GTEST_SKIP() << "no built brain";
    BrainSession session(folder, "Peter");
    for (const char* question : {"Povedz vtip.", "Ako sa máš?", "Kto si?", "Ďakujem.",
                                 "Čo vieš robiť?", "Dovidenia."}) {
        std::set<std::string> replies;
        for (int i = 0; i < 3; ++i) {
            replies.insert(session.Say(question));
            session.Say("Aký je rok?");  // something else in between, so it is no repetition
        }
        EXPECT_EQ(replies.size(), 3u) << question << " got a repeated answer";
    }
}

}  // namespace
}  // namespace tamzel::brain_testing
