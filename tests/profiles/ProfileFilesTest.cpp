#include "profiles/ProfileFiles.h"

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "profiles/ProfileStore.h"

namespace tamzel::profiles {
namespace {


TEST(ProfileFiles, UserDataRoundTripsByteExact) {
    const std::string files[] = {
        "[data]\r\nmeno=" + base::Cp1250("Ján") + "\r\nvyslovnost=" + base::Cp1250("Jáán") +
            "\r\npohlavie=muz\r\nnalada=0\r\n",
        "[data]\r\nmeno=" + base::Cp1250("Žofia Ťažká") + "\r\nvyslovnost=Zofia\r\npohlavie=zena\r\n"
            "nalada=-17\r\n",
    };
    for (const std::string& file : files) {
        auto parsed = ParseUserData(file, "user.dat");
        ASSERT_TRUE(parsed) << parsed.message();
        EXPECT_EQ(FormatUserData(*parsed), file);
    }
    auto zofia = ParseUserData(files[1], "user.dat");
    EXPECT_EQ(zofia->name, base::Cp1250("Žofia Ťažká"));
    EXPECT_FALSE(zofia->male);
    EXPECT_EQ(zofia->mood, -17);
}

TEST(ProfileFiles, ReadingIsPositionalNotByKey) {
    // Each line loses as many characters as its key is long, whatever they are; only the
    // exact text "muz" makes a man.
    auto data = ParseUserData("x\r\nMENO=Eva\r\nxxxxxxxxxxxEvka\r\npohlavie=MUZ\r\nnalada=3\r\n",
                              "user.dat");
    ASSERT_TRUE(data) << data.message();
    EXPECT_EQ(data->name, "Eva");
    EXPECT_EQ(data->pronunciation, "Evka");
    EXPECT_FALSE(data->male);
    // A bare LF ends a line as well, and a last line may lack its ending.
    auto lf = ParseUserData("[data]\nmeno=A\nvyslovnost=A\npohlavie=muz\nnalada=+4", "user.dat");
    ASSERT_TRUE(lf) << lf.message();
    EXPECT_EQ(lf->mood, 4);
    EXPECT_TRUE(lf->male);
}

TEST(ProfileFiles, UserConfigRoundTripAndSwitchesOnOnlyForOne) {
    std::string text = FormatUserConfig({true, false, true, false, 800, 51, 18});
    auto back = ParseUserConfig(text, "user.cfg");
    ASSERT_TRUE(back) << back.message();
    EXPECT_EQ(FormatUserConfig(*back), text);

    auto odd = ParseUserConfig("[user]\r\nzaznamy=11\r\nrec=yes\r\nanimacia= 1\r\ninfobar=1\r\n"
                               "hlasitost=1\r\nrychlost=2\r\nintonacia=3\r\n", "user.cfg");
    ASSERT_TRUE(odd) << odd.message();
    EXPECT_FALSE(odd->records);
    EXPECT_FALSE(odd->speech);
    EXPECT_FALSE(odd->animation);
    EXPECT_TRUE(odd->infoBar);
}

TEST(ProfileFiles, NewUserDefaultsAreTheRegisteredOnes) {
    EXPECT_EQ(FormatUserConfig(UserConfig{}),
              "[user]\r\nzaznamy=1\r\nrec=1\r\nanimacia=1\r\ninfobar=1\r\nhlasitost=10\r\n"
              "rychlost=65\r\nintonacia=3\r\n");
    EXPECT_EQ(NewMemoryFile(), "[DUZ]\r\nOBJECT(user)\r\n->\r\n<-\r\n");
}

struct MalformedCase {
    const char* what;
    bool config;
    std::string text;
    std::string expectedInMessage;
};

TEST(ProfileFiles, MalformedFilesNameTheFileAndTheLine) {
    const std::string dat = "[data]\r\nmeno=A\r\nvyslovnost=A\r\npohlavie=muz\r\n";
    const std::string cfg = "[user]\r\nzaznamy=1\r\nrec=1\r\nanimacia=1\r\ninfobar=1\r\n";
    const MalformedCase cases[] = {
        {"empty user.dat", false, "", "riadok 2"},
        {"mood line missing", false, dat, "riadok 5"},
        {"mood not a number", false, dat + "nalada=dobra\r\n", "riadku 5"},
        {"mood with trailing text", false, dat + "nalada=5x\r\n", "\"5x\""},
        {"mood out of range", false, dat + "nalada=99999999999\r\n", "riadku 5"},
        {"mood only a sign", false, dat + "nalada=-\r\n", "riadku 5"},
        {"mood empty", false, dat + "nalada=\r\n", "riadku 5"},
        {"sliders missing", true, cfg, "riadok 6"},
        {"volume not a number", true, cfg + "hlasitost=hlasno\r\nrychlost=1\r\nintonacia=1\r\n",
         "riadku 6"},
        {"intonation missing", true, cfg + "hlasitost=1\r\nrychlost=1\r\n", "riadok 8"},
        {"speed not a number", true, cfg + "hlasitost=1\r\nrychlost=1.5\r\nintonacia=1\r\n",
         "riadku 7"},
    };
    for (const MalformedCase& c : cases) {
        std::string error = c.config ? ParseUserConfig(c.text, "users/_A/user.cfg").message()
                                     : ParseUserData(c.text, "users/_A/user.dat").message();
        EXPECT_NE(error.find(c.config ? "users/_A/user.cfg" : "users/_A/user.dat"),
                  std::string::npos)
            << c.what << ": " << error;
        EXPECT_NE(error.find(c.expectedInMessage), std::string::npos) << c.what << ": " << error;
    }
}

TEST(ProfileFiles, StartSettingsRoundTripAndDefaults) {
    StartSettings s{false, base::Cp1250("Ján"), "/home/x/moja tema.thm"};
    std::string text = FormatStartSettings(s);
    EXPECT_EQ(text, "[tamzel]\r\nautolog=0\r\nlast_user=" + base::Cp1250("Ján") +
                        "\r\ntheme=/home/x/moja tema.thm\r\n");
    EXPECT_EQ(FormatStartSettings(ParseStartSettings(text)), text);

    StartSettings none = ParseStartSettings("");
    EXPECT_TRUE(none.autolog);
    EXPECT_FALSE(none.lastUser.has_value());
    EXPECT_EQ(none.theme, "design/interface.thm");
    StartSettings partial = ParseStartSettings("[tamzel]\r\nautolog=0\r\n");
    EXPECT_FALSE(partial.autolog);
    EXPECT_FALSE(partial.lastUser.has_value());
    EXPECT_EQ(partial.theme, "design/interface.thm");
}

TEST(ProfileFiles, MoodBlendRoundsHalvesToEven) {
    struct Case { int32_t current, stored, expected; };
    const Case cases[] = {
        {15, 4, 5},     // 5.1
        {5, 0, 0},      // 0.5
        {15, 0, 2},     // 1.5
        {25, 0, 2},     // 2.5
        {-5, 0, 0},     // -0.5
        {-15, 0, -2},   // -1.5
        {-16, 0, -2},   // -1.6
        {0, 10, 9},     // 9.0
        {INT32_MAX, INT32_MAX, INT32_MAX},
        {INT32_MIN, INT32_MIN, INT32_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendMood(c.current, c.stored), c.expected)
            << c.current << " blended into " << c.stored;
}

}  // namespace
}  // namespace tamzel::profiles
