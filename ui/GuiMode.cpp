// The desktop program: one instance per program folder, the sign-in of the user named on the
// command line (or the login name), the main window with the engine and speech output, and
// the event loop. The start, registration and settings windows plug in here later.
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QScreen>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

#include "engine/Codepage.h"
#include "engine/Engine.h"
#include "profiles/ProfileStore.h"
#include "ui/Adapters.h"
#include "ui/FallbackPorts.h"
#include "ui/MainWindow.h"
#include "ui/Modes.h"
#include "ui/ProgramTree.h"
#include "ui/SingleInstance.h"
#include "ui/SpeechHookup.h"
#include "ui/Text.h"

namespace tamzel::ui {
namespace {

std::string LoginName() {
    if (const passwd* pw = getpwuid(getuid())) return pw->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

void Fail(MessagePort& messages, const std::string& cp1250) {
    messages.ShowMessageDialog("Chyba", cp1250);
}

// The theme of tamzel.ini, or the default one when that file is gone.
Theme StartTheme(const profiles::StartSettings& ini, MessagePort& messages) {
    Theme theme;
    std::string path = engine::ToUtf8(ini.theme);
    if (!QFile::exists(QString::fromStdString(path))) path = kDefaultThemeFile;
    std::string problem = OpenTheme(path, theme);
    if (!problem.empty()) Fail(messages, engine::FromUtf8Lossy(problem));
    return theme;
}

void CentreOnScreen(QWidget& window) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
    }
}

}  // namespace

int RunGui(int argc, char** argv, const CommandLine& cl) {
    QApplication app(argc, argv);
    app.setApplicationName("tamzel");
    PlainMessages messages;

    std::string treeProblem;
    std::string folder = WritableProgramFolder(QDir::currentPath().toStdString(), treeProblem);
    if (!treeProblem.empty()) std::fprintf(stderr, "%s\n", treeProblem.c_str());
    QDir::setCurrent(QString::fromStdString(folder));

    SingleInstance instance(InstanceName(QDir::currentPath()));
    if (instance.OtherInstanceRaised()) return 0;

    profiles::ProfileStore store(".");
    profiles::StartSettings ini = store.ReadIni();
    Theme theme = StartTheme(ini, messages);
    messages.color = ThemeQColor(theme.ThemeColor);

    // Sign-in: the named user (created quietly when new), else the login name.
    std::string name = engine::FromUtf8Lossy(cl.Get("--user").value_or(LoginName()));
    bool created = false;
    if (!store.FindUser(name)) {
        store.EnsureUserList();
        created = store.CreateProfileQuietly(name);
    }
    std::optional<std::string> listed = store.FindUser(name);
    if (!listed) {
        Fail(messages, Cp("Užívateľa ") + name + Cp(" sa nepodarilo prihlásiť (neplatné meno?)."));
        return 1;
    }
    profiles::Parsed<profiles::SignInProfile> profile = store.LoadSignIn(*listed);
    if (!profile) {
        Fail(messages, profile.error);
        return 1;
    }

    engine::Engine engine;
    engine.onRunProgram = [](const std::string& path) {
        QDesktopServices::openUrl(QUrl::fromUserInput(ToQt(path), QDir::currentPath()));
    };
    EngineTalk talk(engine);
    const profiles::UserData& data = profile.value->data;
    talk.SetProfile({data.name, data.pronunciation, data.male, data.mood});
    StoredLevels levels(messages);
    ProfileShutdownStore shutdownStore(store);

    MainServices services;
    services.talk = &talk;
    services.messages = &messages;
    services.settings = &levels;
    services.store = &shutdownStore;
    services.openUrl = [](const std::string& url) {
        QString text = QString::fromStdString(url);
        QDesktopServices::openUrl(text.startsWith('/') ? QUrl::fromLocalFile(text) : QUrl(text));
    };
    services.quit = [] { QCoreApplication::quit(); };
    services.halt = [] { std::_Exit(0); };
    SpeechHookup speech(messages, levels, talk);
    services.speech = &speech.port();

    MainWindow window(services);
    speech.Attach(window);
    window.SetTheme(theme);
    std::vector<std::string> words = cl.words;
    try {
        window.FormCreate(words);
    } catch (const std::exception& e) {
        Fail(messages, e.what());
        return 1;
    }
    const profiles::UserConfig& cfg = profile.value->config;
    window.SetSwitches(cfg.records, cfg.speech, cfg.animation, cfg.infoBar,
                       created || ini.autolog);
    levels.SetLevels(cfg.volume, cfg.speed, cfg.intonation);
    instance.Listen([&window] {
        window.showNormal();
        window.raise();
        window.activateWindow();
    });
    CentreOnScreen(window);
    window.show();
    return app.exec();
}

}  // namespace tamzel::ui
