#include "profiles/windows/WarningForm.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextLayout>

namespace tamzel::profiles {
namespace {

constexpr int kWidth = 249;
constexpr int kMemoTop = 32;
// The width the memo wraps its text at: less its document margins and the caret's pixel, as
// the memo lays it out itself; any other width counts lines the memo does not show (a spare
// empty line) or misses one.
constexpr int kMemoTextWidth = 233 - 2 * 2 - 1;
// The title on the theme's tab: it must end before the tab does (x 120, where the window's
// cut-out begins), so a long title gets a smaller font rather than being clipped.
constexpr QRect kTitleRect(26, 4, 92, 16);
constexpr int kTitlePixels = 13;
constexpr int kSmallestTitlePixels = 10;

bool IsEnter(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Long lines wrap at the memo's width and count as the lines they take on screen, so the
// window grows to show the whole message.
int ShownLines(const QString& text, const QFont& font, int width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int count = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        ++count;
    }
    layout.endLayout();
    return std::max(1, count);
}

}  // namespace

std::vector<std::string> MessageLines(const std::string& message) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : message) {
        if (c == '\\') {
            lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty() || lines.empty()) lines.push_back(current);
    return lines;
}

DialogGeometry DialogGeometryFor(int lines) {
    DialogGeometry g{};
    g.memoHeight = 13 * lines + 6;
    g.windowHeight = g.memoHeight + 62;
    g.barTop = g.windowHeight - 2;
    g.buttonsTop = kMemoTop + g.memoHeight + 6;
    return g;
}

TWarningForm::TWarningForm(ProfileLinks& links, QWidget* parent)
    : ChromeWindow(parent, Qt::WindowStaysOnTopHint | Qt::Tool), links_(links) {
    resize(kWidth, 120);
    Image1 = MakePicture(this, 0, 0);
    Image2 = MakePicture(this, 5, 4, 16, 16);
    Label1 = new QLabel(this);
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label1->setGeometry(kTitleRect);
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPixelSize(kTitlePixels);
    Label1->setFont(bold);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setFrameStyle(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont memoFont = Memo1->font();
    memoFont.setPixelSize(11);  // one line of text takes 13 pixels
    Memo1->setFont(memoFont);
    Memo1->setStyleSheet("QPlainTextEdit { background: silver; color: black; }");
    Memo1->document()->setDocumentMargin(2);
    Memo1->setGeometry(8, kMemoTop, 233, 19);
    Memo1->installEventFilter(this);
    Panel1 = new QFrame(this);
    Panel1->setStyleSheet("background: black;");
    Panel1->setGeometry(0, 118, kWidth, 2);
    Panel2 = ButtonPanel(Image3, 184);
    Panel3 = ButtonPanel(Image5, 120);
    Panel4 = ButtonPanel(Image4, 184);
    Panel3->hide();
    Panel4->hide();
    connect(Image3, &ChromeButton::clicked, this, &TWarningForm::OkClick);
    connect(Image5, &ChromeButton::clicked, this, &TWarningForm::YesClick);
    connect(Image4, &ChromeButton::clicked, this, &TWarningForm::NoClick);
    HideEdit = new QLineEdit(this);
    HideEdit->setGeometry(208, 0, 41, 19);
    HideEdit->installEventFilter(this);
    SetCutOut(QRect(120, 0, kWidth, 22));
    setWindowTitle("Tamzel");
}

void TWarningForm::FitTitle(const QString& title) {
    QFont font = Label1->font();
    for (int pixels = kTitlePixels; pixels >= kSmallestTitlePixels; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(title) <= kTitleRect.width()) break;
    }
    Label1->setFont(font);
    Label1->setText(title);
}

QWidget* TWarningForm::ButtonPanel(ChromeButton*& button, int x) {
    auto* panel = new QWidget(this);
    panel->setGeometry(x, 88, 57, 16);
    button = new ChromeButton(panel);
    button->setGeometry(0, 0, 57, 16);
    return panel;
}

