// The registration window (TRegisterForm): creates a profile (name, pronunciation, gender)
// for the start window, and edits an existing one for the settings window (EditMode 1).
// CreateProfile holds the checks and the file writing; refused input shows exactly one
// message in the themed dialog and writes nothing. Enter in any field accepts; the close
// button writes nothing. Renaming to a name that already belongs to another user (also
// when it differs only in letter case or diacritics) is refused and touches nothing.
#pragma once

#include <QLineEdit>
#include <QRadioButton>
#include <string>

#include "profiles/windows/ProfileLinks.h"
#include "chrome/WindowChrome.h"

namespace tamzel::profiles {

class TRegisterForm : public ChromeWindow {
    Q_OBJECT
public:
    explicit TRegisterForm(ProfileLinks& links, QWidget* parent = nullptr);

    // Texts are Windows-1250. True when the profile was written. `quiet`: no messages.
    bool CreateProfile(const std::string& name, const std::string& pronunciation, bool male,
                       bool quiet);
    void AcceptRegistration();
    void OpenProfileForEdit(const std::string& name);
    // The start window's "Nový užívateľ": empty fields, "Muž", show.
    void OpenForNewProfile();
    void CloseClick();

    int EditMode = 0;
    std::string EditedName;
    std::string NewName;
    int KeptMood = 0;

    QLabel* Image1 = nullptr;
    QLabel* Caption = nullptr;  // on the theme's tab: "Nový užívateľ" or "Úprava užívateľa"
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    ChromeButton* Image2 = nullptr;  // accept
    ChromeButton* Image3 = nullptr;  // close

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show(const std::string& title, const std::string& message, bool quiet);
    void AcceptEdit();
    bool RefuseUnwritableName();
    void SetCaption(const std::string& cp1250);
    void SetOptionsEnabled(bool enabled);

    ProfileLinks& links_;
};

}  // namespace tamzel::profiles
