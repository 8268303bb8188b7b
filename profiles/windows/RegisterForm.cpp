#include "profiles/windows/RegisterForm.h"

#include <QFontMetrics>
#include <QHideEvent>
#include <QKeyEvent>
#include <QShowEvent>
#include <QTextBoundaryFinder>

#include "base/Codepage.h"
#include "profiles/ProfileNames.h"

#include "profiles/ProfileMessages.h"
#include "profiles/windows/OptionsForm.h"
#include "profiles/windows/WarningForm.h"
#include "profiles/windows/WelcomeForm.h"

namespace tamzel::profiles {

TRegisterForm::TRegisterForm(ProfileLinks& links, QWidget* parent)
    : ChromeWindow(parent), links_(links) {
    resize(249, 176);
    SetCutOut(QRect(120, 0, 249, 22));
    setWindowTitle("Tamzel");
    Image1 = MakePicture(this, 0, 0, 249, 176);
    Caption = new QLabel(this);
    Caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    Caption->setGeometry(8, 0, 110, 24);
    QFont bold = Caption->font();
    bold.setBold(true);
    bold.setPixelSize(12);
    Caption->setFont(bold);
    auto edit = [this](int y, const char* hint) {
        auto* e = new QLineEdit(this);
        e->setGeometry(104, y, 121, 19);
        e->setFrame(false);
        e->setToolTip(Qt1250(Cp1250(hint)));
        e->installEventFilter(this);
        return e;
    };
    Edit1 = edit(56, "Sem napíš, ako ťa mám oslovovať");
    Edit2 = edit(88, "Sem napíš, ako sa vyslovuje tvoje meno");
    RadioButton1 = new QRadioButton(Qt1250(Cp1250("Muž")), this);
    RadioButton1->setGeometry(32, 147, 45, 15);
    RadioButton2 = new QRadioButton(Qt1250(Cp1250("Žena")), this);
    RadioButton2->setGeometry(96, 146, 49, 17);
    RadioButton1->setChecked(true);
    RadioButton1->installEventFilter(this);
    RadioButton2->installEventFilter(this);
    // The theme's title fills the whole tab, so the close button sits in the top right
    // corner of the body below it, where it covers nothing.
    Image3 = new ChromeButton(this);
    Image3->setGeometry(227, 30, 16, 16);
    Image2 = new ChromeButton(this);
    Image2->setGeometry(179, 140, 50, 24);
    connect(Image2, &ChromeButton::clicked, this, &TRegisterForm::AcceptRegistration);
    connect(Image3, &ChromeButton::clicked, this, &TRegisterForm::CloseClick);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
}

void TRegisterForm::showEvent(QShowEvent* event) {
    if (event->spontaneous()) return ChromeWindow::showEvent(event);
    WindowTheme theme = ThemeFor(*this, links_.CurrentTheme());
    ShowPicture(Image1, theme.Image("register.jpg"));
    Image1->lower();
    Image2->SetImages(theme.Image("reg_ok1.jpg"), theme.Image("reg_ok2.jpg"));
    Image3->SetImages(theme.Image("3.jpg"), theme.Image("3b.jpg"));
    const QColor ground = theme.Color();
    for (QRadioButton* r : {RadioButton1, RadioButton2})
        r->setStyleSheet(QString("QRadioButton { background: %1; color: %2; }")
                             .arg(ground.name(), ReadableTextOn(ground).name()));
    QImage background = theme.Image("register.jpg");
    if (!background.isNull() && background.width() > 60 && background.height() > 12) {
        bool dark = PictureColorAt(background, {60, 12}).lightness() < 128;
        Caption->setStyleSheet(dark ? "color: white;" : "color: black;");
    }
    CentreOnScreen();
    ChromeWindow::showEvent(event);
}

// Whatever hides the window gives the start window back.
void TRegisterForm::hideEvent(QHideEvent* event) {
    if (links_.welcome && !event->spontaneous()) links_.welcome->RegistrationHidden();
    ChromeWindow::hideEvent(event);
}

bool TRegisterForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && watched != this) {
            AcceptRegistration();
            return true;
        }
    }
    return ChromeWindow::eventFilter(watched, event);
}

void TRegisterForm::Show(const std::string& title, const std::string& message, bool quiet) {
    if (!quiet && links_.warning) links_.warning->ShowMessageDialog(title, message, false);
}

