// Kills a process at random moments while it rewrites the user list and profile files, and
// checks that every file is afterwards either entirely old or entirely new, and that no
// profile loses its memory.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <set>

#include "TestFolder.h"
#include "base/Lines.h"
#include "profiles/ProfileStore.h"

namespace tamzel::profiles {
namespace {

namespace fs = std::filesystem;
using testing::TestFolder;

const std::string kMemory = base::JoinLines({"[DUZ]", "OBJECT(user)", "->", "pes:Dunco;Rex", "<-"});
const std::string kConfig = FormatUserConfig({false, true, true, false, 300, 70, 9});
const std::string kList = base::JoinLines({"Adam", "Jan", "Eva"});

enum class Operation { Rename, Shutdown, Create, Delete };

// Plain writes for the starting state: it is rebuilt for every kill, so no need to flush.
void Put(const std::string& path, const std::string& content) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

void BuildStartingState(const std::string& root) {
    fs::remove_all(root + "/users");
    Put(root + "/users/user.lst", kList);
    for (const char* name : {"Adam", "Jan", "Eva"}) {
        std::string folder = root + "/users/_" + name;
        Put(folder + "/user.dat", FormatUserData({name, name, true, 4}));
        Put(folder + "/user.cfg", kConfig);
        Put(folder + "/user.mem", kMemory);
    }
}

void RunOperation(Operation op, const std::string& root) {
    ProfileStore store(root);
    // The operation is killed part-way; the checks read the files, not its result.
    switch (op) {
        case Operation::Rename: (void)store.EditProfile("Jan", "Juraj", "Juro", true, true); break;
        case Operation::Shutdown:
            (void)store.StoreAtShutdown({false, "Jan", "x.thm"}, {"Jan", "Jano", true, 15}, {});
            break;
        case Operation::Create: (void)store.CreateProfile("Ivo", "Ivo", true, true); break;
        case Operation::Delete: (void)store.DeleteProfile("Eva"); break;
    }
}

std::string Read(const std::string& path) {
    std::string text;
    return base::ReadWholeFile(path, text) ? text : "<missing>";
}

// Both outcomes of one file, or the one content it must keep.
void ExpectOneOf(const std::string& path, std::set<std::string> allowed, const char* what) {
    EXPECT_TRUE(allowed.count(Read(path))) << what << ": " << path << " holds\n" << Read(path);
}

void CheckInvariants(Operation op, const std::string& root) {
    const std::string users = root + "/users/";
    // A profile that is not touched keeps everything.
    ExpectOneOf(users + "_Adam/user.mem", {kMemory}, "untouched memory");
    switch (op) {
        case Operation::Rename: {
            ExpectOneOf(users + "user.lst", {kList, base::JoinLines({"Adam", "Juraj", "Eva"})}, "list");
            bool moved = fs::exists(users + "_Juraj");
            std::string folder = users + (moved ? "_Juraj/" : "_Jan/");
            EXPECT_NE(fs::exists(users + "_Jan"), moved) << "exactly one folder";
            ExpectOneOf(folder + "user.mem", {kMemory}, "moved memory");
            ExpectOneOf(folder + "user.cfg", {kConfig}, "moved settings");
            ExpectOneOf(folder + "user.dat", {FormatUserData({"Jan", "Jan", true, 4}),
                                              FormatUserData({"Juraj", "Juro", true, 4})},
                        "renamed identity");
            break;
        }
        case Operation::Shutdown:
            ExpectOneOf(users + "_Jan/user.dat", {FormatUserData({"Jan", "Jan", true, 4}),
                                                  FormatUserData({"Jan", "Jano", true, 5})},
                        "blended mood");
            ExpectOneOf(users + "_Jan/user.cfg", {kConfig, FormatUserConfig({})}, "settings");
            ExpectOneOf(users + "tamzel.ini",
                        {"<missing>", FormatStartSettings({false, "Jan", "x.thm"})}, "ini");
            ExpectOneOf(users + "_Jan/user.mem", {kMemory}, "memory");
            break;
        case Operation::Create: {
            std::string grown = base::JoinLines({"Adam", "Jan", "Eva", "Ivo"});
            ExpectOneOf(users + "user.lst", {kList, grown}, "list");
            if (Read(users + "user.lst") == grown)
                ExpectOneOf(users + "_Ivo/user.mem", {NewMemoryFile()}, "listed user's memory");
            break;
        }
        case Operation::Delete: {
            ExpectOneOf(users + "user.lst", {kList, base::JoinLines({"Adam", "Jan"})}, "list");
            if (Read(users + "user.lst") == kList)
                ExpectOneOf(users + "_Eva/user.mem", {kMemory}, "listed user's memory");
            break;
        }
    }
}

// How long one operation takes here, so the kills spread over its whole run.
std::chrono::microseconds MeasureDuration(Operation op, const std::string& root) {
    BuildStartingState(root);
    auto start = std::chrono::steady_clock::now();
    RunOperation(op, root);
    return std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
}

TEST(KillDuringRewrite, EveryFileIsOldOrNewAndNoMemoryIsLost) {
    TestFolder folder;
    const Operation ops[] = {Operation::Rename, Operation::Shutdown, Operation::Create,
                             Operation::Delete};
    std::chrono::microseconds durations[4];
    for (int i = 0; i < 4; ++i) durations[i] = MeasureDuration(ops[i], folder.path());

    std::mt19937 random(20261208);
    int killed = 0, finished = 0;
    for (int round = 0; round < 240 && !HasFailure(); ++round) {
        int which = round % 4;
        BuildStartingState(folder.path());
        // Up to 1.5 times the measured length, plus the start-up of the child.
        std::uniform_int_distribution<long> delay(0, durations[which].count() * 3 / 2 + 500);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RunOperation(ops[which], folder.path());
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        (WIFSIGNALED(status) ? killed : finished)++;
        SCOPED_TRACE("round " + std::to_string(round));
        CheckInvariants(ops[which], folder.path());
    }
    // The test means something only when most processes really died half way.
    EXPECT_GE(killed, 100) << finished << " finished";
}

}  // namespace
}  // namespace tamzel::profiles
