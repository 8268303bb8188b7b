// The conversation window (TMainForm): borderless and shaped, skinned by the current theme,
// with the conversation view, the input line, the face, the info bar and the menu shown as
// a flat tool bar. It runs the dialogue turn, the timers (Timer1 every 15 ms, the speech
// tick DXTimer1 only while an utterance plays, the self-talk hook Timer2), the records,
// saving and reading aloud, the theme change and the shutdown sequence SaveAndQuit.
//
// Everything outside the window comes in through the ports of chrome/Ports.h; file paths are
// relative to the working folder, which is the program folder.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "base/Seams.h"
#include "ui/ImageButton.h"
#include "ui/MainLayout.h"
#include "ui/MainTicker.h"
#include "chrome/Ports.h"
#include "ui/Records.h"
#include "ui/Theme.h"
#include "ui/TurnPresenter.h"

namespace tamzel::ui {

// Files the shutdown sequence stores; implemented with the profile store by the program,
// by a recorder in tests.
class ShutdownStore {
public:
    virtual ~ShutdownStore() = default;
    struct Settings {
        bool autolog, records, speech, animation, infoBar;
        int volume, speed, intonation;
        std::string themeFile;
    };
    virtual base::Status Store(const Settings& settings, const base::ProfileValues& user) = 0;
};

struct MainServices {
    TalkPort* talk = nullptr;
    SpeechPort* speech = nullptr;
    MessagePort* messages = nullptr;
    SettingsPort* settings = nullptr;
    ShutdownStore* store = nullptr;
    std::shared_ptr<base::Clock> clock = std::make_shared<base::Clock>();
    std::shared_ptr<base::Random> random = std::make_shared<base::Random>();
    std::function<void(const std::string& url)> openUrl;  // default handler (xdg-open)
    std::function<void()> quit;                           // ends the event loop
    std::function<void()> halt;                           // ends the process at once
};

// Indexes of the menu icons in ImageList1.
enum IconIndex {
    kIconSimple, kIconTheme, kIconQuit, kIconNew, kIconClear, kIconRead, kIconSave,
    kIconRecords, kIconSpeech, kIconAnimation, kIconAutolog, kIconInfoBar, kIconOther,
    kIconAbout, kIconHelp, kIconEditor, kIconCount
};

class MainWindow : public QWidget, private TickHost {
    Q_OBJECT
public:
    explicit MainWindow(MainServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // --- Creation and sign-in -----------------------------------------------------------
    // FormCreate: state, speech output and engine. `args` are the command-line words.
    base::Status FormCreate(const std::vector<std::string>& args);
    // Sets the theme chosen at start (before the window is shown).
    void SetTheme(const Theme& theme) { theme_ = theme; }
    const Theme& theme() const { return theme_; }
    // The switches of the menu; sign-in sets them from the profile.
    void SetSwitches(bool records, bool speech, bool animation, bool infoBar, bool autolog);

    // --- Menu actions (also called by tests) -------------------------------------------------
    void simpleClick();
    void ZaznamyClick();
    void RecClick();
    void AnimaciaClick();
    void AutologClick();
    void InfoBarClick();
    void NovyClick();
    void VymazClick();
    void PrecitajClick();
    void UlozClick();
    // The save itself, after the dialog: `chosen` as typed, `filterIndex` 0 (.htm) or 1 (.txt).
    void SaveConversation(const std::string& chosenUtf8, int filterIndex);
    void ChangeThemeClick();
    // The theme change after the dialog: opens the file and starts the theme fade.
    void ChangeTheme(const std::string& themeFileUtf8);
    void SaveAndQuit();
    void Button1Click();
    void Label2Click();
    void Timer2Timer();

    // --- The turn ------------------------------------------------------------------------
    // Enter in Edit1 with `text` (Windows-1250) typed.
    void SubmitInput(const std::string& text);
    void AddConversationLine(const std::string& text, bool character);
    void Timer1Timer() { ticker_.Tick(); }
    // The turn the window starts itself after the pointer rested on the close button
    // (`hover`) or after a long idle time.
    void WindowTurn(bool hover);

    // --- Failures --------------------------------------------------------------------------
    // The window's one boundary for failures: runs `handler`, and whatever it throws (a
    // base::Error, any std::exception) is shown in the themed message dialog instead of
    // ending the program. Every menu action, timer and turn runs through it.
    void Guard(const std::function<void()>& handler);
    // A problem the engine reports while it goes on (its memory files); Windows-1250. The
    // engine says each problem once until it is over.
    void ShowEngineProblem(const std::string& message);

    // --- Face animation surface ------------------------------------------------------------
    void DrawFaceImage(const QImage& frame, QPoint windowPos);
    void RepaintFace();
    void SetFacePicture(const QImage& picture);
    int FaceLeft() const { return layout().FaceLeft; }
    bool simpleOn() const { return simple_->isChecked(); }
    bool animationOn() const { return Animacia_->isChecked(); }
    void SetFacePort(FacePort* face) { face_ = face; }

    // The settings window fades the main window out on show and in on hide.
    void StartFade(bool fadeIn) { ticker_.StartFade(fadeIn, false); }
    // While the settings window is open the main window takes no input and is dimmed (its
    // colours kept, darker), so that it reads as behind the settings, not as broken.
    void SetDimmed(bool dimmed);
    bool dimmed() const { return Dimmer_ && Dimmer_->isVisible(); }

    // --- State readable by tests ---------------------------------------------------------------
    const Lines& ConversationLines() const { return ConversationLines_; }
    MainTicker& ticker() { return ticker_; }
    QTextEdit* RichEdit1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    FaceView* Image2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QFrame* Shape1 = nullptr;
    QFrame* Shape2 = nullptr;
    QLabel* Image1 = nullptr;
    ImageButton* Image3 = nullptr;
    ImageButton* Image4 = nullptr;
    ImageButton* Image5 = nullptr;
    QLabel* Image6 = nullptr;
    QWidget* Dimmer_ = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* DXTimer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QAction* simple_ = nullptr;
    QAction* Zaznamy_ = nullptr;
    QAction* Rec_ = nullptr;
    QAction* Animacia_ = nullptr;
    QAction* Autolog_ = nullptr;
    QAction* InfoBar_ = nullptr;
    // Where the self-talk hook exchanges its lines.
    std::string selfTalkFile;
    int opacity() const { return opacity_; }
    bool recordProblemReported() const { return recordProblemReported_; }
    // The 18 x 18 icons of the menu items, by index.
    const QImage& icon(int index) const { return ImageList1_[index]; }
    void MarkToggleIcon(int index, bool on);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // TickHost
    bool QuitRequested() override;
    bool Speaking() override;
    bool WindowActive() override;
    void SetOpacity(int opacity) override;
    void ReloadThemeImages() override;
    void ShowFaceFrame(const std::string& name) override;
    bool AnimationOn() override { return animationOn(); }
    bool InfoBarOn() override;
    void InfoBegin(int index) override;
    void InfoMoveDown() override;
    void InfoEnd() override;
    ScreenPoint Pointer() override;
    ScreenPoint WindowTopLeft() override;
    ScreenPoint WindowSize() override { return {width(), height()}; }
    bool SimpleLayout() override { return simpleOn(); }
    void HoverTurn() override { WindowTurn(true); }
    void IdleTurn() override { WindowTurn(false); }
    int Random(int n) override;

    void BuildControls();
    void BuildBackground();
    void BuildConversationView();
    void BuildFace();
    void BuildInputLine();
    void BuildTitleStrip();
    void BuildInfoStrip();
    void BuildBuildLabel();
    void BuildSelfTalkControls();
    void BuildTimers();
    void BuildDimmer();
    void WatchForTheUser();
    void BuildMenu();
    void BuildProgramMenu();
    void BuildTalkMenu();
    void BuildOptionsMenu();
    void BuildHelpMenu();
    void BuildEditorMenu();
    std::pair<QMenu*, QAction*> AddMenu(const char* caption);
    QAction* AddItem(QMenu* menu, const char* caption, int iconIndex, bool checkable,
                     void (MainWindow::*handler)());
    void AddCommand(QMenu* menu, const char* caption, int iconIndex,
                    const std::function<void()>& handler);
    void ApplyLayout();
    void FormShow();
    void OpeningTurn();
    // The one path of every turn: asks the engine, then shows, records, reports, speaks and
    // answers the self-talk partner as the presenter says for the turn's origin.
    void TakeTurn(TurnOrigin origin, const std::string& input,
                  const std::string& selfTalkMarker = "");
    void Present(const TurnPresentation& turn);
    TurnSwitches Switches() const;
    void ShowFailure(const base::Error& error);
    // A connectable slot that runs a handler of the window through Guard.
    std::function<void()> Guarded(void (MainWindow::*handler)());
    bool StampFirstPaint(QObject* watched, QEvent* event);
    void ReportTurn(const std::string& input, const std::string& answer);
    void StartNewConversationRecord();
    void EndConversationRecord();
    void Speak(const std::string& raw);
    void SpeechStarted();
    void DXTimer1Timer();
    void Record(const char* path, const Lines& lines, bool create);
    void WriteSelfTalk(const std::string& content);
    void ShowInView(const std::string& line, bool character);
    void ReportProblem(const std::string& utf8);
    // The notice that a sentence was cut to the input limit, once per typed line.
    void NoteInputCut();
    void OpenDocument(const char* path, const char* anchor);
    profiles::ThemePictures Pictures() const;
    void LoadLayoutPictures(profiles::ThemePictures& pictures);
    void ReportPictures(const profiles::ThemePictures& pictures);
    const MainLayout& layout() const { return LayoutFor(simpleOn()); }
    std::tm Now() const { return services_.clock->Now(); }

    MainServices services_;
    FacePort* face_ = nullptr;
    MainTicker ticker_;
    Theme theme_;
    Lines ConversationLines_;
    std::vector<QImage> ImageList1_;
    std::vector<QImage> PlainIcons_;  // the icons before any state frame
    std::vector<QAction*> iconActions_;
    int opacity_ = 255;
    bool shown_ = false;
    bool quitting_ = false;
    bool speechDisabled_ = false;
    bool recordProblemReported_ = false;
    bool picturesReported_ = false;
    bool stampedFirstPaint_ = false;
    bool inputCutNoted_ = false;
    bool selfTalkProblemReported_ = false;
    engine::TurnResult lastTurn_;  // the latest turn, for the report button and the ticker
    QPoint dragOffset_;
    bool manualDrag_ = false;
};

}  // namespace tamzel::ui
