#include "profiles/windows/WelcomeForm.h"

#include <QFile>
#include <algorithm>
#include <QKeyEvent>
#include <QShowEvent>

#include "base/Codepage.h"
#include "profiles/ProfileMessages.h"
#include "profiles/ProfileNames.h"
#include "profiles/StartChoice.h"
#include "profiles/windows/OptionsForm.h"
#include "profiles/windows/RegisterForm.h"
#include "profiles/windows/WarningForm.h"

namespace tamzel::profiles {
namespace {
const char* const kDefaultTheme = "design/interface.thm";
}

TWelcomeForm::TWelcomeForm(ProfileLinks& links, QWidget* parent)
    : ChromeWindow(parent), links_(links) {
    resize(277, 128);
    setWindowTitle("Tamzel");
    Image1 = MakePicture(this, 0, 0, 277, 128);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setGeometry(104, 44, 153, 21);
    ComboBox1->installEventFilter(this);
    connect(ComboBox1, &QComboBox::activated, this, &TWelcomeForm::ComboBox1Change);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setGeometry(104, 76, 153, 21);
    ComboBox2->addItem("Gorvin");
    ComboBox2->setEnabled(false);
    Image2 = new ChromeButton(this);
    // Clear of the voice list above it (which ends at y 97).
    Image2->setGeometry(187, 100, 80, 24);
    connect(Image2, &ChromeButton::clicked, this, [this] { SignIn(); });
    const TitleButtons strip = MakeTitleButtons(this, QRect(211, 2, 64, 22), 24);
    Panel1 = strip.panel;
    Image5 = strip.picture;
    Image3 = strip.minimize;
    Image4 = strip.close;
    connect(Image3, &ChromeButton::clicked, this, [this] {
        if (links_.minimize) links_.minimize();
    });
    connect(Image4, &ChromeButton::clicked, this, [this] {
        if (links_.quit) links_.quit();
    });
    Timer1 = new QTimer(this);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &TWelcomeForm::Timer1Timer);
}

void TWelcomeForm::showEvent(QShowEvent* event) {
    ChromeWindow::showEvent(event);
    // A restore after minimising is no new start.
    if (signingIn_ || event->spontaneous()) return;
    PrepareStart();
    CentreOnScreen();
    raise();
    activateWindow();  // Enter in the user list signs in right away
    ComboBox1->setFocus();
}

void TWelcomeForm::Problem(const std::string& message) {
    if (links_.warning) links_.warning->ShowMessageDialog(TitleAlert(), message, false);
}

void TWelcomeForm::PrepareStart() {
    createdThisStart.clear();
    fadeActive = false;
    Timer1->stop();
    if (!loginNameFixed) loginName = LoginName();
    StartSettings ini = links_.store->ReadIni();
    if (links_.main) links_.main->SetAutolog(ini.autolog);
    std::string themeProblem = OpenStartTheme(ini);
    LoadThemePictures(themeProblem);
    FillUserList(ini);
    CreateLoginProfile();
    bool autolog = links_.main ? links_.main->Autolog() : ini.autolog;
    if (auto index = PreselectedUser(Users(), ini, autolog, loginName)) preselection_ = index;
    if (preselection_) ComboBox1->setCurrentIndex(static_cast<int>(*preselection_) + 1);
    ComboBox2->setCurrentIndex(0);
}

// tamzel.ini names the theme as it was chosen; a file that is gone falls back to the
// default theme, and so does a damaged one (after saying so).
std::string TWelcomeForm::OpenStartTheme(const StartSettings& ini) {
    std::string path = base::ToUtf8(ini.theme);
    if (!QFile::exists(QString::fromStdString(path))) path = kDefaultTheme;
    std::optional<int> colour = ReadThemeColor(path);
    std::string problem;
    if (!colour && path != kDefaultTheme) {
        problem = Cp1250("Súbor témy ") + base::FromUtf8Lossy(path) +
                  Cp1250(" sa nedá prečítať alebo jeho prvý riadok nie je číslo farby; "
                         "platí základný vzhľad.");
        path = kDefaultTheme;
        colour = ReadThemeColor(path);
    }
    if (!colour) {
        problem = Cp1250("Súbor témy ") + base::FromUtf8Lossy(path) +
                  Cp1250(" sa nedá prečítať alebo jeho prvý riadok nie je číslo farby.");
    }
    WindowTheme chosen = ThemeFor(*this, links_.CurrentTheme());
    chosen.file = path;
    chosen.folder = ThemeFolderOf(path);
    if (colour) chosen.color = *colour;
    theme = chosen;
    if (links_.main) links_.main->SetTheme(theme);
    return problem;
}

// Every show loads the pictures again (the theme may have changed meanwhile) and reports
// what failed in one message.
void TWelcomeForm::LoadThemePictures(const std::string& themeProblem) {
    ThemePictures pictures(theme);
    pictures.AddThemeProblem(themeProblem);
    ShowPicture(Image1, pictures.Image("welcome.jpg"));
    Image1->lower();
    Image2->SetImages(pictures.Image("main_ok1.jpg"), pictures.Image("main_ok2.jpg"));
    Image3->SetImages(pictures.Image("2.jpg"), pictures.Image("2b.jpg"));
    Image4->SetImages(pictures.Image("3.jpg"), pictures.Image("3b.jpg"));
    ShowPicture(Image5, pictures.Image("background.jpg"));
    Image5->lower();
    std::string problem = pictures.Problem();
    if (!problem.empty()) Problem(problem);
}

