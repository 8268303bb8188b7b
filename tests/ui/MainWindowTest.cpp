#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <stdexcept>

#include "base/Files.h"
#include "base/SystemErrors.h"
#include "engine/InputLimit.h"
#include "tests/ui/TempFolder.h"
#include "tests/ui/TestApplication.h"
#include "ui/Adapters.h"
#include "ui/Text.h"

namespace tamzel::ui {
namespace {

QApplication& App() { return testing::TestApp(); }

std::string SourceDir() {
    const char* source = std::getenv("TAMZEL_SOURCE_DIR");
    return source ? source : TAMZEL_TEST_SOURCE_DIR;
}

class FakeTalk : public TalkPort {
public:
    base::Status InitEngine() override {
        ++inits;
        return base::Ok();
    }
    base::Result<engine::TurnResult> OpeningLine() override {
        if (fail) fail();
        if (!failure.empty()) return base::Fail(failure);
        engine::TurnResult opening;
        opening.reply = "<smile>Ahoj!";
        return opening;
    }
    base::Result<engine::TurnResult> AnswerSentence(const std::string& text,
                                                    engine::TurnKind kind) override {
        if (fail) fail();
        if (!failure.empty()) return base::Fail(failure);
        inputs.push_back(text);
        idleFlags.push_back(kind == engine::TurnKind::Idle);
        hoverFlags.push_back(kind == engine::TurnKind::Hover);
        engine::TurnResult turn;
        turn.reply = answers.empty() ? "<yes>Rozumiem." : Pop();
        turn.understood = understood;
        turn.heardInput = text;
        turn.heardReply = "<sad>Neviem.";
        return turn;
    }
    base::ProfileValues Profile() const override {
        if (profileFails) throw std::runtime_error("profil");
        return values;
    }
    void SetProfile(const base::ProfileValues& v) override { values = v; }
    std::string Pop() {
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }
    int inits = 0;
    bool understood = true;
    std::function<void()> fail;  // throws to play an engine that fails
    std::string failure;         // a turn that comes out as this message
    bool profileFails = false;
    std::deque<std::string> answers;
    std::vector<std::string> inputs;
    std::vector<bool> idleFlags, hoverFlags;
    base::ProfileValues values{"Peter", "Peter", true, 7};
};

class FakeSpeech : public SpeechPort {
public:
    bool InitSpeech(bool checked) override {
        initChecked = checked;
        return device;
    }
    bool initChecked = false;
    void Speak(const std::string& text) override { spoken.push_back(text); }
    void SpeechTick() override {}
    void StopSpeech() override { ++stops; }
    bool Speaking() const override { return false; }
    void PlayWaveFile(const std::string& path) override { waves.push_back(path); }
    bool device = true;
    int stops = 0;
    std::vector<std::string> spoken, waves;
};

class FakeMessages : public MessagePort {
public:
    void ShowMessageDialog(const std::string& title, const std::string& text) override {
        shown.push_back(title + ": " + text);
    }
    bool AskQuestion(const std::string& title, const std::string& text) override {
        shown.push_back(title + "? " + text);
        return answer;
    }
    bool answer = false;
    std::vector<std::string> shown;
};

class FakeSettings : public SettingsPort {
public:
    int Volume() const override { return 400; }
    int Speed() const override { return 60; }
    int Intonation() const override { return 4; }
    void SetLevels(int, int, int) override {}
    void ShowSettings() override {}
};

class FakeStore : public ShutdownStore {
public:
    base::Status Store(const Settings& s, const base::ProfileValues& user) override {
        stored.push_back(s);
        users.push_back(user);
        return base::Ok();
    }
    std::vector<Settings> stored;
    std::vector<base::ProfileValues> users;
};

class FixedClock : public base::Clock {
public:
    std::tm Now() const override {
        std::tm t{};
        t.tm_mday = 7, t.tm_mon = 11, t.tm_year = 126, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 3;
        return t;
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        folder.MakeFolder("zaznamy");
        Create();
    }
    void Create() {
        MainServices s;
        s.talk = &talk;
        s.speech = &speech;
        s.messages = &messages;
        s.settings = &settings;
        s.store = &store;
        s.clock = std::make_shared<FixedClock>();
        s.openUrl = [this](const std::string& url) { opened.push_back(url); };
        s.quit = [this] { ++quits; };
        s.halt = [this] { ++halts; };
        window = std::make_unique<MainWindow>(s);
        ASSERT_TRUE(window->FormCreate({}).ok());
        // The default theme of the sources, so that no image is missing.
        Theme theme;
        ASSERT_TRUE(OpenTheme(SourceDir() + "/data/design/interface.thm", theme).ok());
        window->SetTheme(theme);
    }
    std::string Read(const char* path) {
        std::string content;
        base::ReadWholeFile(path, content);
        return content;
    }
    void ShowWithRecords(bool records, bool speechOn = true) {
        window->SetSwitches(records, speechOn, true, false, true);
        window->show();
    }

