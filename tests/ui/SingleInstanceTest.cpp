#include "ui/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <set>

#include "tests/ui/TempFolder.h"
#include "tests/ui/TestApplication.h"

namespace tamzel::ui {
namespace {

constexpr int kWaitMs = 2000;
// Long enough for a knock on the wrong door to have arrived.
constexpr int kQuietMs = 200;

// Lets the listening side handle its connections until `done` or the time is up.
template <typename Condition>
bool ProcessUntil(Condition done, int ms = kWaitMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) QCoreApplication::processEvents();
    return done();
}

TEST(InstanceName, IsStableAndSafeAndDiffersBetweenFolders) {
    const QStringList folders = {
        "/usr/lib/tamzel", "/home/peter/.local/share/tamzel", "/home/peter/tamzel",
        "/home/mária/môj program", "/", "", "/tmp/a\\b:c*d?", QString(500, 'x'),
    };
    const QRegularExpression safe("^tamzel-[0-9a-f]{16}$");
    std::set<QString> names;
    for (const QString& folder : folders) {
        QString name = InstanceName(folder);
        EXPECT_TRUE(safe.match(name).hasMatch()) << name.toStdString();
        EXPECT_EQ(InstanceName(folder), name) << folder.toStdString();
        names.insert(name);
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(folders.size()));
}

class SingleInstanceTest : public ::testing::Test {
protected:
    SingleInstanceTest() { testing::TestApp(); }

    // A name of this test's own, so that runs of the tests side by side do not meet.
    QString Name(const char* folder = "tamzel") const {
        return InstanceName(QString::fromStdString(temp_.path()) + "/" + folder);
    }

    testing::TempFolder temp_;
};

TEST_F(SingleInstanceTest, TheFirstStartFindsNobodyAndListens) {
    SingleInstance first(Name());
    EXPECT_FALSE(first.OtherInstanceRaised());
    EXPECT_TRUE(first.Listen([] {}));
}

TEST_F(SingleInstanceTest, ASecondStartRaisesTheFirstOnceForEachStart) {
    SingleInstance first(Name());
    int raised = 0;
    ASSERT_TRUE(first.Listen([&] { ++raised; }));
    for (int start = 1; start <= 3; ++start) {
        SingleInstance later(Name());
        EXPECT_TRUE(later.OtherInstanceRaised()) << start;
        EXPECT_TRUE(ProcessUntil([&] { return raised == start; })) << start;
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(raised, 3);
}

TEST_F(SingleInstanceTest, AProgramInAnotherFolderIsNotDisturbed) {
    SingleInstance first(Name("jeden"));
    bool raised = false;
    ASSERT_TRUE(first.Listen([&] { raised = true; }));
    SingleInstance other(Name("druhy"));
    EXPECT_FALSE(other.OtherInstanceRaised());
    EXPECT_TRUE(other.Listen([] {}));
    ProcessUntil([] { return false; }, kQuietMs);
    EXPECT_FALSE(raised);
}

TEST_F(SingleInstanceTest, AfterTheFirstEndsTheNextStartRunsOnItsOwn) {
    auto first = std::make_unique<SingleInstance>(Name());
    ASSERT_TRUE(first->Listen([] {}));
    first.reset();
    SingleInstance next(Name());
    EXPECT_FALSE(next.OtherInstanceRaised());
    bool raised = false;
    EXPECT_TRUE(next.Listen([&] { raised = true; }));
    SingleInstance later(Name());
    EXPECT_TRUE(later.OtherInstanceRaised());
    EXPECT_TRUE(ProcessUntil([&] { return raised; }));
}

// A crashed instance leaves its socket file behind; nobody answers on it, and it must not
// keep the next start from listening, or every later start would run beside it.
TEST_F(SingleInstanceTest, ASocketLeftByACrashedInstanceDoesNotBlockTheName) {
    QString name = Name();
    std::string path = (QDir::tempPath() + "/" + name).toStdString();
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
    ::close(fd);  // ends without removing the file, as a crash would

    SingleInstance next(name);
    EXPECT_FALSE(next.OtherInstanceRaised());
    bool raised = false;
    ASSERT_TRUE(next.Listen([&] { raised = true; }));
    SingleInstance later(name);
    EXPECT_TRUE(later.OtherInstanceRaised());
    EXPECT_TRUE(ProcessUntil([&] { return raised; }));
}

}  // namespace
}  // namespace tamzel::ui
