#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QWindow>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <fstream>
#include <iterator>

#include "base/Files.h"
#include "base/Codepage.h"
#include "engine/InputLimit.h"
#include "ui/BuildCounter.h"
#include "ui/Text.h"
#include "ui/TurnText.h"

namespace tamzel::ui {
namespace {

const char* const kRecordFile = "zaznamy/zaznamy.txt";
const char* const kReportFile = "zaznamy/report.txt";

// --- Colours ---------------------------------------------------------------------------------
const QColor kToolGrey(220, 220, 220);  // 14474460 in the toolkit's encoding
const QColor kToolHover(200, 200, 210);
const QColor kIconGround(240, 240, 240);
const QColor kIconFrameOn(0, 0, 0);
const QColor kIconFrameOff(220, 0, 0);
const char* const kInfoTextColour = "#800000";

// --- Fonts (pixel sizes) -----------------------------------------------------------------------
const char* const kFontFamily = "Arial";
constexpr int kViewFontPixels = 12;
constexpr int kInfoFontPixels = 13;
constexpr int kBuildFontPixels = 10;
constexpr int kMenuFontPixels = 12;

// --- Menu icons: a rounded tile with a glyph ---------------------------------------------------
constexpr int kIconPixels = 18;
constexpr QRectF kIconTile(2.5, 2.5, 13, 13);
constexpr qreal kIconTileRadius = 3;
constexpr QRect kIconGlyphBox(2, 2, 14, 14);
constexpr int kIconGlyphPoints = 7;
constexpr int kIconGlyphPixels = 10;

struct IconLook {
    QColor color;
    const char* glyph;
};

// Indexed by IconIndex.
const IconLook kIconLooks[kIconCount] = {
    {{70, 110, 170}, "J"}, {{150, 90, 160}, "V"}, {{170, 60, 60}, "X"},
    {{60, 140, 80}, "+"},  {{150, 120, 60}, "C"}, {{60, 120, 150}, "P"},
    {{80, 100, 130}, "U"}, {{110, 110, 110}, "Z"}, {{60, 130, 130}, "R"},
    {{190, 120, 40}, "A"}, {{90, 90, 150}, "L"},  {{140, 40, 40}, "i"},
    {{100, 100, 100}, "N"}, {{70, 110, 170}, "?"}, {{70, 130, 90}, "!"},
    {{120, 120, 120}, "E"}};

// --- The menu bar: a flat tool bar of equal text buttons (their width comes with the layout) ---
constexpr int kMenuButtonHeight = 19;

// --- The check mark of a switched-on menu item, in the icon's lower right corner -----------------
const QColor kCheckInk(0, 140, 40);
constexpr qreal kCheckPen = 2.2;
constexpr qreal kCheckHalo = 4.2;
const QPointF kCheckMark[] = {{8.5, 12.0}, {11.5, 15.0}, {16.5, 8.5}};

// --- Geometry of the fixed controls ------------------------------------------------------------
// The title strip (Panel1), in its own coordinates: the theme's strip picture and the layout,
// minimise and close buttons.
constexpr QRect kTitleStripPicture(0, 0, 64, 22);
constexpr QRect kLayoutButtonRect(4, 2, 16, 16);
constexpr QRect kMinimizeButtonRect(24, 2, 16, 16);
constexpr QRect kCloseButtonRect(44, 2, 16, 16);
// The info-bar message, in the info strip's coordinates: it starts above the strip and the
// ticker slides it down into view.
constexpr QRect kInfoMessageStart(0, -20, 250, 18);
constexpr int kInfoSlidePixels = 1;  // a tick's step down
// The build number, right-aligned in the face frame's lower right corner.
constexpr QRect kBuildLabelRect(478, 264, 52, 14);
const char* const kBuildLabelText = "Build:3894";

// --- Timers (milliseconds) ---------------------------------------------------------------------
constexpr int kSpeechTickMs = 2;        // DXTimer1: polls the utterance while it plays
constexpr int kSelfTalkPollMs = 1000;   // Timer2: looks at the self-talk file

// --- The info-bar message whose click shows a message rather than a help page ----------------
constexpr int kInfoThemeHint = 5;

// The self-talk file's lines start with one character naming the program that wrote them.
constexpr size_t kMarkerLength = 1;

constexpr int kOpaque = 255;
// How dark the dimmed window is: the alpha of the black laid over it.
constexpr int kDimAlpha = 90;

// Any key or click in one of the window's widgets is a sign that the user is there.
class PresenceWatcher : public QObject {
public:
    PresenceWatcher(QWidget* window, std::function<void()> onUser)
        : QObject(window), window_(window), onUser_(std::move(onUser)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == window_) onUser_();
        return false;
    }

private:
    QWidget* window_;
    std::function<void()> onUser_;
};

constexpr long kMillisecondsPerSecond = 1000;
constexpr long kMicrosecondsPerMillisecond = 1000;
constexpr long long kNanosecondsPerSecond = 1000000000;

QFont PixelFont(int pixels, bool bold, bool italic = false) {
    QFont font(kFontFamily);
    font.setPixelSize(pixels);
    // Only what differs from the window's font is set, so the rest is still inherited.
    if (bold) font.setBold(true);
    if (italic) font.setItalic(true);
    return font;
}

QString MenuStyleSheet(int buttonWidth) {
    auto rgb = [](const QColor& c) {
        return QString("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
    };
    return QString("QToolBar { background: %1; border: none; spacing: 0px; padding: 0px; }"
                   "QToolButton { min-width: %3px; max-width: %3px;"
                   " min-height: %4px; max-height: %4px;"
                   " border: none; padding: 0px; font: %5px '%6'; }"
                   "QToolButton:hover, QToolButton:pressed { background: %2; }"
                   "QToolButton:disabled { color: black; }"
                   "QToolButton::menu-indicator { image: none; width: 0px; }")
        .arg(rgb(kToolGrey), rgb(kToolHover))
        .arg(buttonWidth)
        .arg(kMenuButtonHeight)
        .arg(kMenuFontPixels)
        .arg(kFontFamily);
}

// The menu icons, drawn once at creation.
std::vector<QImage> DrawImageList() {
    std::vector<QImage> list;
    for (const IconLook& look : kIconLooks) {
        QImage icon(kIconPixels, kIconPixels, QImage::Format_ARGB32);
        icon.fill(kIconGround);
        QPainter p(&icon);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(look.color);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(kIconTile, kIconTileRadius, kIconTileRadius);
        p.setPen(Qt::white);
        QFont font("DejaVu Sans", kIconGlyphPoints, QFont::Bold);
        font.setPixelSize(kIconGlyphPixels);
        p.setFont(font);
        p.drawText(kIconGlyphBox, Qt::AlignCenter, look.glyph);
        list.push_back(icon);
    }
    return list;
}

// The first line of the self-talk file, at most `maxBytes` of it: anyone may write that
// file, and a line without end must not be read whole. `cut` tells whether it was longer.
std::string ReadFirstLine(const std::string& path, size_t maxBytes, bool& cut) {
    cut = false;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    char c = 0;
    while (in.get(c) && c != '\n') {
        if (line.size() == maxBytes) {
            cut = c != '\r';
            break;
        }
        line += c;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace

MainWindow::MainWindow(MainServices services, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window),
      services_(std::move(services)),
      ticker_(*this) {
    setWindowTitle("Tamzel");
    selfTalkFile = (QDir::tempPath() + "/self.txt").toStdString();
    PlainIcons_ = DrawImageList();
    ImageList1_ = PlainIcons_;
    iconActions_.assign(kIconCount, nullptr);
    BuildControls();
    BuildMenu();
}

MainWindow::~MainWindow() = default;

// --- Creation ---------------------------------------------------------------------------

// Siblings stack in the order they are created, so the steps run in this order.
void MainWindow::BuildControls() {
    setAttribute(Qt::WA_TranslucentBackground, false);
    BuildBackground();
    BuildConversationView();
    BuildFace();
    BuildInputLine();
    BuildTitleStrip();
    BuildInfoStrip();
    BuildBuildLabel();
    BuildSelfTalkControls();
    BuildTimers();
    BuildDimmer();
    WatchForTheUser();
}

// The dimmer above every control darkens the window and takes its clicks. The window itself
// stays enabled, as the toolkit draws the pictures of a disabled one grey; only the controls
// that take keys are disabled, and they keep their colours.
void MainWindow::BuildDimmer() {
    QPalette kept = palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        auto r = static_cast<QPalette::ColorRole>(role);
        kept.setColor(QPalette::Disabled, r, kept.color(QPalette::Active, r));
    }
    setPalette(kept);
    Dimmer_ = new QWidget(this);
    Dimmer_->setStyleSheet(QString("background: rgba(0, 0, 0, %1);").arg(kDimAlpha));
    Dimmer_->setAttribute(Qt::WA_StyledBackground);
    Dimmer_->hide();
}

void MainWindow::WatchForTheUser() {
    qApp->installEventFilter(new PresenceWatcher(this, [this] { ticker_.UserPresent(); }));
}

void MainWindow::SetDimmed(bool dimmed) {
    for (QWidget* control : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(RichEdit1),
                             static_cast<QWidget*>(ToolBar1)})
        control->setEnabled(!dimmed);
    Dimmer_->setGeometry(rect());
    Dimmer_->setVisible(dimmed);
    if (dimmed) Dimmer_->raise();
}

void MainWindow::BuildBackground() {
    Image1 = new QLabel(this);
    Image1->setGeometry(QRect(QPoint(0, 0), FullLayout().window));
}

void MainWindow::BuildConversationView() {
    Shape2 = new QFrame(this);
    Shape2->setFrameShape(QFrame::Box);
    Shape2->setGeometry(ConversationFrameRect());
    RichEdit1 = new QTextEdit(this);
    RichEdit1->setGeometry(ConversationViewRect());
    RichEdit1->setReadOnly(true);
    RichEdit1->setUndoRedoEnabled(false);  // a long conversation must not grow an undo stack
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setFrameShape(QFrame::NoFrame);
    RichEdit1->setFont(PixelFont(kViewFontPixels, true));
    RichEdit1->viewport()->installEventFilter(this);
    connect(RichEdit1, &QTextEdit::textChanged, this, [this] {
        QScrollBar* bar = RichEdit1->verticalScrollBar();
        bar->setValue(bar->maximum());
    });
}

void MainWindow::BuildFace() {
    Shape1 = new QFrame(this);
    Shape1->setFrameShape(QFrame::Box);
    Image2 = new FaceView(this);
}

void MainWindow::BuildInputLine() {
    Edit1 = new QLineEdit(this);
    Edit1->setFrame(true);
    Edit1->setMaxLength(static_cast<int>(engine::kMaxInputLength));
    // Typing or pasting past the limit is refused by the line itself; say why, once a line.
    connect(Edit1, &QLineEdit::inputRejected, this, [this] {
        if (Edit1->text().size() >= Edit1->maxLength()) NoteInputCut();
    });
    connect(Edit1, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.isEmpty()) inputCutNoted_ = false;
    });
    Edit1->installEventFilter(this);
}