    testing::TempFolder folder;
    FakeTalk talk;
    FakeSpeech speech;
    FakeMessages messages;
    FakeSettings settings;
    FakeStore store;
    std::vector<std::string> opened;
    int quits = 0, halts = 0;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, ShowRecordsAndSpeaksTheOpeningLine) {
    ShowWithRecords(true);
    EXPECT_EQ(window->ConversationLines(), Lines{base::Cp1250("» Ahoj!")});
    EXPECT_EQ(speech.spoken, std::vector<std::string>{"<smile>Ahoj!"});
    EXPECT_EQ(Read("zaznamy/zaznamy.txt"),
              base::Cp1250("\r\n<Nový rozhovor - Peter - 7.12.2026 - 9:5:3\r\n") + std::string(50, '-') +
                  base::Cp1250("\r\n» Ahoj!\r\n"));
    EXPECT_NE(Read("zaznamy/report.txt").find(" Novy Report - Peter - 7.12.2026 - 9:5:3"),
              std::string::npos);
    EXPECT_TRUE(window->RichEdit1->toPlainText().contains(QString::fromUtf8("» Ahoj!")));
}

TEST_F(MainWindowTest, TurnShowsRecordsReportsAndSpeaks) {
    ShowWithRecords(true);
    talk.understood = false;
    talk.answers = {"<sad>Nerozumiem <b>ti."};
    window->Edit1->setText("xyz");
    window->SubmitInput("xyz");
    EXPECT_EQ(window->ConversationLines(),
              (Lines{base::Cp1250("» Ahoj!"), "xyz", base::Cp1250("» Nerozumiem ti.")}));
    std::string record = Read("zaznamy/zaznamy.txt");
    EXPECT_NE(record.find(base::Cp1250("xyz\r\n» Nerozumiem ti.\r\n")), std::string::npos);
    EXPECT_NE(Read("zaznamy/report.txt").find("\r\n\r\n-xyz\r\n>>>Nerozumiem ti.\r\n"),
              std::string::npos);
    EXPECT_EQ(speech.spoken.back(), "<sad>Nerozumiem <b>ti.");
    EXPECT_TRUE(window->Edit1->text().isEmpty());
}

TEST_F(MainWindowTest, SpeechOffStillShowsAndRecords) {
    ShowWithRecords(true, false);
    window->SubmitInput("Ahoj");
    EXPECT_TRUE(speech.spoken.empty());
    EXPECT_EQ(window->ConversationLines().size(), 3u);
    EXPECT_NE(Read("zaznamy/zaznamy.txt").find(base::Cp1250("Ahoj\r\n» Rozumiem.\r\n")), std::string::npos);
    EXPECT_EQ(Read("zaznamy/report.txt").find("-Ahoj"), std::string::npos);  // understood
}

TEST_F(MainWindowTest, HaltEmptyAndRecordsOff) {
    ShowWithRecords(false);
    window->SubmitInput("");
    EXPECT_TRUE(talk.inputs.empty());
    window->SubmitInput("Halt");  // an ordinary sentence
    EXPECT_EQ(talk.inputs.size(), 1u);
    window->SubmitInput("halt");
    EXPECT_EQ(halts, 1);
    EXPECT_EQ(talk.inputs.size(), 1u);
    EXPECT_EQ(Read("zaznamy/zaznamy.txt"), "");
}

TEST_F(MainWindowTest, WindowTurnsWriteTheirNotes) {
    ShowWithRecords(true);
    window->WindowTurn(true);
    window->WindowTurn(false);
    EXPECT_EQ(talk.hoverFlags, (std::vector<bool>{true, false}));
    EXPECT_EQ(talk.idleFlags, (std::vector<bool>{false, true}));
    EXPECT_EQ(talk.inputs, (std::vector<std::string>{"", ""}));
    std::string record = Read("zaznamy/zaznamy.txt");
    EXPECT_NE(record.find(HoverNoteLine() + base::Cp1250("\r\n» Rozumiem.\r\n") + IdleNoteLine()),
              std::string::npos);
}

TEST_F(MainWindowTest, MissingRecordsFolderIsReportedOnceAndCostsNothing) {
    std::filesystem::remove_all("zaznamy");
    ShowWithRecords(true);
    for (int i = 0; i < 3; ++i) window->SubmitInput("Ahoj");
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(window->ConversationLines().size(), 7u);
    window->SaveAndQuit();
    EXPECT_EQ(store.stored.size(), 1u);
    EXPECT_EQ(quits, 1);
}

TEST_F(MainWindowTest, SaveAndQuitBuildsThePageAndStoresEverything) {
    ShowWithRecords(true);
    window->SubmitInput("a <b>tucne</b>");
    window->SaveAndQuit();
    std::string page = Read("zaznamy/zaznamy.htm");
    EXPECT_NE(page.find("a &lt;b&gt;tucne&lt;/b&gt;<br>"), std::string::npos);
    EXPECT_NE(Read("zaznamy/zaznamy.txt").find(base::Cp1250(">Rozhovor ukončený - 9:5:3")), std::string::npos);
    EXPECT_NE(Read("zaznamy/report.txt").find(" Report Ukonceny "), std::string::npos);
    ASSERT_EQ(store.stored.size(), 1u);
    const ShutdownStore::Settings& s = store.stored[0];
    EXPECT_TRUE(s.records && s.speech && s.animation && s.autolog && !s.infoBar);
    EXPECT_EQ(s.volume, 400);
    EXPECT_EQ(s.themeFile, SourceDir() + "/data/design/interface.thm");
    EXPECT_EQ(store.users[0].mood, 7);
    // A close by the window manager afterwards does not store twice.
    window->close();
    EXPECT_EQ(store.stored.size(), 1u);
    EXPECT_EQ(quits, 1);
}

TEST_F(MainWindowTest, WindowManagerCloseRunsTheShutdown) {
    ShowWithRecords(false);
    window->close();
    EXPECT_EQ(store.stored.size(), 1u);
    EXPECT_EQ(quits, 1);
}

TEST_F(MainWindowTest, BothLayoutsGeometry) {
    ShowWithRecords(false);
    struct Expect { QSize size; QRect edit, face, panel; int toolbar, faceLeft; bool view;
                    QPoint inNotch, outside; };
    const Expect full{{558, 378}, {325, 288, 209, 19}, {326, 65, 207, 214}, {492, 2, 64, 22},
                      554, 385, true, {400, 350}, {250, 350}};
    const Expect simple{{255, 325}, {23, 288, 209, 19}, {24, 65, 207, 214}, {189, 2, 64, 22},
                        250, 83, false, {150, 10}, {110, 10}};
    for (const Expect* e : {&full, &simple}) {
        if (e == &simple) window->simpleClick();
        EXPECT_EQ(window->size(), e->size);
        EXPECT_EQ(window->Edit1->geometry(), e->edit);
        EXPECT_EQ(window->Image2->geometry(), e->face);
        EXPECT_EQ(window->Panel1->geometry(), e->panel);
        EXPECT_EQ(window->ToolBar1->width(), e->toolbar);
        EXPECT_EQ(window->FaceLeft(), e->faceLeft);
        EXPECT_EQ(window->RichEdit1->isVisible(), e->view);
        EXPECT_FALSE(window->mask().contains(e->inNotch));
        EXPECT_TRUE(window->mask().contains(e->outside));
    }
    window->simpleClick();
    EXPECT_EQ(window->size(), full.size);
    EXPECT_TRUE(window->RichEdit1->isVisible());
}

// The menu bar's four buttons in both layouts: each caption fits its button, and every
// button lies inside the bar, "Pomoc" too.
TEST_F(MainWindowTest, EveryMenuIsReachableInBothLayouts) {
    ShowWithRecords(false);
    for (bool simple : {false, true}) {
        if (simple) window->simpleClick();
        window->ToolBar1->layout()->activate();
        QStringList reachable;
        for (QToolButton* b : window->ToolBar1->findChildren<QToolButton*>()) {
            if (!b->isVisible() || !b->menu()) continue;
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width())
                << b->text().toStdString() << (simple ? " simple" : " full");
            EXPECT_LE(b->geometry().right(), window->ToolBar1->width())
                << b->text().toStdString() << (simple ? " simple" : " full");
            reachable << b->text();
        }
        for (const char* caption : {"Program", "Rozhovor", "Nastavenia", "Pomoc"})
            EXPECT_TRUE(reachable.contains(QString::fromUtf8(caption)))
                << caption << (simple ? " simple" : " full");
    }
}

// A switch item shows its state as a check mark as well as by its frame; switching it off
// takes the mark away again.
TEST_F(MainWindowTest, SwitchItemsShowACheckMark) {
    ShowWithRecords(true);
    auto checkInk = [this](int icon) {
        const QImage& image = window->icon(icon);
        int green = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                QColor c = image.pixelColor(x, y);
                if (c.green() > 100 && c.red() < 80 && c.blue() < 100) ++green;
            }
        return green;
    };
    struct Case { int icon; QAction* action; void (MainWindow::*click)(); } cases[] = {
        {kIconRecords, window->Zaznamy_, &MainWindow::ZaznamyClick},
        {kIconAnimation, window->Animacia_, &MainWindow::AnimaciaClick},
        {kIconAutolog, window->Autolog_, &MainWindow::AutologClick},
        {kIconSimple, window->simple_, &MainWindow::simpleClick},
    };
    for (const Case& c : cases) {
        for (int round = 0; round < 2; ++round) {
            bool on = c.action->isChecked();
            EXPECT_EQ(checkInk(c.icon) > 4, on) << c.icon << " on=" << on;
            (window.get()->*c.click)();
            EXPECT_NE(c.action->isChecked(), on);
        }
    }
}

