// The settings window: sliders, the account list, editing and deleting accounts.
#include <QTimer>

#include "WindowFixture.h"

namespace tamzel::profiles::testing {
namespace {

class OptionsFormTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        AddUser("Eva", false);
        AddUser("Peter");
        AddUser("Ján");
        Write("users/tamzel.ini", "[tamzel]\r\nautolog=0\r\nlast_user=Eva\r\ntheme=x\r\n");
        ShowWelcome("");
        ASSERT_TRUE(welcome->SignIn());
    }
    void Select(const char* utf8) {
        for (int i = 0; i < options->ListBox1->count(); ++i)
            if (From1250(options->ListBox1->item(i)->text()) == base::Cp1250(utf8)) {
                options->ListBox1->setCurrentRow(i);
                return;
            }
        FAIL() << utf8;
    }
};

TEST_F(OptionsFormTest, SlidersStartAtTheirPositionsAndKeepTheirRanges) {
    TOptionsForm fresh(links);
    EXPECT_EQ(fresh.Volume(), 400);
    EXPECT_EQ(fresh.Speed(), 60);
    EXPECT_EQ(fresh.Intonation(), 4);
    struct Case {
        int in[3];
        int out[3];
    } cases[] = {{{0, 51, 0}, {0, 51, 0}},
                 {{800, 100, 18}, {800, 100, 18}},
                 {{-5, 10, 40}, {0, 51, 18}},
                 {{900, 101, -1}, {800, 100, 0}}};
    for (const Case& c : cases) {
        fresh.SetLevels(c.in[0], c.in[1], c.in[2]);
        EXPECT_EQ(fresh.Volume(), c.out[0]);
        EXPECT_EQ(fresh.Speed(), c.out[1]);
        EXPECT_EQ(fresh.Intonation(), c.out[2]);
    }
}

TEST_F(OptionsFormTest, AccountsAreListedOnceAndTheMainWindowFades) {
    options->show();
    options->hide();
    options->show();
    EXPECT_EQ(options->Accounts(), (std::vector<std::string>{"Eva", "Peter", base::Cp1250("Ján")}));
    EXPECT_FALSE(main.enabled);
    options->hide();
    EXPECT_TRUE(main.enabled);
    EXPECT_EQ(main.fades, (std::vector<bool>{false, true, false, true}));
}

TEST_F(OptionsFormTest, NoAccountChosenMessagesFollowTheSignedInGender) {
    options->show();
    struct Case {
        bool male;
        void (TOptionsForm::*click)();
        const char* text;
    } cases[] = {
        {false, &TOptionsForm::EditClick,
         "Aby som vedel, ktorého užívateľa chceš editovať, potrebujem, aby si mi ho označila v zozname kont vľavo."},
        {true, &TOptionsForm::EditClick,
         "Aby som vedel, ktorého užívateľa chceš editovať, potrebujem, aby si mi ho označil v zozname kont vľavo."},
        {true, &TOptionsForm::DeleteClick,
         "Aby som vedel, ktorého užívateľa chceš vymazať, potrebujem, aby si mi ho označil v zozname kont vľavo."},
        {false, &TOptionsForm::DeleteClick,
         "Aby som vedel, ktorého užívateľa chceš vymazať, potrebujem, aby si mi ho označila v zozname kont vľavo."},
    };
    for (const Case& c : cases) {
        talk.values.male = c.male;
        (options.get()->*c.click)();
        EXPECT_EQ(Title(), base::Cp1250("Informácia"));
        EXPECT_EQ(Text(), base::Cp1250(c.text));
    }
}

TEST_F(OptionsFormTest, TheSignedInUserCannotBeDeleted) {
    options->show();
    const std::string list = Read("users/user.lst");
    Select("Eva");
    options->DeleteClick();
    EXPECT_EQ(Title(), "Pozor");
    EXPECT_EQ(Text(), base::Cp1250("Nemôžeš vymazať konto užívateľa, ktoré práve používaš."));
    EXPECT_EQ(Read("users/user.lst"), list);
    EXPECT_TRUE(Exists("users/_Eva/user.dat"));
}

TEST_F(OptionsFormTest, DeleteAnsweredNoChangesNothingYesRemovesEverywhere) {
    options->show();
    const std::string list = Read("users/user.lst");
    Select("Peter");
    QTimer::singleShot(5, [&] {
        EXPECT_FALSE(options->isEnabled());  // waits with its own window disabled
        EXPECT_EQ(Title(), "Potvrdenie");
        EXPECT_EQ(Text(), base::Cp1250("Určite si praješ vymazať užívateľa menom Peter?"));
        warning->NoClick();
    });
    options->DeleteClick();
    EXPECT_TRUE(options->isEnabled());
    EXPECT_EQ(Read("users/user.lst"), list);
    EXPECT_TRUE(Exists("users/_Peter/user.cfg"));
    EXPECT_EQ(options->Accounts().size(), 3u);
    EXPECT_EQ(welcome->Users().size(), 3u);

    Select("Peter");
    QTimer::singleShot(5, [&] { warning->YesClick(); });
    options->DeleteClick();
    EXPECT_EQ(Read("users/user.lst"), base::Cp1250("Eva\r\nJán\r\n"));
    EXPECT_FALSE(Exists("users/_Peter"));
    EXPECT_EQ(options->Accounts(), (std::vector<std::string>{"Eva", base::Cp1250("Ján")}));
    EXPECT_EQ(welcome->Users(), (std::vector<std::string>{"Eva", base::Cp1250("Ján")}));
}

TEST_F(OptionsFormTest, EditOpensTheSelectedAccount) {
    options->show();
    Select("Ján");
    options->EditClick();
    ASSERT_TRUE(registration->isVisible());
    EXPECT_EQ(registration->EditedName, base::Cp1250("Ján"));
    EXPECT_EQ(From1250(registration->Edit1->text()), base::Cp1250("Ján"));
    EXPECT_TRUE(registration->RadioButton1->isChecked());
    EXPECT_FALSE(options->isEnabled());
    registration->CloseClick();
    EXPECT_TRUE(options->isEnabled());
    EXPECT_EQ(registration->EditMode, 0);
}

}  // namespace
}  // namespace tamzel::profiles::testing