void MainWindow::BuildTitleStrip() {
    Panel1 = new QWidget(this);
    Image6 = new QLabel(Panel1);
    Image6->setGeometry(kTitleStripPicture);
    Image3 = new ImageButton(Panel1);
    Image4 = new ImageButton(Panel1);
    Image5 = new ImageButton(Panel1);
    Image3->setGeometry(kLayoutButtonRect);
    Image4->setGeometry(kMinimizeButtonRect);
    Image5->setGeometry(kCloseButtonRect);
    Image3->setToolTip(QString::fromUtf8("Jednoduchá verzia"));
    Image4->setToolTip(QString::fromUtf8("Minimalizuj"));
    Image5->setToolTip(QString::fromUtf8("Ukonči"));
    connect(Image3, &ImageButton::clicked, this, Guarded(&MainWindow::simpleClick));
    connect(Image4, &ImageButton::clicked, this, [this] { showMinimized(); });
    connect(Image5, &ImageButton::clicked, this, Guarded(&MainWindow::SaveAndQuit));
}

void MainWindow::BuildInfoStrip() {
    Panel2 = new QWidget(this);
    Panel2->setGeometry(InfoStripRect());
    Panel2->setAutoFillBackground(true);
    QPalette strip = Panel2->palette();
    strip.setColor(QPalette::Window, kToolGrey);
    Panel2->setPalette(strip);
    Label2 = new QLabel(Panel2);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setFont(PixelFont(kInfoFontPixels, true, true));
    Label2->setStyleSheet(QString("color: %1;").arg(kInfoTextColour));
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->setGeometry(kInfoMessageStart);
    Label2->setEnabled(false);
    Label2->installEventFilter(this);
}