// A menu closed while the pointer is elsewhere leaves its button unhighlighted.
TEST_F(MainWindowTest, AMenuButtonLosesItsHighlightWhenItsMenuCloses) {
    ShowWithRecords(false);
    QCursor::setPos(window->mapToGlobal(QPoint(300, 300)));
    int tried = 0;
    for (QToolButton* b : window->ToolBar1->findChildren<QToolButton*>()) {
        if (!b->menu() || b->text().isEmpty()) continue;  // the bar's own extension button
        ++tried;
        b->setAttribute(Qt::WA_UnderMouse, true);
        b->menu()->popup(b->mapToGlobal(QPoint(0, b->height())));
        b->menu()->hide();
        QCoreApplication::processEvents();
        EXPECT_FALSE(b->underMouse()) << b->text().toStdString();
    }
    EXPECT_EQ(tried, 5);  // four menus and the hidden editor menu
}

TEST_F(MainWindowTest, ThemeChangeDerivesTheFolderAndFades) {
    folder.MakeFolder("Themes");
    ASSERT_TRUE(base::WriteFileAtomically("Themes/blue.thm", "  16711680 modra\r\nignored\r\n").ok());
    ASSERT_TRUE(base::WriteFileAtomically("x.theme", "255\r\n").ok());
    window->ChangeTheme(folder.path() + "/Themes/blue.thm");
    EXPECT_EQ(window->theme().ThemeFolder, folder.path() + "/Themes/blue/");
    EXPECT_EQ(window->theme().ThemeFile, folder.path() + "/Themes/blue.thm");
    EXPECT_EQ(window->theme().ThemeColor, 16711680);
    EXPECT_TRUE(window->ticker().fade.FadeActive && window->ticker().fade.ThemeFade);
    EXPECT_EQ(speech.waves, std::vector<std::string>{"files/ping1.wav"});
    window->ChangeTheme("x.theme");
    EXPECT_EQ(window->theme().ThemeFolder, "x.t/");
    ASSERT_TRUE(base::WriteFileAtomically("bad.thm", "modra\r\n").ok());
    window->ChangeTheme("bad.thm");
    EXPECT_EQ(window->theme().ThemeFile, "x.theme");
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(MainWindowTest, SavingFollowsTheNamingRulesAndAsksBeforeReplacing) {
    ShowWithRecords(false);
    window->SubmitInput("Ahoj");
    window->VymazClick();
    EXPECT_TRUE(window->RichEdit1->toPlainText().isEmpty());
    window->SaveConversation(folder.path() + "/rozhovor", 0);
    std::string html = Read("rozhovor.htm");
    EXPECT_NE(html.find(base::Cp1250("<b>» Ahoj!</b><br>")), std::string::npos);
    EXPECT_NE(html.find("Ahoj<br>"), std::string::npos);
    window->SaveConversation(folder.path() + "/rozhovor", 1);
    EXPECT_EQ(Read("rozhovor.txt").substr(0, 10), "<Rozhovor ");
    window->SubmitInput("Druha");
    messages.answer = false;
    window->SaveConversation(folder.path() + "/rozhovor.txt", 1);
    EXPECT_EQ(Read("rozhovor.txt").find("Druha"), std::string::npos);
    messages.answer = true;
    window->SaveConversation(folder.path() + "/rozhovor.txt", 1);
    EXPECT_NE(Read("rozhovor.txt").find("Druha"), std::string::npos);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_NE(messages.shown[0].find(base::Cp1250("rozhovor.txt už existuje. Nahradiť ho?")),
              std::string::npos) << messages.shown[0];
}

TEST_F(MainWindowTest, NewConversationReadAloudAndToggles) {
    ShowWithRecords(true);
    window->SubmitInput("Ahoj");
    window->PrecitajClick();
    EXPECT_EQ(speech.spoken.back(), base::Cp1250("+» Ahoj!+Ahoj+» Rozumiem."));
    window->NovyClick();
    EXPECT_EQ(talk.inits, 2);
    EXPECT_EQ(window->ConversationLines(), Lines{base::Cp1250("» Ahoj!")});
    std::string record = Read("zaznamy/zaznamy.txt");
    EXPECT_NE(record.find(base::Cp1250(">Rozhovor ukončený - 9:5:3\r\n\r\n\r\n<Nový rozhovor")), std::string::npos);
    window->ZaznamyClick();  // off
    EXPECT_NE(Read("zaznamy/zaznamy.txt").find(base::Cp1250(">Záznamy vypnuté - 9:5:3\r\n")), std::string::npos);
    window->ZaznamyClick();  // on again
    EXPECT_NE(Read("zaznamy/zaznamy.txt").find(base::Cp1250("\r\n<Záznamy zapnuté - Peter")), std::string::npos);
    // Frames around the icons: black when on, red when off.
    EXPECT_EQ(window->icon(kIconRecords).pixelColor(0, 0), QColor(0, 0, 0));
    window->RecClick();
    EXPECT_EQ(window->icon(kIconSpeech).pixelColor(17, 17), QColor(220, 0, 0));
}

TEST_F(MainWindowTest, NoSoundDeviceSwitchesSpeechOff) {
    speech.device = false;
    window.reset();
    Create();
    EXPECT_TRUE(speech.initChecked);  // "Reč" is on while speech output starts
    EXPECT_FALSE(window->Rec_->isChecked());
    EXPECT_FALSE(window->Rec_->isEnabled());
}

// Without a sound device "Prečítaj" cannot speak; it says so instead of doing nothing.
TEST_F(MainWindowTest, ReadAloudWithoutASoundDeviceSaysSpeechIsOff) {
    speech.device = false;
    window.reset();
    Create();
    ShowWithRecords(false, false);
    speech.spoken.clear();
    window->PrecitajClick();
    EXPECT_TRUE(speech.spoken.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].rfind(base::Cp1250("Informácia: Reč je vypnutá"), 0), 0u)
        << messages.shown[0];
    speech.device = true;
    window.reset();
    Create();
    ShowWithRecords(false, false);  // speech switched off by the user: read aloud all the same
    window->PrecitajClick();
    EXPECT_EQ(speech.spoken.size(), 1u);
    EXPECT_EQ(messages.shown.size(), 1u);
}

