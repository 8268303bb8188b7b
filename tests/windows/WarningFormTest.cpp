// The themed message dialog: lines, sizing, kind by title, buttons and the answer.
#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include "WindowFixture.h"

namespace tamzel::profiles::testing {
namespace {

TEST(MessageLines, BackslashesSplitLines) {
    struct Case {
        std::string message;
        std::vector<std::string> lines;
    } cases[] = {
        {"jeden", {"jeden"}},
        {"a\\b", {"a", "b"}},
        {"a\\b\\", {"a", "b"}},          // a backslash at the end adds no line
        {"a\\\\b", {"a", "", "b"}},       // two in a row give an empty line
        {"\\a", {"", "a"}},
        {"", {""}},                       // an empty message still has one line
    };
    for (const Case& c : cases) EXPECT_EQ(MessageLines(c.message), c.lines) << c.message;
}

using WarningFormTest = WindowTest;

TEST_F(WarningFormTest, SizeFollowsTheNumberOfLines) {
    struct Case {
        const char* message;
        int memo, window, buttons, bar;
    } cases[] = {
        {"Jeden riadok.", 19, 81, 57, 79},
        {"prvy\\druhy\\treti", 45, 107, 83, 105},
        {"a\\b", 32, 94, 70, 92},
    };
    for (const Case& c : cases) {
        warning->ShowMessageDialog("Informacia", c.message, false);
        EXPECT_EQ(warning->Memo1->height(), c.memo) << c.message;
        EXPECT_EQ(warning->height(), c.window) << c.message;
        EXPECT_EQ(warning->Panel2->y(), c.buttons) << c.message;
        EXPECT_EQ(warning->Panel1->y(), c.bar) << c.message;
        EXPECT_EQ(warning->width(), 249);
        // The title tab: the corner right of x 120 above y 22 is cut away.
        EXPECT_FALSE(warning->mask().contains(QPoint(200, 10)));
        EXPECT_TRUE(warning->mask().contains(QPoint(200, c.window - 1)));
    }
    warning->ShowMessageDialog("Potvrdenie", "prvy\\druhy\\treti", true);
    EXPECT_EQ(warning->Panel3->y(), 83);
    EXPECT_EQ(warning->Panel4->y(), 83);
    // A line longer than the memo is wide takes the lines it wraps into.
    std::string longLine;
    for (int i = 0; i < 30; ++i) longLine += "slovo ";
    warning->ShowMessageDialog("Informacia", longLine, false);
    int shown = (warning->Memo1->height() - 6) / 13;
    EXPECT_GE(shown, 3);
    EXPECT_EQ(warning->height(), 13 * shown + 6 + 62);
    warning->ShowMessageDialog("Informacia", longLine + "\\koniec", false);
    EXPECT_EQ(warning->Memo1->height(), 13 * (shown + 1) + 6);
}

// Lines the memo shows for its text, as it lays the text out itself.
int MemoLines(QPlainTextEdit* memo) {
    int lines = 0;
    QAbstractTextDocumentLayout* layout = memo->document()->documentLayout();
    for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next()) {
        layout->blockBoundingRect(b);  // lays the block out
        lines += b.layout()->lineCount();
    }
    return lines;
}

// The dialog is as tall as its text: no empty line below the last one, none missing, for
// the long messages users meet (the greeting above all).
TEST_F(WarningFormTest, TheMemoIsExactlyAsTallAsItsWrappedText) {
    std::string filler;
    const std::string messages[] = {
        MessageFirstRunGreeting(base::Cp1250("Mária"), false),
        MessageFirstRunGreeting("root", true),
        MessageFirstRunGreeting(base::Cp1250("Ľudovít Štúr"), true),
        MessageNameTaken(),
        MessageChooseAccount(true, false),
        base::Cp1250("Na tomto počítači nie je nainštalovaná zvuková karta. Syntéza reči bola "
                     "automaticky deaktivovaná."),
    };
    for (const std::string& message : messages) {
        warning->ShowMessageDialog(TitleInformation(), message, false);
        warning->Memo1->resize(warning->Memo1->size());  // as shown: wrapped at this width
        EXPECT_EQ(warning->Memo1->height(), 13 * MemoLines(warning->Memo1) + 6)
            << From1250(warning->Memo1->toPlainText()).size() << ": " << base::ToUtf8(message);
    }
}

// Every title the program uses fits on the theme's tab, left of the cut-out at x 120.
TEST_F(WarningFormTest, EveryTitleFitsItsTab) {
    for (const std::string& title : {TitleAlert(), TitleNotice(), TitleInformation(),
                                     TitleConfirmation(), TitleError()}) {
        warning->ShowMessageDialog(title, "x", false);
        QLabel* label = warning->Label1;
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
            << base::ToUtf8(title);
        EXPECT_LE(label->geometry().right(), 119) << base::ToUtf8(title);
        EXPECT_GE(label->font().pixelSize(), 10) << base::ToUtf8(title);
    }
}

TEST_F(WarningFormTest, KindAndSoundComeFromTheExactTitle) {
    struct Case {
        std::string title;
        bool alert;
        const char* sound;
    } cases[] = {
        {"Pozor", true, "files/ping2.wav"},
        {"pozor", false, "files/ping1.wav"},
        {base::Cp1250("Informácia"), false, "files/ping1.wav"},
        {"Upozornenie", false, "files/ping1.wav"},
        {"Pozor ", false, "files/ping1.wav"},
    };
    for (const Case& c : cases) {
        sounds.clear();
        warning->ShowMessageDialog(c.title, "text", false);
        EXPECT_EQ(warning->alertIconShown, c.alert) << c.title;
        ASSERT_EQ(sounds.size(), 1u) << c.title;
        EXPECT_EQ(sounds[0], c.sound) << c.title;
        EXPECT_EQ(Title(), c.title);
        EXPECT_TRUE(warning->isVisible());
    }
}

TEST_F(WarningFormTest, QuestionButtonsThenPlainMessageShowsOnlyOk) {
    warning->ShowMessageDialog("Potvrdenie", "Naozaj?", true);
    EXPECT_FALSE(warning->Panel2->isVisible());
    EXPECT_TRUE(warning->Panel3->isVisible());
    EXPECT_TRUE(warning->Panel4->isVisible());
    EXPECT_EQ(warning->Panel3->x(), 120);
    EXPECT_EQ(warning->Panel4->x(), 184);
    warning->ShowMessageDialog("Pozor", "Len tak.", false);
    EXPECT_TRUE(warning->Panel2->isVisible());
    EXPECT_FALSE(warning->Panel3->isVisible());
    EXPECT_FALSE(warning->Panel4->isVisible());
    EXPECT_EQ(warning->Panel2->x(), 184);
}

TEST_F(WarningFormTest, ButtonsSetTheAnswerAndHide) {
    struct Case {
        void (TWarningForm::*click)();
        int answer;
    } cases[] = {{&TWarningForm::YesClick, 1}, {&TWarningForm::NoClick, 0}};
    for (const Case& c : cases) {
        warning->DialogAnswer = 1 - c.answer;
        warning->ShowMessageDialog("Potvrdenie", "?", true);
        (warning.get()->*c.click)();
        EXPECT_EQ(warning->DialogAnswer, c.answer);
        EXPECT_FALSE(warning->isVisible());
        EXPECT_TRUE(warning->Panel2->isVisibleTo(warning.get()));
        EXPECT_FALSE(warning->Panel3->isVisibleTo(warning.get()));
    }
}

// A question closed with Enter answers nothing, so it must not keep an earlier Yes.
TEST_F(WarningFormTest, EnterClosesAndAQuestionNeverInheritsYes) {
    warning->ShowMessageDialog("Potvrdenie", "Prvá?", true);
    warning->YesClick();
    ASSERT_EQ(warning->DialogAnswer, 1);
    warning->ShowMessageDialog("Potvrdenie", "Druhá?", true);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(warning->HideEdit, &enter);
    EXPECT_FALSE(warning->isVisible());
    EXPECT_EQ(warning->DialogAnswer, 0);

    warning->ShowMessageDialog("Pozor", "a", false);
    QApplication::sendEvent(warning->Memo1, &enter);
    EXPECT_FALSE(warning->isVisible());
}

TEST_F(WarningFormTest, AskQuestionWaitsForTheAnswer) {
    for (bool yes : {true, false}) {
        QTimer::singleShot(5, [&] { yes ? warning->YesClick() : warning->NoClick(); });
        EXPECT_EQ(warning->AskQuestion("Potvrdenie", "Áno?"), yes);
        EXPECT_FALSE(warning->isVisible());
    }
}

// Ending the program while a question waits must not leave the wait hanging or read as Yes.
TEST_F(WarningFormTest, QuittingWhileAQuestionWaitsAnswersNo) {
    warning->DialogAnswer = 1;
    bool answered = false, yes = true;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(5, [] { QCoreApplication::exit(0); });
        yes = warning->AskQuestion("Potvrdenie", "?");
        answered = true;
    });
    QApplication::exec();  // as in the program: the question waits inside the main loop
    EXPECT_TRUE(answered);
    EXPECT_FALSE(yes);
    warning->hide();
}

TEST_F(WarningFormTest, ButtonsActOnReleaseAfterShowingThePressedPicture) {
    QImage normal(57, 16, QImage::Format_RGB32), pressed(57, 16, QImage::Format_RGB32);
    normal.fill(Qt::white);
    pressed.fill(Qt::black);
    warning->ShowMessageDialog("Pozor", "a", false);
    warning->Image3->SetImages(normal, pressed);
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(warning->Image3, &down);
    EXPECT_TRUE(warning->Image3->pressedShown());
    EXPECT_TRUE(warning->isVisible());
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(warning->Image3, &up);
    EXPECT_FALSE(warning->Image3->pressedShown());
    EXPECT_FALSE(warning->isVisible());
}

}  // namespace
}  // namespace tamzel::profiles::testing
