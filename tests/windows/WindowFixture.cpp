#include "WindowFixture.h"

#include <QFile>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "base/Codepage.h"

namespace tamzel::profiles::testing {

namespace {
// The offscreen platform cannot shape or raise windows and says so at every show.
void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.startsWith("This plugin does not support")) return;
    if (type != QtDebugMsg) fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

QApplication& App() {
    qInstallMessageHandler(QuietHandler);
    static int argc = 1;
    static char name[] = "window_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing it down among the toolkit's own exit handlers crashes.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
}  // namespace

void WindowTest::SetUp() {
    App();
    ASSERT_TRUE(dir.isValid());
    previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QDir().mkpath("users");
    QDir().mkpath("design/interface");
    Write("design/interface.thm", "  4602938 dark\r\n");
    // The pictures of the default theme, as a program folder holds them: a missing one is
    // reported, and tests that are not about the theme must not see that message.
    const QString pictures = QString::fromUtf8(TAMZEL_TEST_SOURCE_DIR "/data/design/interface");
    for (const QString& name : QDir(pictures).entryList({"*.jpg"}, QDir::Files))
        QFile::copy(pictures + "/" + name, "design/interface/" + name);
    store = std::make_unique<ProfileStore>(".");
    links.store = store.get();
    links.main = &main;
    links.talk = &talk;
    links.theme = [this] { return main.theme; };
    links.playWave = [this](const std::string& path) { sounds.push_back(path); };
    welcome = std::make_unique<TWelcomeForm>(links);
    links.welcome = welcome.get();
    options = std::make_unique<TOptionsForm>(links);
    links.options = options.get();
    warning = std::make_unique<TWarningForm>(links);
    links.warning = warning.get();
    registration = std::make_unique<TRegisterForm>(links);
    links.registration = registration.get();
}

void WindowTest::TearDown() {
    links = ProfileLinks{};
    registration.reset();
    warning.reset();
    options.reset();
    welcome.reset();
    QDir::setCurrent(previous);
}

std::string WindowTest::Path(const std::string& relative) const {
    return dir.path().toStdString() + "/" + base::ToUtf8(relative);
}

std::string WindowTest::Read(const std::string& relative) const {
    std::ifstream in(Path(relative), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WindowTest::Write(const std::string& relative, const std::string& text) {
    std::ofstream(Path(relative), std::ios::binary) << text;
}

bool WindowTest::Exists(const std::string& relative) const {
    return QFile::exists(QString::fromStdString(Path(relative)));
}

void WindowTest::AddUser(const char* utf8Name, bool male) {
    std::string name = base::Cp1250(utf8Name);
    ASSERT_TRUE(store->CreateProfile(name, name, male, male).ok()) << utf8Name;
}

std::string WindowTest::Title() const { return From1250(warning->Label1->text()); }

std::string WindowTest::Text() const {
    return From1250(warning->Memo1->toPlainText().replace('\n', '\\'));
}

void WindowTest::ShowWelcome(const std::string& login) {
    welcome->loginName = login;
    welcome->loginNameFixed = true;
    welcome->show();
}

}  // namespace tamzel::profiles::testing