// The settings window fades the main window to 95 at every opening and back to full at
// every closing, tick by tick; the window system is told every step.
TEST_F(MainWindowTest, SettingsFadeReachesNinetyFiveAtEveryOpening) {
    ShowWithRecords(false);
    auto runFade = [this](std::vector<int>& seen) {
        for (int tick = 0; tick < 200 && window->ticker().fade.FadeActive; ++tick) {
            window->Timer1Timer();
            seen.push_back(window->opacity());
            EXPECT_NEAR(window->windowHandle()->opacity(), window->opacity() / 255.0, 0.01);
        }
    };
    for (int opening = 1; opening <= 3; ++opening) {
        std::vector<int> out, in;
        window->StartFade(false);
        runFade(out);
        ASSERT_EQ(out.size(), 32u) << "opening " << opening;
        EXPECT_EQ(out.front(), 250);
        EXPECT_EQ(out.back(), 95) << "opening " << opening;
        window->StartFade(true);
        runFade(in);
        ASSERT_EQ(in.size(), 32u) << "closing " << opening;
        EXPECT_EQ(in.back(), 255);
    }
}

// Behind the settings the window takes no input and is darker, in its own colours.
TEST_F(MainWindowTest, DimmedWindowKeepsItsColoursDarker) {
    ShowWithRecords(false);
    const QPoint probe = window->Image2->geometry().center();
    const QColor before = window->grab().toImage().pixelColor(probe);
    window->SetDimmed(true);
    EXPECT_FALSE(window->Edit1->isEnabled());
    EXPECT_FALSE(window->ToolBar1->isEnabled());
    EXPECT_TRUE(window->dimmed());
    EXPECT_EQ(window->childAt(probe), window->Dimmer_) << "a click lands on the dimmer";
    const QPalette& p = window->RichEdit1->palette();
    EXPECT_EQ(p.color(QPalette::Disabled, QPalette::Text), p.color(QPalette::Active, QPalette::Text));
    EXPECT_EQ(p.color(QPalette::Disabled, QPalette::Base), p.color(QPalette::Active, QPalette::Base));
    const QColor dim = window->grab().toImage().pixelColor(probe);
    EXPECT_LT(dim.lightness(), before.lightness() * 0.8) << before.name().toStdString() << " "
                                                         << dim.name().toStdString();
    EXPECT_GT(dim.lightness(), 0);
    window->SetDimmed(false);
    EXPECT_TRUE(window->Edit1->isEnabled());
    EXPECT_TRUE(window->ToolBar1->isEnabled());
    EXPECT_EQ(window->grab().toImage().pixelColor(probe), before);
}