void MainWindow::BuildBuildLabel() {
    Label1 = new QLabel(kBuildLabelText, this);
    Label1->setAttribute(Qt::WA_TranslucentBackground);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setFont(PixelFont(kBuildFontPixels, false));
    Label1->setGeometry(kBuildLabelRect);
}

// The hidden controls of the self-talk hook and of the report button.
void MainWindow::BuildSelfTalkControls() {
    CheckBox1 = new QCheckBox("AT", this);
    CheckBox1->hide();
    Edit2 = new QLineEdit(this);
    Edit2->hide();
    Button1 = new QPushButton(QString::fromUtf8("Zlé"), this);
    Button1->hide();
    connect(Button1, &QPushButton::clicked, this, Guarded(&MainWindow::Button1Click));
}

void MainWindow::BuildTimers() {
    Timer1 = new QTimer(this);
    Timer1->setInterval(ticks::kTickMs);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, Guarded(&MainWindow::Timer1Timer));
    DXTimer1 = new QTimer(this);
    DXTimer1->setInterval(kSpeechTickMs);
    connect(DXTimer1, &QTimer::timeout, this, Guarded(&MainWindow::DXTimer1Timer));
    Timer2 = new QTimer(this);
    Timer2->setInterval(kSelfTalkPollMs);
    connect(Timer2, &QTimer::timeout, this, Guarded(&MainWindow::Timer2Timer));
    Timer2->start();
    // The speech tick runs only while the program is the active application.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive) DXTimer1->stop();
        else if (Speaking()) DXTimer1->start();
    });
}

