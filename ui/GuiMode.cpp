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
    explicit MainWindowLink(MainWindow& window) : window_(window) {}
    void SetSwitches(bool records, bool speech, bool animation, bool infoBar) override {
        window_.SetSwitches(records, speech, animation, infoBar, Autolog());
    }
    bool Autolog() const override { return window_.Autolog_->isChecked(); }
    void SetAutolog(bool on) override { window_.Autolog_->setChecked(on); }
    void SetTheme(const profiles::WindowTheme& theme) override {
        window_.SetTheme(Theme{theme.file, theme.folder, theme.color});
    }
    void ShowMain() override {
        CentreOnScreen(window_);
        window_.show();
        window_.raise();
        window_.activateWindow();
    }
    void StartFade(bool fadeIn) override { window_.StartFade(fadeIn); }
    void SetMainEnabled(bool enabled) override { window_.setEnabled(enabled); }

private:
    MainWindow& window_;
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

}  // namespace

int RunGui(int argc, char** argv, const CommandLine& cl) {
    Stamp("entry");
    QApplication app(argc, argv);
    app.setApplicationName("tamzel");
    Stamp("application");

    std::string treeProblem;
    std::string folder = WritableProgramFolder(QDir::currentPath().toStdString(), treeProblem);
    if (!treeProblem.empty()) std::fprintf(stderr, "%s\n", treeProblem.c_str());
    QDir::setCurrent(QString::fromStdString(folder));

    // The single-instance check comes first, as part of creating the start window.
    SingleInstance instance(InstanceName(QDir::currentPath()));
    if (instance.OtherInstanceRaised()) return 0;
    // The socket only finds another window; a console in this folder holds the lock alone.
    FolderLock lock;
    if (lock.Acquire("okno") == FolderLock::Outcome::Busy) {
        RefuseSecondStart(QDir::currentPath());
        return kExitFolderInUse;
    }

    profiles::ProfileStore store(".");
    engine::Engine engine;
    engine.hooks().onRunProgram = [](const std::string& path) {
        QDesktopServices::openUrl(QUrl::fromUserInput(ToQt(path), QDir::currentPath()));
    };
    EngineTalk talk(engine);
    ProfileShutdownStore shutdownStore(store);
    profiles::ProfileLinks links;

    profiles::TWelcomeForm welcome(links);
    MainServices services;
    services.talk = &talk;
    services.store = &shutdownStore;
    services.openUrl = OpenWithDesktop;
    services.quit = [] { QCoreApplication::quit(); };
    services.halt = [] { std::_Exit(0); };
    // The message dialog and the sliders exist only after the main window; the window
    // reaches them through these forwarding ports.
    profiles::TWarningForm* warning = nullptr;
    profiles::TOptionsForm* options = nullptr;
    struct LateMessages : MessagePort {
        profiles::TWarningForm** form;
        void ShowMessageDialog(const std::string& t, const std::string& x) override {
            (*form)->ShowMessageDialog(t, x);
        }
        bool AskQuestion(const std::string& t, const std::string& x) override {
            return (*form)->AskQuestion(t, x);
        }
    } messages;
    messages.form = &warning;
    struct LateSettings : SettingsPort {
        profiles::TOptionsForm** form;
        int Volume() const override { return (*form)->Volume(); }
        int Speed() const override { return (*form)->Speed(); }
        int Intonation() const override { return (*form)->Intonation(); }
        void SetLevels(int v, int s, int i) override { (*form)->SetLevels(v, s, i); }
        void ShowSettings() override { (*form)->ShowSettings(); }
    } settings;
    settings.form = &options;
    services.messages = &messages;
    services.settings = &settings;
    SpeechHookup speech(messages, settings, talk);
    services.speech = &speech.port();

    MainWindow window(services);
    profiles::TOptionsForm optionsForm(links);
    profiles::TWarningForm warningForm(links);
    profiles::TRegisterForm registerForm(links);
    options = &optionsForm;
    warning = &warningForm;
    MainWindowLink mainLink(window);
    links.store = &store;
    links.main = &mainLink;
    links.talk = &talk;
    links.theme = [&window] {
        const Theme& t = window.theme();
        profiles::WindowTheme theme;
        theme.file = t.ThemeFile;
        theme.folder = t.ThemeFolder;
        theme.color = t.ThemeColor;
        theme.load = [](const std::string& path) { return LoadJpeg(path); };
        return theme;
    };
    links.playWave = [&speech](const std::string& path) { speech.port().PlayWaveFile(path); };
    links.quit = [] { QCoreApplication::quit(); };
    links.minimize = [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible()) w->showMinimized();
        }
    };
    links.welcome = &welcome;
    links.options = &optionsForm;
    links.warning = &warningForm;
    links.registration = &registerForm;

    speech.Attach(window);
    Stamp("windows created");
    base::Status created;
    try {
        created = window.FormCreate(cl.words);
    } catch (const std::exception& e) {
        created = base::Fail(e.what());
    }
    if (!created) {
        std::fprintf(stderr, "%s\n", ToQt(created.message()).toLocal8Bit().constData());
        return 1;
    }
    Stamp("main window created");
    instance.Listen([&window, &welcome] {
        QWidget* front = window.isVisible() ? static_cast<QWidget*>(&window) : &welcome;
        front->showNormal();
        front->raise();
        front->activateWindow();
    });
    // Ending the session or a termination request stores everything like "Ukonči"; before
    // anyone is signed in there is nothing to store.
    auto orderlyEnd = [&window] {
        if (window.isVisible()) window.SaveAndQuit();
        else QCoreApplication::quit();
    };
    CatchTermination(&app, orderlyEnd);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, orderlyEnd);
    std::optional<std::string> user = cl.Get("--user");
    if (!user || !welcome.SignInDirect(base::FromUtf8Lossy(*user))) {
        CentreOnScreen(welcome);
        welcome.show();
    }
    return app.exec();
}

}  // namespace tamzel::ui