// A click in the window is the user being there: idle remarks may start again.
TEST_F(MainWindowTest, AClickInTheWindowLetsIdleRemarksStartAgain) {
    ShowWithRecords(false);
    window->ticker().IdleRemarks = ticks::kIdleRemarksInARow;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->RichEdit1->viewport(), &press);
    EXPECT_EQ(window->ticker().IdleRemarks, 0);
    window->ticker().IdleRemarks = ticks::kIdleRemarksInARow;
    QWidget elsewhere;
    QCoreApplication::sendEvent(&elsewhere, &press);
    EXPECT_EQ(window->ticker().IdleRemarks, ticks::kIdleRemarksInARow);
}

TEST_F(MainWindowTest, MissingThemeImagesAreReportedWithoutStoppingTheShow) {
    Theme theme;
    ASSERT_TRUE(base::WriteFileAtomically("empty.thm", "0\r\n").ok());
    ASSERT_TRUE(OpenTheme("empty.thm", theme).ok());
    window->SetTheme(theme);
    ShowWithRecords(true);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].find("empty/background1.jpg"), std::string::npos);
    EXPECT_EQ(window->ConversationLines().size(), 1u);
    std::filesystem::remove_all("zaznamy");
    window->SubmitInput("Ahoj");  // a record problem is still reported
    EXPECT_EQ(messages.shown.size(), 2u);
}

