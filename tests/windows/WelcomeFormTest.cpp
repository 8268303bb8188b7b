// The start window: theme, user list, login profile, preselection and sign-in.
#include <QFile>
#include <QKeyEvent>
#include <algorithm>

#include "WindowFixture.h"

namespace tamzel::profiles::testing {
namespace {

using WelcomeFormTest = WindowTest;

TEST_F(WelcomeFormTest, FirstStartCreatesTheLoginProfileAndGreetsAfterSignIn) {
    ShowWelcome("Peter");
    EXPECT_EQ(Read("users/user.lst"), "Peter\r\n");
    EXPECT_TRUE(Exists("users/_Peter/user.dat"));
    EXPECT_EQ(Read("users/_Peter/user.cfg"),
              "[user]\r\nzaznamy=1\r\nrec=1\r\nanimacia=1\r\ninfobar=1\r\nhlasitost=10\r\n"
              "rychlost=65\r\nintonacia=3\r\n");
    EXPECT_EQ(From1250(welcome->ComboBox1->itemText(0)), base::Cp1250("Nový užívateľ"));
    EXPECT_EQ(From1250(welcome->ComboBox1->currentText()), "Peter");
    EXPECT_FALSE(warning->isVisible());  // created silently
    ASSERT_TRUE(welcome->SignIn());
    EXPECT_FALSE(welcome->isVisible());
    EXPECT_EQ(main.shown, 1);
    EXPECT_EQ(talk.values.name, "Peter");
    EXPECT_TRUE(talk.values.male);
    EXPECT_EQ(options->Volume(), 10);
    EXPECT_EQ(options->Speed(), 65);
    EXPECT_EQ(options->Intonation(), 3);
    EXPECT_EQ(Title(), base::Cp1250("Informácia"));
    EXPECT_NE(Text().find(base::Cp1250("by si mal za každou")), std::string::npos) << Text();
    EXPECT_NE(Text().find(base::Cp1250("Prajem Ti veľa zábavy pri používaní programu Tamzel!")),
              std::string::npos);
}

// The sign-in button keeps clear of the voice list above it.
TEST_F(WelcomeFormTest, TheSignInButtonDoesNotTouchTheVoiceList) {
    ShowWelcome("Peter");
    EXPECT_GE(welcome->Image2->geometry().top() - welcome->ComboBox2->geometry().bottom(), 3);
    EXPECT_LE(welcome->Image2->geometry().bottom(), welcome->height() - 3);
}

TEST_F(WelcomeFormTest, PreselectionByLastUserAndAutolog) {
    struct Case {
        const char* ini;
        std::string login;
        std::string selected;  // "" = nothing preselected
        bool autolog;
    } cases[] = {
        {"[tamzel]\r\nautolog=1\r\nlast_user=Eva\r\ntheme=design/interface.thm\r\n", "peter",
         "Peter", true},
        {"[tamzel]\r\nautolog=0\r\nlast_user=Eva\r\ntheme=design/interface.thm\r\n", "peter",
         "Eva", false},
        {"[tamzel]\r\nautolog=1\r\nlast_user=Eva\r\ntheme=design/interface.thm\r\n", "nikto.x",
         "Eva", true},
        {"[tamzel]\r\nautolog=1\r\nlast_user=Zora\r\ntheme=design/interface.thm\r\n", "a.b", "",
         true},
        {"[tamzel]\r\nautolog=1\r\nlast_user=Eva\r\ntheme=design/interface.thm\r\n",
         base::Cp1250("JÁN"), base::Cp1250("Ján"), true},
    };
    AddUser("Eva", false);
    AddUser("Peter");
    AddUser("Ján");
    const std::string list = Read("users/user.lst");
    for (const Case& c : cases) {
        Write("users/tamzel.ini", c.ini);
        ShowWelcome(c.login);
        std::string selected = welcome->ComboBox1->currentIndex() > 0
                                   ? From1250(welcome->ComboBox1->currentText())
                                   : "";
        EXPECT_EQ(selected, c.selected) << c.login;
        EXPECT_EQ(main.autolog, c.autolog) << c.login;
        EXPECT_EQ(Read("users/user.lst"), list) << "no login profile for " << c.login;
        welcome->hide();
    }
}

TEST_F(WelcomeFormTest, ThemeFromTheIniWithFallback) {
    QDir().mkpath("themes/blue");
    Write("themes/blue.thm", "16711680\r\n");
    struct Case {
        const char* theme;
        std::string file, folder;
        int color;
    } cases[] = {
        {"themes/blue.thm", "themes/blue.thm", "themes/blue/", 16711680},
        {"themes/gone.thm", "design/interface.thm", "design/interface/", 4602938},
    };
    for (const Case& c : cases) {
        Write("users/tamzel.ini", std::string("[tamzel]\r\nautolog=0\r\nlast_user=\r\ntheme=") +
                                      c.theme + "\r\n");
        ShowWelcome("");
        EXPECT_EQ(main.theme.file, c.file);
        EXPECT_EQ(main.theme.folder, c.folder);
        EXPECT_EQ(main.theme.color, c.color);
        welcome->hide();
    }
}

QImage Shown(const QLabel* label) { return label->pixmap().toImage(); }

// Each show names the damaged or missing pictures of the theme in one message (one dialog
// sound) and shows the default theme's picture in their place, or keeps the previous one.
TEST_F(WelcomeFormTest, DamagedThemePicturesAreNamedOnceAShow) {
    Write("users/tamzel.ini", "[tamzel]\r\nautolog=0\r\nlast_user=\r\ntheme=themes/zly.thm\r\n");
    QDir().mkpath("themes/zly");
    Write("themes/zly.thm", "255\r\n");
    for (const QString& name : QDir("design/interface").entryList({"*.jpg"}, QDir::Files))
        QFile::copy("design/interface/" + name, "themes/zly/" + name);
    Write("themes/zly/welcome.jpg", "\xFF\xD8\xFF\xE0 poskodeny");
    QFile::remove("themes/zly/main_ok1.jpg");
    const QImage defaultWelcome("design/interface/welcome.jpg");
    ASSERT_FALSE(defaultWelcome.isNull());

    ShowWelcome("");
    EXPECT_EQ(Title(), "Pozor");
    EXPECT_NE(Text().find("themes/zly/welcome.jpg"), std::string::npos) << Text();
    EXPECT_NE(Text().find("themes/zly/main_ok1.jpg"), std::string::npos) << Text();
    EXPECT_EQ(sounds.size(), 1u);
    EXPECT_EQ(Shown(welcome->Image1).convertToFormat(QImage::Format_RGB888),
              defaultWelcome.convertToFormat(QImage::Format_RGB888));
    welcome->hide();
    warning->hide();

    // Without the default theme's picture the previous one stays.
    const QImage shownBefore = Shown(welcome->Image1);
    QFile::remove("design/interface/welcome.jpg");
    ShowWelcome("");
    EXPECT_EQ(sounds.size(), 2u) << "one message for the second show";
    EXPECT_EQ(Shown(welcome->Image1), shownBefore);
    welcome->hide();
    warning->hide();

    Write("users/tamzel.ini", "[tamzel]\r\nautolog=0\r\nlast_user=\r\ntheme=design/interface.thm\r\n");
    QFile::copy(QString::fromUtf8(TAMZEL_TEST_SOURCE_DIR "/data/design/interface/welcome.jpg"),
                "design/interface/welcome.jpg");
    ShowWelcome("");
    EXPECT_EQ(sounds.size(), 2u) << "a whole theme says nothing: " << Text();
}

// A .thm without a colour number (or one that is a device) is named, and the default theme
// takes its place with all its pictures.
TEST_F(WelcomeFormTest, DamagedThemeFileIsNamedAndTheDefaultThemeShown) {
    QDir().mkpath("themes/bez");
    for (const QString& name : QDir("design/interface").entryList({"*.jpg"}, QDir::Files))
        QFile::copy("design/interface/" + name, "themes/bez/" + name);
    Write("themes/bez.thm", base::Cp1250("modrá\r\n"));
    struct Case {
        const char* theme;
    } cases[] = {{"themes/bez.thm"}, {"/dev/zero"}};
    size_t messages = 0;
    for (const Case& c : cases) {
        Write("users/tamzel.ini", std::string("[tamzel]\r\nautolog=0\r\nlast_user=\r\ntheme=") +
                                      c.theme + "\r\n");
        ShowWelcome("");
        EXPECT_EQ(sounds.size(), ++messages) << c.theme;
        EXPECT_EQ(Title(), "Pozor");
        EXPECT_NE(Text().find(c.theme), std::string::npos) << Text();
        EXPECT_EQ(main.theme.file, "design/interface.thm") << c.theme;
        EXPECT_EQ(main.theme.color, 4602938) << c.theme;
        EXPECT_FALSE(Shown(welcome->Image1).isNull()) << c.theme;
        welcome->hide();
        warning->hide();
    }
}

TEST_F(WelcomeFormTest, VoiceListIsFixed) {
    ShowWelcome("");
    EXPECT_FALSE(welcome->ComboBox2->isEnabled());
    ASSERT_EQ(welcome->ComboBox2->count(), 1);
    EXPECT_EQ(welcome->ComboBox2->currentText(), "Gorvin");
}

TEST_F(WelcomeFormTest, SignInWithoutAUserAsksForTheName) {
    ShowWelcome("");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(welcome->ComboBox1, &enter);
    EXPECT_EQ(Title(), "Pozor");
    EXPECT_EQ(Text(), base::Cp1250("Musíš zadať svoje meno."));
    EXPECT_TRUE(welcome->isVisible());
    EXPECT_EQ(main.shown, 0);
}

// A damaged profile file is named in the message; nothing changes and the program goes on.
TEST_F(WelcomeFormTest, BrokenProfileFilesAreReportedByName) {
    AddUser("Eva", false);
    struct Case {
        const char* file;
        std::string content;  // empty: the file is removed
    } cases[] = {
        {"users/_Eva/user.dat", "[data]\r\nmeno=Eva\r\nvyslovnost=Eva\r\npohlavie=zena\r\nnalada=x\r\n"},
        {"users/_Eva/user.cfg", "[user]\r\nzaznamy=1\r\n"},
        {"users/_Eva/user.dat", ""},
    };
    for (const Case& c : cases) {
        std::string saved = Read(c.file);
        if (c.content.empty()) QFile::remove(QString::fromStdString(Path(c.file)));
        else Write(c.file, c.content);
        Write("users/tamzel.ini", "[tamzel]\r\nautolog=0\r\nlast_user=Eva\r\ntheme=x\r\n");
        ShowWelcome("");
        EXPECT_FALSE(welcome->SignIn()) << c.file;
        EXPECT_TRUE(welcome->isVisible());
        EXPECT_EQ(main.shown, 0);
        EXPECT_NE(Text().find(c.file + 6), std::string::npos) << Text();  // "_Eva/user.x"
        EXPECT_TRUE(talk.values.name.empty());
        Write(c.file, saved);
        welcome->hide();
    }
}

TEST_F(WelcomeFormTest, SettingsOfTheUserReachSwitchesAndSliders) {
    AddUser("Eva", false);
    Write("users/_Eva/user.cfg", "[user]\r\nzaznamy=0\r\nrec=1\r\nanimacia=x\r\ninfobar=1\r\n"
                                 "hlasitost=700\r\nrychlost=90\r\nintonacia=12\r\n");
    Write("users/tamzel.ini", "[tamzel]\r\nautolog=0\r\nlast_user=Eva\r\ntheme=x\r\n");
    ShowWelcome("");
    ASSERT_TRUE(welcome->SignIn());
    EXPECT_FALSE(main.records);
    EXPECT_TRUE(main.speech);
    EXPECT_FALSE(main.animation);
    EXPECT_TRUE(main.infoBar);
    EXPECT_FALSE(main.autolog);
    EXPECT_EQ(options->Volume(), 700);
    EXPECT_EQ(options->Speed(), 90);
    EXPECT_EQ(options->Intonation(), 12);
    EXPECT_FALSE(talk.values.male);
    EXPECT_FALSE(warning->isVisible());  // no greeting for a known user
}

// The login profile made at this start is no reason to greet another user as new; its own
// user is greeted once, and a profile from an earlier start never.
TEST_F(WelcomeFormTest, OnlyTheUserCreatedInThisStartIsGreeted) {
    struct Case {
        const char* signIn;
        bool greeted;
    } cases[] = {{"Eva", false}, {"Peter", true}, {"Peter", false}, {"Eva", false}};
    AddUser("Eva", false);
    ShowWelcome("Peter");  // creates Peter's profile
    for (const Case& c : cases) {
        warning->hide();
        int index = welcome->ComboBox1->findText(QString::fromUtf8(c.signIn));
        ASSERT_GT(index, 0) << c.signIn;
        welcome->ComboBox1->setCurrentIndex(index);
        ASSERT_TRUE(welcome->SignIn()) << c.signIn;
        EXPECT_EQ(talk.values.name, c.signIn);
        EXPECT_EQ(warning->isVisible(), c.greeted) << c.signIn;
        if (c.greeted) {
            EXPECT_EQ(Text().rfind(base::Cp1250("Vitaj, Peter!"), 0), 0u) << Text();
        }
    }
    welcome->hide();
    ShowWelcome("Peter");  // the next start: Peter is known now
    welcome->ComboBox1->setCurrentIndex(welcome->ComboBox1->findText("Peter"));
    ASSERT_TRUE(welcome->SignIn());
    EXPECT_EQ(talk.values.name, "Peter");
    EXPECT_FALSE(warning->isVisible());
}

TEST_F(WelcomeFormTest, DirectSignInCreatesANewNamedUser) {
    AddUser("Eva", false);
    welcome->loginNameFixed = true;
    welcome->loginName = "";
    ASSERT_TRUE(welcome->SignInDirect("Juraj"));
    EXPECT_EQ(talk.values.name, "Juraj");
    EXPECT_EQ(Read("users/user.lst"), "Eva\r\nJuraj\r\n");
    EXPECT_EQ(main.shown, 1);
    EXPECT_FALSE(welcome->SignInDirect("zly.meno"));
    EXPECT_EQ(Title(), "Pozor");
}

// The start window creates the login profile quietly at every show; with the list lost
// that must neither overwrite the login user's files nor hide the other users.
TEST_F(WelcomeFormTest, ProfilesMissingFromALostListAreListedAndKept) {
    AddUser("Eva", false);
    AddUser("Peter");
    Write("users/_Peter/user.dat", FormatUserData({"Peter", "Peto", true, 9}));
    Write("users/_Peter/user.mem", "[DUZ]\r\nOBJECT(user)\r\n->\r\npes:Dunco\r\n<-\r\n");
    const std::string peterData = Read("users/_Peter/user.dat");
    const std::string peterMemory = Read("users/_Peter/user.mem");
    const std::string evaData = Read("users/_Eva/user.dat");
    const std::initializer_list<const char*> lists = {"", "\x01\x02garbled\r\n", nullptr};
    for (const char* list : lists) {  // nothing: the list is gone
        if (list) Write("users/user.lst", list);
        else QFile::remove(QString::fromStdString(Path("users/user.lst")));
        ShowWelcome("Peter");
        EXPECT_EQ(Read("users/_Peter/user.dat"), peterData);
        EXPECT_EQ(Read("users/_Peter/user.mem"), peterMemory);
        EXPECT_EQ(Read("users/_Eva/user.dat"), evaData);
        std::vector<std::string> users = welcome->Users();
        EXPECT_EQ(std::count(users.begin(), users.end(), "Eva"), 1);
        EXPECT_EQ(std::count(users.begin(), users.end(), "Peter"), 1);
        EXPECT_EQ(From1250(welcome->ComboBox1->currentText()), "Peter");
        EXPECT_TRUE(welcome->createdThisStart.empty());  // no profile was created
        ASSERT_TRUE(welcome->SignIn());
        EXPECT_EQ(talk.values.mood, 9);
        EXPECT_EQ(talk.values.pronunciation, "Peto");
        welcome->hide();
    }
}

TEST_F(WelcomeFormTest, FadeSteps) {
    welcome->opacity = 255;
    welcome->StartFade(false);
    int ticks = 0;
    while (welcome->fadeActive && ticks < 100) welcome->Timer1Timer(), ++ticks;
    EXPECT_EQ(welcome->opacity, 95);  // stops at the first value below 100
    welcome->StartFade(true);
    while (welcome->fadeActive && ticks < 200) welcome->Timer1Timer(), ++ticks;
    EXPECT_EQ(welcome->opacity, 255);
}

}  // namespace
}  // namespace tamzel::profiles::testing
