#include "profiles/windows/OptionsForm.h"

#include <QApplication>
#include <QHideEvent>
#include <QShowEvent>

#include "profiles/ProfileMessages.h"
#include "profiles/windows/RegisterForm.h"
#include "profiles/windows/WarningForm.h"
#include "profiles/windows/WelcomeForm.h"

namespace tamzel::profiles {

TOptionsForm::TOptionsForm(ProfileLinks& links, QWidget* parent)
    : ChromeWindow(parent), links_(links) {
    resize(349, 254);
    setWindowTitle("Tamzel");
    Image1 = MakePicture(this, 0, 0, 349, 254);
    TrackBar1 = Slider(84, speech::kVolumeLevels);
    TrackBar2 = Slider(141, speech::kSpeedLevels);
    TrackBar3 = Slider(197, speech::kIntonationLevels);
    ListBox1 = new QListWidget(this);
    ListBox1->setGeometry(24, 61, 121, 153);
    ListBox1->setToolTip(Qt1250(Cp1250("Užívateľské kontá - pre editovanie urob dvojklik")));
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { EditClick(); });
    const TitleButtons strip = MakeTitleButtons(this, QRect(304, 2, 44, 20), 4);
    Panel1 = strip.panel;
    Image6 = strip.picture;
    Image2 = strip.minimize;
    Image3 = strip.close;
    Panel2 = new QWidget(this);
    Panel2->setGeometry(24, 216, 121, 17);
    Panel2->setAutoFillBackground(true);
    Image4 = new ChromeButton(Panel2);
    Image4->move(0, 1);
    Image5 = new ChromeButton(Panel2);
    Image5->move(64, 1);
    connect(Image2, &ChromeButton::clicked, this, [this] {
        if (links_.minimize) links_.minimize();
    });
    connect(Image3, &ChromeButton::clicked, this, &QWidget::hide);
    connect(Image4, &ChromeButton::clicked, this, &TOptionsForm::EditClick);
    connect(Image5, &ChromeButton::clicked, this, &TOptionsForm::DeleteClick);
}

QSlider* TOptionsForm::Slider(int y, const speech::LevelRange& levels) {
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setGeometry(175, y, 150, 25);
    slider->setRange(levels.min, levels.max);
    slider->setValue(levels.initial);
    slider->setTickPosition(QSlider::NoTicks);
    return slider;
}

// Positions outside a slider's range are held at its ends, as the slider itself does.
void TOptionsForm::SetLevels(int volume, int speed, int intonation) {
    TrackBar1->setValue(volume);
    TrackBar2->setValue(speed);
    TrackBar3->setValue(intonation);
}

// Minimising and restoring the program hides and shows the window too; only the window's
// own showing and hiding load the pictures and fade the main window.
void TOptionsForm::showEvent(QShowEvent* event) {
    if (event->spontaneous()) return ChromeWindow::showEvent(event);
    WindowTheme theme = ThemeFor(*this, links_.CurrentTheme());
    ShowPicture(Image1, theme.Image("options.jpg"));
    Image1->lower();
    ShowPicture(Image6, theme.Image("background.jpg"));
    Image6->lower();
    Image2->SetImages(theme.Image("2.jpg"), theme.Image("2b.jpg"));
    Image3->SetImages(theme.Image("3.jpg"), theme.Image("3b.jpg"));
    Image4->SetImages(theme.Image("change1.jpg"), theme.Image("change2.jpg"));
    Image5->SetImages(theme.Image("erase1.jpg"), theme.Image("erase2.jpg"));
    Image4->adjustSize();
    Image5->adjustSize();
    QPalette palette = Panel2->palette();
    palette.setColor(QPalette::Window, theme.Color());
    Panel2->setPalette(palette);
    if (!ProfilesListed && links_.welcome) {
        for (const std::string& name : links_.welcome->Users()) ListBox1->addItem(Qt1250(name));
        ProfilesListed = true;
    }
    if (links_.main) {
        links_.main->StartFade(false);
        links_.main->SetMainEnabled(false);
    }
    CentreOnScreen();
    ChromeWindow::showEvent(event);
}

void TOptionsForm::hideEvent(QHideEvent* event) {
    if (links_.main && !event->spontaneous()) {
        links_.main->StartFade(true);
        links_.main->SetMainEnabled(true);
    }
    ChromeWindow::hideEvent(event);
}

std::string TOptionsForm::SelectedAccount() const {
    QListWidgetItem* item = ListBox1->currentItem();
    if (!item || !item->isSelected()) return {};
    return From1250(item->text());
}

bool TOptionsForm::SignedInMale() const {
    return links_.talk ? links_.talk->Profile().male : true;
}

void TOptionsForm::Show(const std::string& title, const std::string& message) {
    if (links_.warning) links_.warning->ShowMessageDialog(title, message, false);
}

void TOptionsForm::EditClick() {
    std::string name = SelectedAccount();
    if (name.empty()) {
        Show(TitleInformation(), MessageChooseAccount(false, SignedInMale()));
        return;
    }
    if (links_.registration) links_.registration->OpenProfileForEdit(name);
}

void TOptionsForm::DeleteClick() {
    std::string name = SelectedAccount();
    if (name.empty()) {
        Show(TitleInformation(), MessageChooseAccount(true, SignedInMale()));
        return;
    }
    if (links_.talk && name == links_.talk->Profile().name) {
        Show(TitleAlert(), MessageCannotDeleteSignedIn());
        return;
    }
    DeleteAccount(name);
}

// The question waits while the rest of the program keeps handling its events.
void TOptionsForm::DeleteAccount(const std::string& name) {
    setEnabled(false);
    bool yes = links_.warning &&
               links_.warning->AskQuestion(TitleConfirmation(), QuestionDeleteUser(name));
    setEnabled(true);
    if (!yes) return;
    base::Status deleted = links_.store->DeleteProfile(name);
    if (!deleted.ok()) {
        Show(deleted.error().title, deleted.message());
        return;
    }
    for (int i = ListBox1->count() - 1; i >= 0; --i)
        if (From1250(ListBox1->item(i)->text()) == name) delete ListBox1->takeItem(i);
    if (links_.welcome) links_.welcome->RemoveUser(name);
}

void TOptionsForm::RenameAccount(const std::string& oldName, const std::string& newName) {
    for (int i = 0; i < ListBox1->count(); ++i)
        if (From1250(ListBox1->item(i)->text()) == oldName) ListBox1->item(i)->setText(Qt1250(newName));
}

std::vector<std::string> TOptionsForm::Accounts() const {
    std::vector<std::string> names;
    for (int i = 0; i < ListBox1->count(); ++i) names.push_back(From1250(ListBox1->item(i)->text()));
    return names;
}

}  // namespace tamzel::profiles