void TWelcomeForm::FillUserList(const StartSettings& ini) {
    ComboBox1->clear();
    ComboBox1->addItem(Qt1250(Cp1250("Nový užívateľ")));
    preselection_.reset();
    base::Status ensured = links_.store->EnsureUserList();
    if (!ensured.ok()) Problem(ensured.message());
    std::string error;
    std::vector<std::string> users = links_.store->ListUsers(&error);
    if (!error.empty()) Problem(error);
    for (size_t i = 0; i < users.size(); ++i) {
        ComboBox1->addItem(Qt1250(users[i]));
        if (ini.lastUser && users[i] == *ini.lastUser) preselection_ = i;
    }
}

void TWelcomeForm::CreateLoginProfile() {
    if (loginName.empty() || !links_.registration) return;
    if (!IsValidName(loginName) || links_.store->FindUser(loginName)) return;
    links_.registration->RadioButton1->setChecked(true);
    links_.registration->CreateProfile(loginName, loginName, true, true);
}

std::vector<std::string> TWelcomeForm::Users() const {
    std::vector<std::string> users;
    for (int i = 1; i < ComboBox1->count(); ++i) users.push_back(From1250(ComboBox1->itemText(i)));
    return users;
}

void TWelcomeForm::ProfileCreated(const std::string& name) {
    ComboBox1->addItem(Qt1250(name));
    ComboBox1->setCurrentIndex(ComboBox1->count() - 1);
    createdThisStart.push_back(name);
    if (links_.main) {
        links_.main->SetSwitches(true, true, true, true);
        links_.main->SetAutolog(true);
    }
}

void TWelcomeForm::RenameUser(const std::string& oldName, const std::string& newName) {
    for (int i = 1; i < ComboBox1->count(); ++i)
        if (From1250(ComboBox1->itemText(i)) == oldName) ComboBox1->setItemText(i, Qt1250(newName));
}

void TWelcomeForm::RemoveUser(const std::string& name) {
    for (int i = ComboBox1->count() - 1; i >= 1; --i)
        if (From1250(ComboBox1->itemText(i)) == name) ComboBox1->removeItem(i);
}

void TWelcomeForm::ComboBox1Change(int index) {
    if (index != 0 || !links_.registration) return;
    StartFade(false);
    setEnabled(false);
    links_.registration->OpenForNewProfile();
}

void TWelcomeForm::RegistrationHidden() {
    if (!isVisible()) return;  // after sign-in the start window stays hidden
    setEnabled(true);
    StartFade(true);
}

bool TWelcomeForm::SignIn() {
    int index = ComboBox1->currentIndex();
    if (index <= 0) {
        Problem(MessageChooseUser());
        return false;
    }
    auto profile = links_.store->LoadSignIn(From1250(ComboBox1->itemText(index)));
    if (!profile) {
        Problem(profile.message());
        return false;
    }
    const UserData& user = profile->data;
    const UserConfig& cfg = profile->config;
    if (links_.talk) links_.talk->SetProfile({user.name, user.pronunciation, user.male, user.mood});
    if (links_.main) links_.main->SetSwitches(cfg.records, cfg.speech, cfg.animation, cfg.infoBar);
    if (links_.options) links_.options->SetLevels(cfg.volume, cfg.speed, cfg.intonation);
    hide();
    if (links_.main) links_.main->ShowMain();
    auto created = std::find(createdThisStart.begin(), createdThisStart.end(), user.name);
    if (created == createdThisStart.end()) return true;
    createdThisStart.erase(created);
    if (links_.warning)
        links_.warning->ShowMessageDialog(TitleInformation(),
                                          MessageFirstRunGreeting(user.name, user.male), false);
    return true;
}

bool TWelcomeForm::SignInDirect(const std::string& name) {
    PrepareStart();
    if (!links_.store->FindUser(name) && links_.registration) {
        links_.registration->RadioButton1->setChecked(true);
        links_.registration->CreateProfile(name, name, true, false);
    }
    std::optional<std::string> listed = links_.store->FindUser(name);
    if (!listed) return false;
    for (int i = 1; i < ComboBox1->count(); ++i)
        if (From1250(ComboBox1->itemText(i)) == *listed) ComboBox1->setCurrentIndex(i);
    signingIn_ = true;
    bool signedIn = SignIn();
    signingIn_ = signedIn;  // a failed sign-in leaves the start window to be shown
    return signedIn;
}

bool TWelcomeForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ComboBox1 && event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            SignIn();
            return true;
        }
    }
    return ChromeWindow::eventFilter(watched, event);
}

void TWelcomeForm::StartFade(bool in) {
    fadeActive = true;
    fadeIn = in;
    Timer1->start();
}

void TWelcomeForm::SetOpacity(int value) {
    opacity = value;
    setWindowOpacity(value / 255.0);
}

// Fading in grows by 5 up to 255; fading out shrinks by 5; it stops below 100 or at 255.
void TWelcomeForm::Timer1Timer() {
    if (!fadeActive) return;
    if (fadeIn) SetOpacity(opacity <= 250 ? opacity + 5 : 255);
    else SetOpacity(opacity - 5);
    if (opacity < 100 || opacity == 255) {
        fadeActive = false;
        Timer1->stop();
    }
}

}  // namespace tamzel::profiles