// A theme changed to one whose pictures are damaged or missing keeps the previous pictures
// and says which files failed, in one message for the show however often the layout is
// switched; a .thm without a colour number is refused with a message naming it.
TEST_F(MainWindowTest, DamagedThemePicturesAreNamedOnceAndThePreviousPicturesStay) {
    ShowWithRecords(false);
    ASSERT_TRUE(messages.shown.empty()) << messages.shown[0];
    const QImage before = window->Image1->pixmap().toImage();
    ASSERT_FALSE(before.isNull());

    folder.MakeFolder("Themes/zly");
    const std::filesystem::path source = SourceDir() + "/data/design/interface";
    for (const auto& entry : std::filesystem::directory_iterator(source))
        std::filesystem::copy_file(entry.path(), folder.path() + "/Themes/zly/" + entry.path().filename().string());
    ASSERT_TRUE(base::WriteFileAtomically("Themes/zly/background1.jpg", "\xFF\xD8\xFF\xE0 nie je obrazok").ok());
    std::filesystem::remove(folder.path() + "/Themes/zly/3.jpg");
    ASSERT_TRUE(base::WriteFileAtomically("Themes/zly.thm", "255\r\n").ok());
    window->ChangeTheme("Themes/zly.thm");
    for (int tick = 0; tick < 200 && window->ticker().fade.FadeActive; ++tick) window->ticker().Tick();
    ASSERT_FALSE(window->ticker().fade.FadeActive);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].find("Themes/zly/background1.jpg"), std::string::npos) << messages.shown[0];
    EXPECT_NE(messages.shown[0].find("Themes/zly/3.jpg"), std::string::npos) << messages.shown[0];
    EXPECT_EQ(window->Image1->pixmap().toImage(), before);
    window->simpleClick();  // the simple layout's pictures are whole
    window->simpleClick();  // the damaged background again: already said in this show
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_FALSE(window->Image1->pixmap().toImage().isNull());

    ASSERT_TRUE(base::WriteFileAtomically("Themes/bez-cisla.thm", "modra\r\n").ok());
    window->ChangeTheme("Themes/bez-cisla.thm");
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_NE(messages.shown[1].find("Themes/bez-cisla.thm"), std::string::npos) << messages.shown[1];
    EXPECT_EQ(window->theme().ThemeFile, "Themes/zly.thm");
}

TEST_F(MainWindowTest, InfoBarClickActions) {
    folder.MakeFolder("help");
    ASSERT_TRUE(base::WriteFileAtomically("help/index.htm", "<html></html>").ok());
    ASSERT_TRUE(base::WriteFileAtomically("help/about.htm", "<html></html>").ok());
    ShowWithRecords(false);
    window->ticker().InfoShown = false;
    window->ticker().InfoIndex = 1;
    window->Label2Click();
    EXPECT_TRUE(opened.empty());
    window->ticker().InfoShown = true;
    for (int i : {1, 2, 3, 4, 5}) {
        window->ticker().InfoIndex = i;
        window->Label2Click();
    }
    // The local help pages, the memory section by its anchor; no address outside.
    const std::string here = std::filesystem::current_path().string();
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0], here + "/help/index.htm");
    EXPECT_EQ(opened[1], here + "/help/about.htm");
    EXPECT_EQ(opened[2], "file://" + here + "/help/index.htm#pamat");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].find("http"), std::string::npos);
}

TEST_F(MainWindowTest, SelfTalkHookAnswersTheOtherInstanceOnly) {
    ShowWithRecords(true);
    window->selfTalkFile = folder.path() + "/self.txt";
    window->Timer2Timer();  // box not ticked: nothing happens
    EXPECT_FALSE(std::filesystem::exists(window->selfTalkFile));
    window->CheckBox1->setChecked(true);
    window->Edit2->setText("A");
    talk.understood = false;
    window->Timer2Timer();  // creates the file with "-ahoj" and answers it
    EXPECT_EQ(talk.inputs, std::vector<std::string>{"ahoj"});
    EXPECT_EQ(Read(window->selfTalkFile.c_str()), "ARozumiem.\r\n");
    EXPECT_NE(Read("zaznamy/report.txt").find("-ahoj\r\n>>>Rozumiem."), std::string::npos);
    EXPECT_EQ(Read("zaznamy/zaznamy.txt").find("ahoj\r\n"), std::string::npos);
    window->Timer2Timer();  // its own line: no turn
    EXPECT_EQ(talk.inputs.size(), 1u);
    ASSERT_TRUE(base::WriteFileAtomically(window->selfTalkFile, "Bhalt\r\n").ok());
    window->Timer2Timer();
    EXPECT_EQ(halts, 1);
}