QAction* MainWindow::AddItem(QMenu* menu, const char* caption, int iconIndex, bool checkable,
                             void (MainWindow::*handler)()) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setCheckable(checkable);
    if (iconIndex >= 0) {
        action->setIcon(QIcon(QPixmap::fromImage(ImageList1_[iconIndex])));
        iconActions_[iconIndex] = action;
    }
    connect(action, &QAction::triggered, this, Guarded(handler));
    return action;
}

// An item with an icon of its own whose handler is not one of the window's actions.
void MainWindow::AddCommand(QMenu* menu, const char* caption, int iconIndex,
                            const std::function<void()>& handler) {
    menu->addAction(QIcon(QPixmap::fromImage(ImageList1_[iconIndex])), QString::fromUtf8(caption),
                    this, [this, handler] { Guard(handler); });
}

// A button of the menu bar that opens its menu; returns the menu and the bar's place for it.
std::pair<QMenu*, QAction*> MainWindow::AddMenu(const char* caption) {
    auto* menu = new QMenu(QString::fromUtf8(caption), this);
    auto* button = new QToolButton(ToolBar1);
    button->setText(QString::fromUtf8(caption));
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // The pointer may leave the button while its menu holds the mouse; no leave reaches the
    // button then, and it would stay highlighted after the menu closed. Asked once the
    // toolkit is done with closing the menu.
    connect(menu, &QMenu::aboutToHide, button, [button] {
        QTimer::singleShot(0, button, [button] {
            bool over = button->rect().contains(button->mapFromGlobal(QCursor::pos()));
            button->setAttribute(Qt::WA_UnderMouse, over);
            button->update();
        });
    });
    QAction* holder = ToolBar1->addWidget(button);
    return {menu, holder};
}

void MainWindow::BuildMenu() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(kIconPixels, kIconPixels));
    ToolBar1->setStyleSheet(MenuStyleSheet(FullLayout().menuButtonWidth));
    BuildProgramMenu();
    BuildTalkMenu();
    BuildOptionsMenu();
    BuildHelpMenu();
    BuildEditorMenu();
    Rec_->setChecked(true);
    // The info strip lies in the tool bar's row, right of the menu buttons.
    Panel2->raise();
    Label1->raise();
}

void MainWindow::BuildProgramMenu() {
    QMenu* program = AddMenu("Program").first;
    simple_ = AddItem(program, "Jednoduchá verzia", kIconSimple, true, &MainWindow::simpleClick);
    AddItem(program, "Zmeň vzhľad", kIconTheme, false, &MainWindow::ChangeThemeClick);
    program->addSeparator();
    AddItem(program, "Ukonči", kIconQuit, false, &MainWindow::SaveAndQuit);
}

