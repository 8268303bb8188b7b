// The desktop program: one instance per program folder, the five windows created in their
// order (start window, main window, settings window, message dialog, registration window),
// sign-in through the start window or directly with --user NAME, and the event loop.
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QSocketNotifier>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "base/Codepage.h"
#include "engine/Engine.h"
#include "profiles/ProfileStore.h"
#include "profiles/windows/OptionsForm.h"
#include "profiles/windows/ProfileLinks.h"
#include "profiles/windows/RegisterForm.h"
#include "profiles/windows/WarningForm.h"
#include "profiles/windows/WelcomeForm.h"
#include "ui/Adapters.h"
#include "ui/FolderLock.h"
#include "ui/MainWindow.h"
#include "ui/Modes.h"
#include "ui/ProgramTree.h"
#include "ui/QtLanguage.h"
#include "ui/SingleInstance.h"
#include "ui/SpeechHookup.h"
#include "ui/Text.h"

namespace tamzel::ui {
namespace {

// With TAMZEL_TIMING set, start-up phases are stamped on standard error.
void Stamp(const char* phase) {
    static const bool on = qEnvironmentVariableIsSet("TAMZEL_TIMING");
    if (!on) return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::fprintf(stderr, "tamzel: %s at %lld\n", phase,
                 static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
}

void CentreOnScreen(QWidget& window) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
    }
}

// What the start, settings and registration windows do to the main window.
class MainWindowLink : public profiles::MainLink {
public:
    MainWindowLink(MainWindow& window, std::function<void()> themeChosen)
        : window_(window), themeChosen_(std::move(themeChosen)) {}
    void SetSwitches(bool records, bool speech, bool animation, bool infoBar) override {
        window_.SetSwitches(records, speech, animation, infoBar, Autolog());
    }
    bool Autolog() const override { return window_.Autolog_->isChecked(); }
    void SetAutolog(bool on) override { window_.Autolog_->setChecked(on); }
    void SetTheme(const profiles::WindowTheme& theme) override {
        window_.SetTheme(Theme{theme.file, theme.folder, theme.color});
        if (themeChosen_) themeChosen_();
    }
    void ShowMain() override {
        CentreOnScreen(window_);
        window_.show();
        window_.raise();
        window_.activateWindow();
    }
    void StartFade(bool fadeIn) override { window_.StartFade(fadeIn); }
    void SetMainEnabled(bool enabled) override { window_.SetDimmed(!enabled); }

private:
    MainWindow& window_;
    std::function<void()> themeChosen_;
};

// SIGTERM and SIGHUP (the session ending, `kill`) reach the event loop through a socket pair,
// so that the shutdown sequence runs on the user-interface thread.
int signalPipe[2] = {-1, -1};

void OnTerminate(int) {
    char byte = 1;
    ssize_t written = write(signalPipe[1], &byte, 1);
    (void)written;
}

void CatchTermination(QObject* owner, std::function<void()> onTerminate) {
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [notifier, onTerminate] {
        char byte = 0;
        ssize_t got = read(signalPipe[0], &byte, 1);
        (void)got;
        notifier->setEnabled(false);
        onTerminate();
    });
    struct sigaction action {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

void OpenWithDesktop(const std::string& target) {
    QString text = QString::fromStdString(target);
    QDesktopServices::openUrl(text.startsWith('/') ? QUrl::fromLocalFile(text) : QUrl(text));
}

// Says why the program does not start: on standard error for a terminal, in a message
// box for the desktop.
void RefuseSecondStart(const QString& folder) {
    QString text = QString::fromStdString(MessageAlreadyRunning(folder.toStdString()));
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    QMessageBox::warning(nullptr, "Tamzel", text);
}

// The program runs in a writable copy of its folder (see WritableProgramFolder).
void EnterProgramFolder() {
    std::string treeProblem;
    std::string folder = WritableProgramFolder(QDir::currentPath().toStdString(), treeProblem);
    if (!treeProblem.empty()) std::fprintf(stderr, "%s\n", treeProblem.c_str());
    QDir::setCurrent(QString::fromStdString(folder));
}

// The socket only finds another window; a console in this folder holds the lock alone.
// False (and the user told why) when the folder is in use.
bool LockFolder(FolderLock& lock) {
    if (lock.Acquire("okno") != FolderLock::Outcome::Busy) return true;
    RefuseSecondStart(QDir::currentPath());
    return false;
}

// The brain's command to run a program or open a document.
void OpenFromBrain(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromUserInput(ToQt(path), QDir::currentPath()));
}

// The message dialog and the sliders exist only after the main window; the window and the
// speech reach them through these forwarding ports, pointed at the forms once they exist.
struct LateMessages : MessagePort {
    profiles::TWarningForm* form = nullptr;
    void ShowMessageDialog(const std::string& t, const std::string& x) override {
        form->ShowMessageDialog(t, x);
    }
    bool AskQuestion(const std::string& t, const std::string& x) override {
        return form->AskQuestion(t, x);
    }
};

struct LateSettings : SettingsPort {
    profiles::TOptionsForm* form = nullptr;
    int Volume() const override { return form->Volume(); }
    int Speed() const override { return form->Speed(); }
    int Intonation() const override { return form->Intonation(); }
    void SetLevels(int v, int s, int i) override { form->SetLevels(v, s, i); }
    void ShowSettings() override { form->ShowSettings(); }
};

MainServices MainServicesFor(TalkPort& talk, ShutdownStore& store, MessagePort& messages,
                             SettingsPort& settings, SpeechHookup& speech) {
    MainServices services;
    services.talk = &talk;
    services.store = &store;
    services.openUrl = OpenWithDesktop;
    services.quit = [] { QCoreApplication::quit(); };
    services.halt = [] { std::_Exit(0); };
    services.messages = &messages;
    services.settings = &settings;
    services.speech = &speech.port();
    return services;
}

// What the profile windows reach through their links, and the windows themselves.
struct LinkedParts {
    profiles::ProfileStore& store;
    profiles::MainLink& main;
    TalkPort& talk;
    MainWindow& window;
    SpeechHookup& speech;
};

struct ProfileWindows {
    profiles::TWelcomeForm& welcome;
    profiles::TOptionsForm& options;
    profiles::TWarningForm& warning;
    profiles::TRegisterForm& registration;
};

// The current theme of the main window as the profile windows see it.
profiles::WindowTheme ProfileWindowTheme(const MainWindow& window) {
    const Theme& t = window.theme();
    profiles::WindowTheme theme;
    theme.file = t.ThemeFile;
    theme.folder = t.ThemeFolder;
    theme.color = t.ThemeColor;
    theme.load = [](const std::string& path) { return LoadJpeg(path); };
    return theme;
}

void MinimizeEveryWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) w->showMinimized();
    }
}