// Every input path of the window stops at the input limit and says so once per line.
TEST_F(MainWindowTest, OverlongInputIsCutWithOneNoticeOnEveryPath) {
    ShowWithRecords(false);
    const std::string notice = "Pozor: " + engine::InputCutNotice();
    auto notices = [&] { return std::count(messages.shown.begin(), messages.shown.end(), notice); };
    EXPECT_EQ(window->Edit1->maxLength(), static_cast<int>(engine::kMaxInputLength));

    window->Edit1->insert(QString(3 * engine::kMaxInputLength, 'a'));  // a paste
    EXPECT_EQ(window->Edit1->text().size(), static_cast<int>(engine::kMaxInputLength));
    window->Edit1->insert("b");  // one more key
    EXPECT_EQ(notices(), 1);
    window->SubmitInput(FromQt(window->Edit1->text()));
    EXPECT_EQ(talk.inputs.back().size(), engine::kMaxInputLength);

    window->SubmitInput(std::string(10000, 'c'));  // a text handed in from elsewhere
    EXPECT_EQ(talk.inputs.back(), std::string(engine::kMaxInputLength, 'c'));
    EXPECT_EQ(notices(), 2);

    window->selfTalkFile = folder.path() + "/self.txt";
    window->CheckBox1->setChecked(true);
    window->Edit2->setText("A");
    ASSERT_TRUE(base::WriteFileAtomically(window->selfTalkFile,
                                          "B" + std::string(20 * 1024 * 1024, 'd') + "\r\n").ok());
    window->Timer2Timer();
    EXPECT_EQ(talk.inputs.back(), std::string(engine::kMaxInputLength, 'd'));
    EXPECT_EQ(notices(), 3);
    ASSERT_TRUE(base::WriteFileAtomically(window->selfTalkFile, "Bkratka\r\n").ok());
    window->Timer2Timer();
    EXPECT_EQ(talk.inputs.back(), "kratka");
    EXPECT_EQ(notices(), 3);
}

TEST_F(MainWindowTest, HiddenBadButtonReportsTheLastTurn) {
    ShowWithRecords(true);
    window->SubmitInput("Ahoj");
    window->Button1Click();
    EXPECT_NE(Read("zaznamy/report.txt").find("\r\n\r\n-Ahoj\r\n>>>Neviem.\r\n"), std::string::npos);
}

// Records the face frames and whether animation was on when each was asked for.
class FaceRecorder : public FacePort {
public:
    explicit FaceRecorder(MainWindow*& window) : window_(window) {}
    void ShowFaceFrame(const std::string& name) override {
        frames.push_back(name + (window_->animationOn() ? "+" : "-"));
    }
    std::vector<std::string> frames;

private:
    MainWindow*& window_;
};

TEST_F(MainWindowTest, AnimationToggleDrawsTheNeutralFaceOnlyWhenSwitchingOff) {
    MainWindow* raw = window.get();
    FaceRecorder face(raw);
    window->SetFacePort(&face);
    window->SetSwitches(false, true, true, false, false);
    window->AnimaciaClick();  // on -> off: neutral face while still on
    EXPECT_FALSE(window->animationOn());
    window->AnimaciaClick();  // off -> on: the frame is asked for while off, so not drawn
    EXPECT_TRUE(window->animationOn());
    EXPECT_EQ(face.frames, (std::vector<std::string>{"-+", "--"}));
}

// Every way into a turn meets an engine failure the same way: the themed "Chyba" message,
// nothing shown, recorded or spoken, and the records' show-once flag left alone so that a
// later record problem is still said.
TEST_F(MainWindowTest, AnEngineFailureOnAnyTurnIsTheThemedErrorAndNothingElse) {
    struct Path {
        const char* name;
        std::function<void(MainWindow&)> run;
    };
    const Path paths[] = {
        {"opening", [](MainWindow& w) { w.NovyClick(); }},
        {"typed", [](MainWindow& w) { w.SubmitInput("Ahoj"); }},
        {"idle", [](MainWindow& w) { w.WindowTurn(false); }},
        {"hover", [](MainWindow& w) { w.WindowTurn(true); }},
        {"self-talk", [](MainWindow& w) {
             ASSERT_TRUE(base::WriteFileAtomically(w.selfTalkFile, "Bahoj\r\n").ok());
             w.Timer2Timer();
         }},
    };
    for (const Path& path : paths) {
        for (bool asResult : {false, true}) {
            SCOPED_TRACE(std::string(path.name) + (asResult ? " result" : " exception"));
            window.reset();
            Create();
            ShowWithRecords(true);
            window->selfTalkFile = folder.path() + "/self.txt";
            window->CheckBox1->setChecked(true);
            window->Edit2->setText("A");
            const std::string recordBefore = Read("zaznamy/zaznamy.txt");
            const size_t linesBefore = window->ConversationLines().size();
            const size_t spokenBefore = speech.spoken.size();
            const bool opening = path.name == std::string("opening");
            messages.shown.clear();
            if (asResult) {
                talk.failure = base::Cp1250("Mozog sa nedá načítať.");
            } else {
                talk.fail = [] { throw std::runtime_error(base::Cp1250("Mozog sa nedá načítať.")); };
            }
            path.run(*window);
            talk.fail = nullptr;
            talk.failure.clear();
            EXPECT_EQ(messages.shown,
                      std::vector<std::string>{base::Cp1250("Chyba: Mozog sa nedá načítať.")});
            EXPECT_FALSE(window->recordProblemReported());
            EXPECT_EQ(window->ConversationLines().size(), opening ? 0u : linesBefore);
            EXPECT_EQ(speech.spoken.size(), spokenBefore);
            if (!opening) {
                EXPECT_EQ(Read("zaznamy/zaznamy.txt"), recordBefore);
            }
            std::filesystem::remove_all("zaznamy");
            window->SubmitInput("Ahoj");
            EXPECT_EQ(messages.shown.size(), 2u) << "the record problem after the failure is said";
            EXPECT_TRUE(window->recordProblemReported());
            folder.MakeFolder("zaznamy");
        }
    }
}