bool TRegisterForm::CreateProfile(const std::string& name, const std::string& pronunciation,
                                  bool male, bool quiet) {
    ProfileStore& store = *links_.store;
    bool written = RadioButton1->isChecked();
    if (EditMode == 1) {
        base::Status r = store.EditProfile(EditedName, name, pronunciation, written, male);
        if (!r.ok()) Show(r.error().title, r.message(), quiet);
        if (!r.ok()) return false;
        NewName = name;
        return true;
    }
    base::Status checked = store.CheckRegistration(name, pronunciation, male, true);
    if (checked.ok()) checked = store.CreateProfile(name, pronunciation, written, male);
    if (!checked.ok()) {
        Show(checked.error().title, checked.message(), quiet);
        return false;
    }
    if (links_.welcome) links_.welcome->ProfileCreated(name);
    return true;
}

// A character without a Windows-1250 form (an emoji, say) would reach the store's check as
// '?'; it is refused here, where it can still be shown as it was typed. What the store says
// first (a missing name or pronunciation, an earlier forbidden character) it still says.
bool TRegisterForm::RefuseUnwritableName() {
    const QString name = Edit1->text();
    if (name.isEmpty() || Edit2->text().isEmpty()) return false;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, name);
    for (qsizetype start = 0; start < name.size();) {
        qsizetype end = characters.toNextBoundary();
        if (end < 0) end = name.size();
        const std::string shown = name.mid(start, end - start).toStdString();
        std::optional<std::string> written = base::FromUtf8(shown);
        if (!written) {
            if (links_.warning)
                links_.warning->ShowUtf8Message(TitleAlert(), MessageBadCharacterUtf8(shown));
            return true;
        }
        if (FirstInvalidCharacter(*written)) return false;
        start = end;
    }
    return false;
}

void TRegisterForm::AcceptRegistration() {
    if (RefuseUnwritableName()) return;
    if (EditMode == 1) {
        AcceptEdit();
        return;
    }
    if (CreateProfile(From1250(Edit1->text()), From1250(Edit2->text()),
                      RadioButton1->isChecked(), false))
        hide();
}

void TRegisterForm::AcceptEdit() {
    base::ProfileValues user = links_.talk ? links_.talk->Profile() : base::ProfileValues{};
    std::string pronunciation = From1250(Edit2->text());
    if (!CreateProfile(From1250(Edit1->text()), pronunciation, user.male, false)) return;
    if (NewName != EditedName) {
        if (links_.welcome) links_.welcome->RenameUser(EditedName, NewName);
        if (links_.options) links_.options->RenameAccount(EditedName, NewName);
    }
    if (links_.talk && EditedName == user.name) {
        user.name = NewName;
        user.pronunciation = pronunciation;
        user.male = RadioButton1->isChecked();
        links_.talk->SetProfile(user);
    }
    EditMode = 0;
    hide();
    SetOptionsEnabled(true);
}

void TRegisterForm::OpenProfileForEdit(const std::string& name) {
    auto stored = links_.store->ReadUserData(name);
    if (!stored) {
        Show(TitleAlert(), stored.message(), false);
        return;
    }
    EditedName = name;
    EditMode = 1;
    Edit1->setText(Qt1250(stored->name));
    Edit2->setText(Qt1250(stored->pronunciation));
    (stored->male ? RadioButton1 : RadioButton2)->setChecked(true);
    KeptMood = stored->mood;
    SetCaption(Cp1250("Úprava užívateľa"));
    show();
    SetOptionsEnabled(false);
}

void TRegisterForm::OpenForNewProfile() {
    EditMode = 0;
    Edit1->clear();
    Edit2->clear();
    RadioButton1->setChecked(true);
    SetCaption(Cp1250("Nový užívateľ"));
    show();
    Edit1->setFocus();
}

// The caption ends before the tab does (the window's cut-out begins at x 120); a longer one
// gets a smaller font rather than being clipped.
void TRegisterForm::SetCaption(const std::string& cp1250) {
    constexpr int kCaptionPixels = 12;
    constexpr int kSmallestCaptionPixels = 9;
    const QString text = Qt1250(cp1250);
    QFont font = Caption->font();
    for (int pixels = kCaptionPixels; pixels >= kSmallestCaptionPixels; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= Caption->width()) break;
    }
    Caption->setFont(font);
    Caption->setText(text);
}

void TRegisterForm::CloseClick() {
    hide();
    EditMode = 0;
    SetOptionsEnabled(true);
}

void TRegisterForm::SetOptionsEnabled(bool enabled) {
    if (links_.options) links_.options->setEnabled(enabled);
}

}  // namespace tamzel::profiles