void LinkProfileWindows(profiles::ProfileLinks& links, const LinkedParts& parts,
                        const ProfileWindows& windows) {
    links.store = &parts.store;
    links.main = &parts.main;
    links.talk = &parts.talk;
    links.theme = [&window = parts.window] { return ProfileWindowTheme(window); };
    links.playWave = [&speech = parts.speech](const std::string& path) {
        speech.port().PlayWaveFile(path);
    };
    links.quit = [] { QCoreApplication::quit(); };
    links.minimize = MinimizeEveryWindow;
    links.welcome = &windows.welcome;
    links.options = &windows.options;
    links.warning = &windows.warning;
    links.registration = &windows.registration;
}

// The main window's own start; false (told on standard error) when the program cannot run.
bool CreateMainWindow(MainWindow& window, const CommandLine& cl) {
    base::Status created;
    try {
        created = window.FormCreate(cl.words);
    } catch (const std::exception& e) {
        created = base::Fail(e.what());
    }
    if (created) return true;
    std::fprintf(stderr, "%s\n", ToQt(created.message()).toLocal8Bit().constData());
    return false;
}

// A second start in this folder brings the program's front window forward instead.
void RaiseOnLaterStarts(SingleInstance& instance, MainWindow& window,
                        profiles::TWelcomeForm& welcome) {
    instance.Listen([&window, &welcome] {
        QWidget* front = window.isVisible() ? static_cast<QWidget*>(&window) : &welcome;
        front->showNormal();
        front->raise();
        front->activateWindow();
    });
}

// Ending the session or a termination request stores everything like "Ukonči"; before
// anyone is signed in there is nothing to store.
void EndInOrderOnRequest(QApplication& app, MainWindow& window) {
    auto orderlyEnd = [&window] {
        if (window.isVisible()) window.SaveAndQuit();
        else QCoreApplication::quit();
    };
    CatchTermination(&app, orderlyEnd);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, orderlyEnd);
}

// Signs in the user named with --user, else shows the start window.
void ShowStart(profiles::TWelcomeForm& welcome, const CommandLine& cl) {
    std::optional<std::string> user = cl.Get("--user");
    if (!user || !welcome.SignInDirect(base::FromUtf8Lossy(*user))) {
        CentreOnScreen(welcome);
        welcome.show();
    }
}

}  // namespace

int RunGui(int argc, char** argv, const CommandLine& cl) {
    Stamp("entry");
    QApplication app(argc, argv);
    app.setApplicationName("tamzel");
    if (!InstallToolkitSlovak(app))
        std::fprintf(stderr, "%s\n", "tamzel: chýba slovenský preklad Qt (qtbase_sk.qm z balíka "
                                  "qt6-translations-l10n); jeho dialógy budú po anglicky.");
    Stamp("application");
    EnterProgramFolder();

    // The single-instance check comes first, as part of creating the start window.
    SingleInstance instance(InstanceName(QDir::currentPath()));
    if (instance.OtherInstanceRaised()) return 0;
    FolderLock lock;
    if (!LockFolder(lock)) return kExitFolderInUse;

    profiles::ProfileStore store(".");
    engine::Engine engine;
    engine.hooks().onRunProgram = OpenFromBrain;
    EngineTalk talk(engine);
    ProfileShutdownStore shutdownStore(store);
    profiles::ProfileLinks links;

    profiles::TWelcomeForm welcome(links);
    LateMessages messages;
    HeldMessages startMessages(messages);
    LateSettings settings;
    SpeechHookup speech(startMessages, settings, talk);
    MainWindow window(MainServicesFor(talk, shutdownStore, messages, settings, speech));
    ReportEngineProblemsTo(engine, window);
    profiles::TOptionsForm optionsForm(links);
    profiles::TWarningForm warningForm(links);
    profiles::TRegisterForm registerForm(links);
    messages.form = &warningForm;
    settings.form = &optionsForm;
    MainWindowLink mainLink(window, [&startMessages] { startMessages.Release(); });
    LinkProfileWindows(links, {store, mainLink, talk, window, speech},
                       {welcome, optionsForm, warningForm, registerForm});

    speech.Attach(window);
    Stamp("windows created");
    if (!CreateMainWindow(window, cl)) return 1;
    Stamp("main window created");
    RaiseOnLaterStarts(instance, window, welcome);
    EndInOrderOnRequest(app, window);
    ShowStart(welcome, cl);
    return app.exec();
}

}  // namespace tamzel::ui