// A failure that says its own encoding is shown in the dialog's Windows-1250.
TEST_F(MainWindowTest, AFailureInUtf8IsShownInWindows1250) {
    ShowWithRecords(false);
    talk.fail = [] { throw base::Fail("Pamäť je plná.", base::Encoding::Utf8); };
    window->SubmitInput("Ahoj");
    EXPECT_EQ(messages.shown, std::vector<std::string>{base::Cp1250("Chyba: Pamäť je plná.")});
    talk.fail = [] { throw base::Fail(base::Cp1250("Súbor chýba.")); };
    window->WindowTurn(false);
    EXPECT_EQ(messages.shown.back(), base::Cp1250("Chyba: Súbor chýba."));
    talk.fail = [] { throw 7; };
    window->WindowTurn(true);
    EXPECT_EQ(messages.shown.back(), base::Cp1250("Chyba: Nastala neočakávaná chyba."));
    EXPECT_EQ(window->ConversationLines().size(), 1u);
}

// Menu actions run through the same boundary: a failing handler is a message, and the
// program goes on.
TEST_F(MainWindowTest, AFailingMenuActionIsTheThemedError) {
    ShowWithRecords(true);
    talk.profileFails = true;
    window->Zaznamy_->trigger();
    talk.profileFails = false;
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Chyba: profil"});
    window->SubmitInput("Ahoj");
    EXPECT_EQ(window->ConversationLines().size(), 3u);
}

// The desktop program hands the engine's memory-file problems to the themed dialog as they
// come (the engine says each once), not to the records' dialog and its show-once flag.
TEST_F(MainWindowTest, MemoryProblemsOfTheEngineReachTheThemedDialog) {
    ShowWithRecords(true);
    engine::Engine engine;
    ReportEngineProblemsTo(engine, *window);
    ASSERT_TRUE(engine.hooks().onMemoryProblem);
    engine.hooks().onMemoryProblem(base::Cp1250("Pamäť používateľa sa nedá zapísať."));
    engine.hooks().onMemoryProblem(base::Cp1250("Pamäť používateľa sa nedá prečítať."));
    EXPECT_EQ(messages.shown,
              (std::vector<std::string>{base::Cp1250("Pozor: Pamäť používateľa sa nedá zapísať."),
                                        base::Cp1250("Pozor: Pamäť používateľa sa nedá prečítať.")}));
    EXPECT_FALSE(window->recordProblemReported());
    window.reset();
    EXPECT_FALSE(engine.hooks().onMemoryProblem) << "no hook into a window that is gone";
}

// The self-talk file that cannot be written is said once, not at every second of the hook.
TEST_F(MainWindowTest, ASelfTalkFileThatCannotBeWrittenIsSaidOnce) {
    ShowWithRecords(false);
    window->selfTalkFile = folder.path() + "/chyba/self.txt";
    window->CheckBox1->setChecked(true);
    window->Edit2->setText("A");
    window->Timer2Timer();
    window->Timer2Timer();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].find("chyba/self.txt"), std::string::npos) << messages.shown[0];
    EXPECT_TRUE(talk.inputs.empty());

    window.reset();
    Create();
    ShowWithRecords(false);
    messages.shown.clear();
    window->selfTalkFile = folder.path() + "/self.txt";
    window->CheckBox1->setChecked(true);
    window->Edit2->setText("A");
    ASSERT_TRUE(base::WriteFileAtomically(window->selfTalkFile, "Bahoj\r\n").ok());
    const std::string target = window->selfTalkFile;
    base::SetWriteFaultInjector([target](const std::string& path) {
        return path == target ? ENOSPC : 0;
    });
    window->Timer2Timer();
    window->Timer2Timer();  // the line is still the partner's: answered again, not said again
    base::SetWriteFaultInjector(nullptr);
    EXPECT_EQ(talk.inputs, (std::vector<std::string>{"ahoj", "ahoj"}));
    ASSERT_EQ(messages.shown.size(), 1u) << "reported once, not at every line";
    EXPECT_EQ(messages.shown[0].rfind("Chyba: ", 0), 0u) << messages.shown[0];
    EXPECT_NE(messages.shown[0].find(base::ErrorPhrase1250(ENOSPC)), std::string::npos);
    EXPECT_EQ(Read(target.c_str()), "Bahoj\r\n");
}

}  // namespace
}  // namespace tamzel::ui