void MainWindow::BuildTalkMenu() {
    QMenu* talk = AddMenu("Rozhovor").first;
    AddItem(talk, "Nový", kIconNew, false, &MainWindow::NovyClick);
    AddItem(talk, "Vymaž", kIconClear, false, &MainWindow::VymazClick);
    talk->addSeparator();
    AddItem(talk, "Prečítaj", kIconRead, false, &MainWindow::PrecitajClick);
    AddItem(talk, "Ulož", kIconSave, false, &MainWindow::UlozClick);
}

void MainWindow::BuildOptionsMenu() {
    QMenu* options = AddMenu("Nastavenia").first;
    Zaznamy_ = AddItem(options, "Záznamy", kIconRecords, true, &MainWindow::ZaznamyClick);
    Rec_ = AddItem(options, "Reč", kIconSpeech, true, &MainWindow::RecClick);
    Animacia_ = AddItem(options, "Animácia", kIconAnimation, true, &MainWindow::AnimaciaClick);
    Autolog_ = AddItem(options, "Autolog", kIconAutolog, true, &MainWindow::AutologClick);
    InfoBar_ = AddItem(options, "InfoTamzel", kIconInfoBar, true, &MainWindow::InfoBarClick);
    options->addSeparator();
    AddCommand(options, "Iné", kIconOther, [this] {
        if (services_.settings) services_.settings->ShowSettings();
    });
}

void MainWindow::BuildHelpMenu() {
    QMenu* help = AddMenu("Pomoc").first;
    AddCommand(help, "O programe", kIconAbout, [this] { OpenDocument("help/about.htm", ""); });
    AddCommand(help, "Pomoc", kIconHelp, [this] { OpenDocument("help/index.htm", ""); });
}

// The brain editor's menu exists but stays hidden: there is no editor in this program.
void MainWindow::BuildEditorMenu() {
    auto [editor, holder] = AddMenu("Edituj SZ");
    editor->addAction("Editor", this, [] { (void)QDir::currentPath(); });
    holder->setVisible(false);
}

base::Status MainWindow::FormCreate(const std::vector<std::string>& args) {
    ticker_.QuitCountdown = -1;
    ticker_.InfoShown = false;
    ticker_.InfoTicks = 0;
    BumpBuildCounter("build.txt", args);
    ApplyLayout();
    ticker_.fade = FadeState{};
    ticker_.IdleTicks = 0;
    ticker_.BlinkTicks = 0;
    ticker_.LookMode = false;
    ticker_.WasActive = isActiveWindow();
    if (!services_.speech->InitSpeech(Rec_->isChecked())) {
        Rec_->setChecked(false);
        Rec_->setEnabled(false);
        MarkToggleIcon(kIconSpeech, false);
        speechDisabled_ = true;
    }
    return services_.talk->InitEngine();
}

void MainWindow::SetSwitches(bool records, bool speech, bool animation, bool infoBar,
                             bool autolog) {
    Zaznamy_->setChecked(records);
    Rec_->setChecked(speech);
    Animacia_->setChecked(animation);
    InfoBar_->setChecked(infoBar);
    Autolog_->setChecked(autolog);
    Label2->setVisible(infoBar);
}

// The frame tells the state at a glance as it always did; the check mark tells it to anyone
// who does not know what the frame's colours mean.
void MainWindow::MarkToggleIcon(int index, bool on) {
    QImage& icon = ImageList1_[index];
    icon = PlainIcons_[index];
    QPainter p(&icon);
    p.setPen(on ? kIconFrameOn : kIconFrameOff);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, icon.width() - 1, icon.height() - 1);
    if (on) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, kCheckHalo, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(kCheckMark, std::size(kCheckMark));
        p.setPen(QPen(kCheckInk, kCheckPen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(kCheckMark, std::size(kCheckMark));
    }
    p.end();
    if (iconActions_[index]) iconActions_[index]->setIcon(QIcon(QPixmap::fromImage(icon)));
}

// --- Layouts and theme images ---------------------------------------------------------------

