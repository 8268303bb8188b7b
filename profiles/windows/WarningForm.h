// The themed message dialog (TWarningForm): the one window for the program's messages and
// its yes/no question. Not modal: ShowMessageDialog returns as soon as the window is up.
// Always on top, sized to its text (a backslash in the message starts a new line), its
// kind decided by the title ("Pozor": alert icon and files/ping2.wav, any other title:
// info icon and files/ping1.wav). Showing a question sets DialogAnswer to 0, so a question
// closed with Enter never passes for Yes.
#pragma once

#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "profiles/windows/ProfileLinks.h"
#include "chrome/WindowChrome.h"
#include "chrome/Ports.h"

namespace tamzel::profiles {

// The lines of a message: a backslash ends a line, a backslash at the very end adds no
// empty line, two in a row give an empty one. An empty message is one empty line.
std::vector<std::string> MessageLines(const std::string& message);

// Where everything goes for a message of `lines` lines.
struct DialogGeometry {
    int memoHeight;    // 13 * lines + 6
    int windowHeight;  // memo + 62
    int barTop;        // window - 2
    int buttonsTop;    // memo top (32) + memo + 6
};
DialogGeometry DialogGeometryFor(int lines);

class TWarningForm : public ChromeWindow, public ui::MessagePort {
    Q_OBJECT
public:
    explicit TWarningForm(ProfileLinks& links, QWidget* parent = nullptr);

    // Texts are Windows-1250.
    void ShowMessageDialog(const std::string& title, const std::string& message, bool question);
    // A message with characters Windows-1250 lacks (the title is Windows-1250, the message
    // UTF-8), shown as written.
    void ShowUtf8Message(const std::string& title, const std::string& messageUtf8);
    // ui::MessagePort: a plain message; a question that waits (the rest of the program
    // keeps running) until the dialog is hidden and answers DialogAnswer.
    void ShowMessageDialog(const std::string& title, const std::string& text) override {
        ShowMessageDialog(title, text, false);
    }
    bool AskQuestion(const std::string& title, const std::string& text) override;

    int DialogAnswer = 0;
    // The sound the last show asked for (files/ping1.wav or files/ping2.wav).
    std::string lastSound;
    bool alertIconShown = false;

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Image2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QFrame* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;
    QWidget* Panel4 = nullptr;
    ChromeButton* Image3 = nullptr;  // OK
    ChromeButton* Image4 = nullptr;  // No
    ChromeButton* Image5 = nullptr;  // Yes
    QLineEdit* HideEdit = nullptr;

    void OkClick();
    void YesClick();
    void NoClick();

signals:
    void hidden();

protected:
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowLines(const std::string& title, const QStringList& lines, bool question);
    void FitTitle(const QString& title);
    void LoadPictures();
    void Answer(int answer);
    QWidget* ButtonPanel(ChromeButton*& button, int x);

    ProfileLinks& links_;
};

}  // namespace tamzel::profiles
