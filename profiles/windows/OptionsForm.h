// The settings window (TOptionsForm): the three speech sliders, whose positions are the
// live settings speech reads for every unit (ranges in speech/text/SpeechLevels.h), and
// the accounts of the installation, filled once per run from the start window's list.
// Accounts are opened for editing (button or double-click) or deleted after
// the "Potvrdenie" question; the signed-in user's own account cannot be deleted. While the
// window is shown the main window is disabled and faded out.
#pragma once

#include <QListWidget>
#include <QSlider>
#include <string>

#include "profiles/windows/ProfileLinks.h"
#include "chrome/WindowChrome.h"
#include "speech/text/SpeechLevels.h"
#include "chrome/Ports.h"

namespace tamzel::profiles {

class TOptionsForm : public ChromeWindow, public ui::SettingsPort {
    Q_OBJECT
public:
    explicit TOptionsForm(ProfileLinks& links, QWidget* parent = nullptr);

    // ui::SettingsPort
    int Volume() const override { return TrackBar1->value(); }
    int Speed() const override { return TrackBar2->value(); }
    int Intonation() const override { return TrackBar3->value(); }
    void SetLevels(int volume, int speed, int intonation) override;
    void ShowSettings() override { show(); }

    void EditClick();
    void DeleteClick();
    void RenameAccount(const std::string& oldName, const std::string& newName);
    std::vector<std::string> Accounts() const;

    bool ProfilesListed = false;

    QLabel* Image1 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QSlider* TrackBar2 = nullptr;
    QSlider* TrackBar3 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* Image6 = nullptr;
    ChromeButton* Image2 = nullptr;  // minimise
    ChromeButton* Image3 = nullptr;  // close
    QWidget* Panel2 = nullptr;
    ChromeButton* Image4 = nullptr;  // edit
    ChromeButton* Image5 = nullptr;  // delete

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QSlider* Slider(int y, const speech::LevelRange& levels);
    std::string SelectedAccount() const;
    bool SignedInMale() const;
    void DeleteAccount(const std::string& name);
    void Show(const std::string& title, const std::string& message);

    ProfileLinks& links_;
};

}  // namespace tamzel::profiles
