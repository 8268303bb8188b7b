// The registration window: checks and their messages, creation, Enter, close, editing.
#include <QFontMetrics>
#include <QKeyEvent>

#include "WindowFixture.h"

namespace tamzel::profiles::testing {
namespace {

using RegisterFormTest = WindowTest;

void Fill(TRegisterForm& form, const std::string& name, const std::string& pron, bool male) {
    form.Edit1->setText(Qt1250(name));
    form.Edit2->setText(Qt1250(pron));
    (male ? form.RadioButton1 : form.RadioButton2)->setChecked(true);
}

TEST_F(RegisterFormTest, RefusedInputShowsOneMessageAndWritesNothing) {
    AddUser("Ján");
    const std::string list = Read("users/user.lst");
    struct Case {
        std::string name, pron;
        bool male;
        std::string title, message;
    } cases[] = {
        {"", "", true, "Pozor", base::Cp1250("Neuviedol si svoje meno.")},
        {"", "", false, "Pozor", base::Cp1250("Neuviedla si svoje meno.")},
        {"Peter", "", true, "Pozor", base::Cp1250("Neuviedol si, ako mám vyslovovať tvoje meno.")},
        {"Eva", "", false, "Pozor", base::Cp1250("Neuviedla si, ako mám vyslovovať tvoje meno.")},
        {"Jozef.", "Jozef", true, "Pozor",
         base::Cp1250("V tvojom mene sa nachádza znak \".\". Tvoje meno však môže obsahovať len písmená "
           "slovenskej (resp. stredoeurópskej) abecedy.")},
        {"jan", "jan", true, "Upozornenie",
         base::Cp1250("Užívateľ s tvojim menom už existuje. Zmeň si prosím svoje meno.")},
        {"JAN", "jan", false, "Upozornenie",
         base::Cp1250("Užívateľ s tvojim menom už existuje. Zmeň si prosím svoje meno.")},
    };
    for (const Case& c : cases) {
        sounds.clear();
        registration->OpenForNewProfile();
        Fill(*registration, c.name, c.pron, c.male);
        registration->AcceptRegistration();
        EXPECT_EQ(Title(), c.title) << c.name;
        EXPECT_EQ(Text(), c.message) << c.name;
        EXPECT_EQ(sounds.size(), 1u) << c.name;
        EXPECT_TRUE(registration->isVisible()) << c.name;
        EXPECT_EQ(From1250(registration->Edit1->text()), c.name);  // fields kept
        EXPECT_EQ(Read("users/user.lst"), list) << c.name;
    }
    EXPECT_FALSE(Exists("users/_jan"));
    EXPECT_FALSE(Exists(base::Cp1250("users/_Jozef.")));
}

// A pasted emoji has no Windows-1250 form; the refusal shows it as it was typed (the whole
// emoji, joined or with its variation selector), never as "?", and writes nothing. What the
// name lacks first is still said first.
TEST_F(RegisterFormTest, AnEmojiInTheNameIsShownAsItselfInTheRefusal) {
    const std::string list = Read("users/user.lst");
    const std::string after = "\". Tvoje meno však môže obsahovať len písmená slovenskej "
                              "(resp. stredoeurópskej) abecedy.";
    struct Case {
        const char* name;   // UTF-8, as typed
        const char* pron;
        const char* title;
        std::string message;  // UTF-8
    } cases[] = {
        {"Peter😀", "Peter", "Pozor", "V tvojom mene sa nachádza znak \"😀" + after},
        {"Ján👍🏽x", "Jan", "Pozor", "V tvojom mene sa nachádza znak \"👍🏽" + after},
        {"❤️Eva", "Eva", "Pozor", "V tvojom mene sa nachádza znak \"❤️" + after},
        {"👨‍👩‍👧", "rodina", "Pozor", "V tvojom mene sa nachádza znak \"👨‍👩‍👧" + after},
        {"Jo.zef😀", "Jozef", "Pozor", "V tvojom mene sa nachádza znak \"." + after},
        {"Peter😀", "", "Pozor", "Neuviedol si, ako mám vyslovovať tvoje meno."},
    };
    for (const Case& c : cases) {
        registration->OpenForNewProfile();
        registration->Edit1->setText(QString::fromUtf8(c.name));
        registration->Edit2->setText(QString::fromUtf8(c.pron));
        registration->AcceptRegistration();
        EXPECT_EQ(Title(), c.title) << c.name;
        EXPECT_EQ(warning->Memo1->toPlainText().toStdString(), c.message) << c.name;
        EXPECT_FALSE(warning->Memo1->toPlainText().contains('?')) << c.name;
        EXPECT_TRUE(registration->isVisible()) << c.name;
        EXPECT_EQ(registration->Edit1->text(), QString::fromUtf8(c.name));  // kept as typed
        EXPECT_EQ(Read("users/user.lst"), list) << c.name;
    }
}

// The window says what it does: a new profile or the editing of one.
TEST_F(RegisterFormTest, TheCaptionTellsNewFromEdit) {
    AddUser("Eva", false);
    QLabel* caption = registration->Caption;
    auto fits = [caption] {
        return QFontMetrics(caption->font()).horizontalAdvance(caption->text()) <= caption->width();
    };
    registration->OpenProfileForEdit("Eva");
    EXPECT_EQ(From1250(caption->text()), base::Cp1250("Úprava užívateľa"));
    EXPECT_TRUE(fits());
    registration->CloseClick();
    registration->OpenForNewProfile();
    EXPECT_EQ(From1250(caption->text()), base::Cp1250("Nový užívateľ"));
    EXPECT_TRUE(fits());
    EXPECT_LE(caption->geometry().right(), 119);  // on the tab
}

// The gender choices sit on the theme's colour; their captions must be readable on it in
// the light and in the dark theme (contrast at least 4.5 : 1).
TEST_F(RegisterFormTest, GenderCaptionsAreReadableOnEveryThemeColour) {
    for (int colour : {14474460, 4602938, 0x000000, 0xFFFFFF, 0x808080}) {
        main.theme.color = colour;
        registration->OpenForNewProfile();
        for (QRadioButton* r : {registration->RadioButton1, registration->RadioButton2}) {
            QImage shot = r->grab().toImage();
            const QColor ground = main.theme.Color();
            double best = 1;
            // Right of the round indicator: the caption's pixels.
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 18; x < shot.width(); ++x)
                    best = std::max(best, ContrastRatio(shot.pixelColor(x, y), ground));
            EXPECT_GE(best, 4.5) << colour << " " << r->text().toStdString();
        }
        registration->hide();
    }
}

TEST_F(RegisterFormTest, ValidNamesAreCreatedWithTheChosenGender) {
    AddUser("Ján");
    struct Case {
        const char* name;
        bool male;
        const char* gender;
    } cases[] = {{"Jožko", true, "pohlavie=muz"}, {"R2D2", true, "pohlavie=muz"},
                 {"Jana", false, "pohlavie=zena"}};
    for (const Case& c : cases) {
        registration->OpenForNewProfile();
        Fill(*registration, base::Cp1250(c.name), "vyslov", c.male);
        registration->AcceptRegistration();
        EXPECT_FALSE(registration->isVisible()) << c.name;
        std::string dat = Read(base::Cp1250("users/_") + base::Cp1250(c.name) + "/user.dat");
        EXPECT_NE(dat.find(c.gender), std::string::npos) << c.name;
        EXPECT_NE(dat.find("nalada=0"), std::string::npos) << c.name;
        EXPECT_TRUE(Exists(base::Cp1250("users/_") + base::Cp1250(c.name) + "/user.cfg"));
        EXPECT_TRUE(Exists(base::Cp1250("users/_") + base::Cp1250(c.name) + "/user.mem"));
    }
    EXPECT_EQ(Read("users/user.lst"), base::Cp1250("Ján\r\nJožko\r\nR2D2\r\nJana\r\n"));
}

TEST_F(RegisterFormTest, EnterOnAnyFieldAccepts) {
    QWidget* fields[] = {registration->Edit1, registration->Edit2, registration->RadioButton1,
                         registration->RadioButton2};
    int n = 0;
    for (QWidget* field : fields) {
        std::string name = "Meno" + std::to_string(++n);
        registration->OpenForNewProfile();
        Fill(*registration, name, name, true);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
        EXPECT_TRUE(store->FindUser(name)) << name;
        EXPECT_FALSE(registration->isVisible()) << name;
    }
}

TEST_F(RegisterFormTest, CreatedProfileIsLastSelectedAndGreetedAfterSignIn) {
    AddUser("Anna", false);
    ShowWelcome("");
    ASSERT_EQ(welcome->ComboBox1->count(), 2);
    welcome->ComboBox1Change(0);
    EXPECT_FALSE(welcome->isEnabled());
    ASSERT_TRUE(registration->isVisible());
    Fill(*registration, base::Cp1250("Mária"), "Maria", false);
    registration->AcceptRegistration();
    EXPECT_TRUE(welcome->isEnabled());
    EXPECT_TRUE(welcome->fadeIn);
    EXPECT_EQ(welcome->ComboBox1->count(), 3);
    EXPECT_EQ(welcome->ComboBox1->currentIndex(), 2);
    EXPECT_EQ(From1250(welcome->ComboBox1->currentText()), base::Cp1250("Mária"));
    EXPECT_TRUE(main.records && main.speech && main.animation && main.infoBar && main.autolog);
    ASSERT_TRUE(welcome->SignIn());
    EXPECT_EQ(Title(), base::Cp1250("Informácia"));
    EXPECT_NE(Text().find(base::Cp1250("by si mala za každou")), std::string::npos) << Text();
    EXPECT_EQ(Text().rfind(base::Cp1250("Vitaj, Mária!"), 0), 0u);
}

TEST_F(RegisterFormTest, CloseButtonWritesNothingAndReturnsToTheStartWindow) {
    ShowWelcome("");
    welcome->ComboBox1Change(0);
    Fill(*registration, "Nikto", "Nikto", true);
    registration->Image3->Click();
    EXPECT_FALSE(registration->isVisible());
    EXPECT_TRUE(welcome->isEnabled());
    EXPECT_FALSE(Exists("users/_Nikto"));
    EXPECT_EQ(Read("users/user.lst"), "");
    EXPECT_EQ(welcome->ComboBox1->count(), 1);
}

TEST_F(RegisterFormTest, EditingThePronunciationKeepsTheMood) {
    AddUser("Ján");
    std::string dat = Read(base::Cp1250("users/_Ján/user.dat"));
    dat.replace(dat.find("nalada=0"), 8, "nalada=-7");
    Write(base::Cp1250("users/_Ján/user.dat"), dat);
    registration->OpenProfileForEdit(base::Cp1250("Ján"));
    EXPECT_EQ(registration->KeptMood, -7);
    EXPECT_EQ(registration->EditMode, 1);
    EXPECT_FALSE(options->isEnabled());
    registration->Edit2->setText("Jahn");
    registration->RadioButton2->setChecked(true);
    registration->AcceptRegistration();
    EXPECT_EQ(registration->EditMode, 0);
    EXPECT_TRUE(options->isEnabled());
    EXPECT_EQ(Read(base::Cp1250("users/_Ján/user.dat")),
              base::Cp1250("[data]\r\nmeno=Ján\r\nvyslovnost=Jahn\r\npohlavie=zena\r\nnalada=-7\r\n"));
}

TEST_F(RegisterFormTest, RenameMovesMemoryAndSettingsAndTheSignedInUser) {
    AddUser("Peter");
    AddUser("Eva", false);
    Write("users/_Peter/user.mem", "[DUZ]\r\nOBJECT(user)\r\n->\r\nfarba=modra\r\n<-\r\n");
    std::string cfg = Read("users/_Peter/user.cfg");
    talk.values = {"Peter", "Peter", true, 3};
    ShowWelcome("");
    options->show();
    registration->OpenProfileForEdit("Peter");
    registration->Edit1->setText("Palo");
    registration->AcceptRegistration();
    EXPECT_FALSE(Exists("users/_Peter"));
    EXPECT_EQ(Read("users/_Palo/user.cfg"), cfg);
    EXPECT_NE(Read("users/_Palo/user.mem").find("farba=modra"), std::string::npos);
    EXPECT_EQ(Read("users/user.lst"), "Palo\r\nEva\r\n");
    EXPECT_EQ(talk.values.name, "Palo");
    EXPECT_EQ(talk.values.mood, 3);
    EXPECT_EQ(welcome->Users(), (std::vector<std::string>{"Palo", "Eva"}));
    EXPECT_EQ(options->Accounts(), (std::vector<std::string>{"Palo", "Eva"}));
}

// Another user's name, also in other letter case or without diacritics, is refused and
// both profiles stay as they were.
TEST_F(RegisterFormTest, RenameToAnotherUsersNameIsRefused) {
    AddUser("Ján");
    AddUser("Eva", false);
    const std::string list = Read("users/user.lst");
    const std::string eva = Read("users/_Eva/user.dat");
    for (const char* taken : {"Ján", "jan", "JÁN", "Jan"}) {
        registration->OpenProfileForEdit("Eva");
        registration->Edit1->setText(Qt1250(base::Cp1250(taken)));
        registration->AcceptRegistration();
        EXPECT_EQ(Title(), "Upozornenie") << taken;
        EXPECT_TRUE(registration->isVisible()) << taken;
        EXPECT_EQ(Read("users/user.lst"), list) << taken;
        EXPECT_EQ(Read("users/_Eva/user.dat"), eva) << taken;
        EXPECT_TRUE(Exists(base::Cp1250("users/_Ján/user.dat"))) << taken;
        registration->CloseClick();
    }
}

}  // namespace
}  // namespace tamzel::profiles::testing