void MainWindow::ApplyLayout() {
    const MainLayout& l = layout();
    Shape1->setGeometry(l.faceFrame);
    Panel1->setGeometry(l.titleStrip);
    const QRect close = kCloseButtonRect.translated(l.titleStrip.x(), 0);
    ticker_.SetCloseButton({close.x(), close.y(), close.width(), close.height()});
    RichEdit1->setVisible(l.conversationView);
    Shape2->setVisible(l.conversationView);
    Edit1->setGeometry(l.input);
    Image2->setGeometry(l.faceImage);
    ToolBar1->setGeometry(l.toolBar);
    ToolBar1->setStyleSheet(MenuStyleSheet(l.menuButtonWidth));
    setFixedSize(l.window);
    setMask(WindowShape(l));
    Image1->setGeometry(0, 0, l.window.width(), l.window.height());
    // At creation the theme is not chosen yet; the show loads and reports the pictures.
    if (!shown_) return;
    profiles::ThemePictures pictures = Pictures();
    LoadLayoutPictures(pictures);
    ReportPictures(pictures);
}

profiles::ThemePictures MainWindow::Pictures() const {
    profiles::WindowTheme theme;
    theme.file = theme_.ThemeFile;
    theme.folder = theme_.ThemeFolder;
    theme.color = theme_.ThemeColor;
    theme.load = LoadJpeg;
    theme.pixelRatio = devicePixelRatioF();
    return profiles::ThemePictures(theme);
}

void MainWindow::LoadLayoutPictures(profiles::ThemePictures& pictures) {
    const MainLayout& l = layout();
    QImage background = pictures.Image(l.background);
    if (!background.isNull()) Image1->setPixmap(QPixmap::fromImage(background));
    Image3->SetImages(pictures.Image(l.layoutButton), pictures.Image(l.layoutButtonDown));
}

// One message a show: a layout switched back and forth does not repeat it.
void MainWindow::ReportPictures(const profiles::ThemePictures& pictures) {
    std::string problem = pictures.Problem();
    if (problem.empty() || picturesReported_) return;
    picturesReported_ = true;
    services_.messages->ShowMessageDialog("Pozor", problem);
}

// At the show and when a theme change has faded out: a new show of the theme.
void MainWindow::ReloadThemeImages() {
    picturesReported_ = false;
    profiles::ThemePictures pictures = Pictures();
    LoadLayoutPictures(pictures);
    Image4->SetImages(pictures.Image("2.jpg"), pictures.Image("2b.jpg"));
    Image5->SetImages(pictures.Image("3.jpg"), pictures.Image("3b.jpg"));
    QImage strip = pictures.Image("background.jpg");
    if (!strip.isNull()) Image6->setPixmap(QPixmap::fromImage(strip));
    ReportPictures(pictures);
}

void MainWindow::simpleClick() {
    if (sender() != simple_) simple_->setChecked(!simple_->isChecked());
    MarkToggleIcon(kIconSimple, simple_->isChecked());
    ApplyLayout();
    RepaintFace();
}

// --- Show, turn, timers ------------------------------------------------------------------

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

void MainWindow::FormShow() {
    ConversationLines_.clear();
    ReloadThemeImages();
    Timer1->start();
    StartNewConversationRecord();
    MarkToggleIcon(kIconSimple, simple_->isChecked());
    MarkToggleIcon(kIconRecords, Zaznamy_->isChecked());
    MarkToggleIcon(kIconSpeech, Rec_->isChecked());
    MarkToggleIcon(kIconAnimation, Animacia_->isChecked());
    MarkToggleIcon(kIconAutolog, Autolog_->isChecked());
    MarkToggleIcon(kIconInfoBar, InfoBar_->isChecked());
    Edit1->setFocus();
    OpeningTurn();
}