void TWarningForm::LoadPictures() {
    WindowTheme theme = ThemeFor(*this, links_.CurrentTheme());
    QImage background = theme.Image("warning.jpg");
    ShowPicture(Image1, background);
    Image1->lower();
    // The title is written over the theme's tab: light on a dark tab, dark on a light one.
    if (!background.isNull() && background.width() > 60 && background.height() > 12) {
        bool dark = PictureColorAt(background, {60, 12}).lightness() < 128;
        Label1->setStyleSheet(dark ? "color: white;" : "color: black;");
    }
    Image3->SetImages(theme.Image("alert_ok1.jpg"), theme.Image("alert_ok2.jpg"));
    Image4->SetImages(theme.Image("no1.jpg"), theme.Image("no2.jpg"));
    Image5->SetImages(theme.Image("yes1.jpg"), theme.Image("yes2.jpg"));
}

void TWarningForm::ShowMessageDialog(const std::string& title, const std::string& message,
                                     bool question) {
    QStringList lines;
    for (const std::string& line : MessageLines(message)) lines << Qt1250(line);
    ShowLines(title, lines, question);
}

void TWarningForm::ShowUtf8Message(const std::string& title, const std::string& messageUtf8) {
    QStringList lines;
    for (const std::string& line : MessageLines(messageUtf8)) lines << QString::fromStdString(line);
    ShowLines(title, lines, false);
}

void TWarningForm::ShowLines(const std::string& title, const QStringList& lines, bool question) {
    show();
    LoadPictures();
    Panel2->setVisible(!question);
    Panel3->setVisible(question);
    Panel4->setVisible(question);
    if (question) DialogAnswer = 0;  // a close by Enter must never read as Yes
    FitTitle(Qt1250(title));
    int count = 0;
    for (const QString& line : lines) count += ShownLines(line, Memo1->font(), kMemoTextWidth);
    Memo1->setPlainText(lines.join('\n'));
    DialogGeometry g = DialogGeometryFor(count);
    Memo1->resize(233, g.memoHeight);
    resize(kWidth, g.windowHeight);
    Panel1->move(0, g.barTop);
    for (QWidget* panel : {Panel2, Panel3, Panel4}) panel->move(panel->x(), g.buttonsTop);
    SetCutOut(QRect(120, 0, kWidth, 22));
    QTextCursor caret = Memo1->textCursor();
    caret.setPosition(std::min(1, static_cast<int>(Memo1->document()->characterCount()) - 1));
    Memo1->setTextCursor(caret);
    alertIconShown = title == "Pozor";
    WindowTheme theme = ThemeFor(*this, links_.CurrentTheme());
    ShowPicture(Image2, theme.Image(alertIconShown ? "alert.jpg" : "info.jpg"));
    lastSound = alertIconShown ? "files/ping2.wav" : "files/ping1.wav";
    if (links_.playWave) links_.playWave(lastSound);
    CentreOnScreen();
    raise();
    activateWindow();
    HideEdit->setFocus();
}

bool TWarningForm::AskQuestion(const std::string& title, const std::string& text) {
    ShowMessageDialog(title, text, true);
    // A nested loop, not a polling one: when the program is asked to end meanwhile, the
    // loop ends too and the question counts as answered No.
    QEventLoop waiting;
    connect(this, &TWarningForm::hidden, &waiting, &QEventLoop::quit);
    if (isVisible()) waiting.exec();
    return DialogAnswer == 1 && !isVisible();
}

void TWarningForm::hideEvent(QHideEvent* event) {
    ChromeWindow::hideEvent(event);
    emit hidden();
}

void TWarningForm::OkClick() { hide(); }

void TWarningForm::Answer(int answer) {
    Panel2->show();
    Panel3->hide();
    Panel4->hide();
    DialogAnswer = answer;
    hide();
}

void TWarningForm::YesClick() { Answer(1); }
void TWarningForm::NoClick() { Answer(0); }

// Enter in the message text or on the window itself closes it as OK does.
bool TWarningForm::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Memo1 || watched == HideEdit) && IsEnter(event)) {
        OkClick();
        return true;
    }
    return ChromeWindow::eventFilter(watched, event);
}

void TWarningForm::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(event)) {
        OkClick();
        return;
    }
    ChromeWindow::keyPressEvent(event);
}

}  // namespace tamzel::profiles
