// The start window (TWelcomeForm), the program's first window: it picks the theme for the
// run from users/tamzel.ini, lists the users with "Nový užívateľ" first, silently creates
// the profile of the login name, preselects the last user (or, with Autolog, the login
// name's profile), and signs the chosen user in: user.dat into the engine's profile values,
// user.cfg into the main window's switches and the settings sliders, then it hides itself
// and shows the main window. Profile file problems are shown in the message dialog with
// the file's name; the window stays as it was.
#pragma once

#include <QComboBox>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "profiles/windows/ProfileLinks.h"
#include "chrome/WindowChrome.h"

namespace tamzel::profiles {

class TWelcomeForm : public ChromeWindow {
    Q_OBJECT
public:
    explicit TWelcomeForm(ProfileLinks& links, QWidget* parent = nullptr);

    // The steps done at show (theme, list, login profile, preselection); the program calls
    // it itself when it signs a user in without showing this window.
    void PrepareStart();
    // Signs in the user selected in ComboBox1. True when the main window was shown.
    bool SignIn();
    // `tamzel --user NAME`: prepare, create NAME quietly when new, select and sign in.
    bool SignInDirect(const std::string& name);

    // Called by the registration window.
    void ProfileCreated(const std::string& name);
    void RegistrationHidden();
    void RenameUser(const std::string& oldName, const std::string& newName);
    void RemoveUser(const std::string& name);
    // The users of ComboBox1 after "Nový užívateľ" (Windows-1250).
    std::vector<std::string> Users() const;

    void ComboBox1Change(int index);
    void StartFade(bool fadeIn);
    void Timer1Timer();

    std::string loginName;  // set at show from the password database; tests override it
    bool loginNameFixed = false;
    // The profiles created since the start window was shown: only their users are greeted
    // as new, once, at their sign-in (Windows-1250 names).
    std::vector<std::string> createdThisStart;
    bool fadeActive = false;
    bool fadeIn = false;
    int opacity = 255;
    WindowTheme theme;  // the theme chosen for this run

    QLabel* Image1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    ChromeButton* Image2 = nullptr;  // sign in
    QWidget* Panel1 = nullptr;
    QLabel* Image5 = nullptr;
    ChromeButton* Image3 = nullptr;  // minimise
    ChromeButton* Image4 = nullptr;  // close
    QTimer* Timer1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The theme named in tamzel.ini (or the default); a problem with it, Windows-1250.
    std::string OpenStartTheme(const StartSettings& ini);
    void LoadThemePictures(const std::string& themeProblem);
    void FillUserList(const StartSettings& ini);
    void CreateLoginProfile();
    void Problem(const std::string& message);
    void SetOpacity(int value);

    ProfileLinks& links_;
    std::optional<size_t> preselection_;
    bool signingIn_ = false;
};

}  // namespace tamzel::profiles