// With TAMZEL_TIMING set, the first paint of the conversation view holding the opening line
// is stamped on standard error (wall clock, nanoseconds) for start-up measurements.
bool MainWindow::StampFirstPaint(QObject* watched, QEvent* event) {
    if (stampedFirstPaint_ || event->type() != QEvent::Paint ||
        watched != RichEdit1->viewport() || ConversationLines_.empty()) {
        return false;
    }
    stampedFirstPaint_ = true;
    if (!qEnvironmentVariableIsSet("TAMZEL_TIMING")) return false;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    long cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * kMillisecondsPerSecond +
                 (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / kMicrosecondsPerMillisecond;
    std::fprintf(stderr, "tamzel: first paint at %lld (cpu %ld ms)\n",
                 static_cast<long long>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec, cpuMs);
    return false;
}

void MainWindow::OpeningTurn() { TakeTurn(TurnOrigin::Opening, ""); }

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    StampFirstPaint(watched, event);
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        ticker_.ResetIdle();
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (!Edit1->text().isEmpty()) SubmitInput(base::TypedFromUtf8(Edit1->text().toStdString()));
            return true;
        }
    }
    if (watched == Label2 && event->type() == QEvent::MouseButtonRelease) {
        Guard([this] { Label2Click(); });
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::NoteInputCut() {
    if (inputCutNoted_) return;
    inputCutNoted_ = true;
    services_.messages->ShowMessageDialog("Pozor", engine::InputCutNotice());
}

void MainWindow::SubmitInput(const std::string& typed) {
    ticker_.ResetIdle();
    if (typed.empty()) return;
    std::string text = typed;
    if (engine::CutToInputLimit(text)) NoteInputCut();
    if (text == "halt") {
        services_.halt();
        return;
    }
    TakeTurn(TurnOrigin::Typed, text);
}

void MainWindow::WindowTurn(bool hover) {
    TakeTurn(hover ? TurnOrigin::Hover : TurnOrigin::Idle, "");
}

TurnSwitches MainWindow::Switches() const { return {Zaznamy_->isChecked(), Rec_->isChecked()}; }

// A failing engine leaves the window as it was: nothing is shown, recorded or spoken.
void MainWindow::TakeTurn(TurnOrigin origin, const std::string& input,
                          const std::string& selfTalkMarker) {
    Guard([&] {
        base::Result<engine::TurnResult> turn =
            origin == TurnOrigin::Opening ? services_.talk->OpeningLine()
                                          : services_.talk->AnswerSentence(input, KindOf(origin));
        if (!turn) {
            ShowFailure(turn.error());
            return;
        }
        lastTurn_ = std::move(turn).value();
        Present(PresentTurn(origin, input, lastTurn_, Switches(), selfTalkMarker));
    });
}

void MainWindow::Present(const TurnPresentation& turn) {
    for (const ShownLine& line : turn.shown) {
        ConversationLines_.push_back(line.text);
        ShowInView(line.text, line.character);
    }
    if (!turn.record.empty()) Record(kRecordFile, turn.record, false);
    if (!turn.report.empty()) Record(kReportFile, turn.report, false);
    if (turn.endsTypedLine) {
        Edit1->clear();
        inputCutNoted_ = false;
        ticker_.ResetIdle();
    }
    if (turn.speech) Speak(*turn.speech);
    if (turn.selfTalkAnswer) WriteSelfTalk(*turn.selfTalkAnswer);
}

void MainWindow::AddConversationLine(const std::string& text, bool character) {
    std::string line = character ? kCharacterPrefix + text : text;
    ConversationLines_.push_back(line);
    ShowInView(line, character);
}

void MainWindow::ShowInView(const std::string& line, bool character) {
    QTextCursor cursor(RichEdit1->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setFontWeight(character ? QFont::Bold : QFont::Normal);
    if (!RichEdit1->document()->isEmpty()) cursor.insertBlock();
    cursor.setCharFormat(format);
    cursor.insertText(ToQt(line), format);
}

void MainWindow::ReportTurn(const std::string& input, const std::string& answer) {
    if (Zaznamy_->isChecked()) Record(kReportFile, ReportTurnLines(input, answer), false);
}

void MainWindow::Button1Click() {
    ReportTurn(lastTurn_.heardInput, StripTags(lastTurn_.heardReply));
}

void MainWindow::Speak(const std::string& raw) {
    if (speechDisabled_) return;
    services_.speech->Speak(raw);
    SpeechStarted();
}

void MainWindow::SpeechStarted() {
    if (services_.speech->Speaking() && qApp->applicationState() == Qt::ApplicationActive) {
        DXTimer1->start();
    }
}

void MainWindow::DXTimer1Timer() {
    if (services_.speech->Speaking()) services_.speech->SpeechTick();
    if (!services_.speech->Speaking()) DXTimer1->stop();
}

void MainWindow::Timer2Timer() {
    if (!CheckBox1->isChecked()) return;
    QFile probe(QString::fromStdString(selfTalkFile));
    if (!probe.exists()) WriteSelfTalk("-ahoj\r\n");
    bool cut = false;
    // One byte more than a sentence may have tells an overlong line from one at the limit.
    std::string line = ReadFirstLine(selfTalkFile, engine::kMaxInputLength + 1, cut);
    std::string marker = FromQt(Edit2->text());
    if (line.empty() || line.substr(0, kMarkerLength) == marker) return;
    std::string sentence = line.substr(kMarkerLength);
    if (cut) NoteInputCut();
    if (sentence == "halt") {
        services_.halt();
        return;
    }
    TakeTurn(TurnOrigin::SelfTalk, sentence, marker);
}

// The partner reads only what is there; a write that fails is said once a run, or the
// hook's second would repeat it every second.
void MainWindow::WriteSelfTalk(const std::string& content) {
    base::Status written = base::WriteFileAtomically(selfTalkFile, content);
    if (written || selfTalkProblemReported_) return;
    selfTalkProblemReported_ = true;
    ShowFailure(written.error());
}

// --- Failures ------------------------------------------------------------------------------

void MainWindow::Guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const base::Error& e) {
        ShowFailure(e);
    } catch (const std::exception& e) {
        ShowFailure(base::Fail(e.what()));
    } catch (...) {
        ShowFailure(base::Fail(base::Cp1250("Nastala neočakávaná chyba.")));
    }
}

std::function<void()> MainWindow::Guarded(void (MainWindow::*handler)()) {
    return [this, handler] { Guard([this, handler] { (this->*handler)(); }); };
}

void MainWindow::ShowFailure(const base::Error& error) {
    const std::string text = error.encoding == base::Encoding::Utf8
                                 ? base::FromUtf8Lossy(error.message)
                                 : error.message;
    services_.messages->ShowMessageDialog("Chyba", text);
}

void MainWindow::ShowEngineProblem(const std::string& message) {
    services_.messages->ShowMessageDialog("Pozor", message);
}

// --- TickHost ----------------------------------------------------------------------------

bool MainWindow::QuitRequested() { return lastTurn_.quitRequested; }
bool MainWindow::Speaking() { return services_.speech->Speaking(); }
bool MainWindow::WindowActive() { return isActiveWindow(); }

// The window system learns of a new opacity only when the program next talks to it; a
// fade of a window that repaints nothing (disabled behind the settings) would stop at its
// first step on screen, so every step is sent at once.
void MainWindow::SetOpacity(int opacity) {
    opacity_ = opacity;
    setWindowOpacity(opacity / static_cast<double>(kOpaque));
    QGuiApplication::sync();
}

void MainWindow::ShowFaceFrame(const std::string& name) {
    if (face_) face_->ShowFaceFrame(name);
}

bool MainWindow::InfoBarOn() { return InfoBar_->isChecked(); }

void MainWindow::InfoBegin(int index) {
    Label2->setEnabled(true);
    Label2->move(kInfoMessageStart.topLeft());
    Label2->setText(ToQt(InfoMessage(index, services_.talk->Profile().mood)));
    Label2->resize(kInfoMessageStart.size());
    Label2->move(kInfoMessageStart.topLeft());
}

void MainWindow::InfoMoveDown() { Label2->move(Label2->x(), Label2->y() + kInfoSlidePixels); }
void MainWindow::InfoEnd() { Label2->setEnabled(false); }

ScreenPoint MainWindow::Pointer() {
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

ScreenPoint MainWindow::WindowTopLeft() { return {x(), y()}; }
int MainWindow::Random(int n) { return services_.random->Below(n); }

void MainWindow::Label2Click() {
    if (!ticker_.InfoShown) return;
    if (ticker_.InfoIndex == kInfoThemeHint) {
        services_.messages->ShowMessageDialog(base::Cp1250("Informácia"), ThemeHintText());
        return;
    }
    HelpPage page = InfoHelpPage(ticker_.InfoIndex);
    if (*page.path) OpenDocument(page.path, page.anchor);
}

// --- Face surface -------------------------------------------------------------------------

void MainWindow::DrawFaceImage(const QImage& frame, QPoint windowPos) {
    Image2->DrawFrame(frame, windowPos);
}

void MainWindow::RepaintFace() {
    Image2->Restore();
    Label1->update();
}

void MainWindow::SetFacePicture(const QImage& picture) { Image2->SetPicture(picture); }

// --- Dragging by any free point ---------------------------------------------------------------

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    manualDrag_ = !(windowHandle() && windowHandle()->startSystemMove());
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (manualDrag_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
    }
}

void MainWindow::mouseReleaseEvent(QMouseEvent*) { manualDrag_ = false; }

}  // namespace tamzel::ui
