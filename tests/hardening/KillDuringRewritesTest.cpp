// Kills a process at random moments while it keeps changing a user's memory, adding users
// to the list and storing the mood, 300 times. After every kill and the next start the
// memory file, the user list and user.dat each hold exactly the content of one moment (old
// or new, never a mix, never empty), every listed user has complete profile files, and no
// temporary file is left anywhere.
#include <signal.h>

#include <random>

// Test of engine internals.
#include "engine/internal/EngineCore.h"
#include "HardeningSupport.h"
#include "base/Lines.h"
#include "profiles/ProfileFiles.h"
#include "profiles/ProfileStore.h"
#include "ui/FolderLock.h"

namespace tamzel::hardening {
namespace {

using profiles::ProfileStore;

const std::vector<std::string> kMemoryLines = {"[DUZ]", "OBJECT(user)", "->", "<-",
                                               "OBJECT(pes)", "->", "meno:Dunco", "<-"};

void StartingState() {
    std::filesystem::remove_all("users");
    std::filesystem::remove_all("ai");
    std::filesystem::create_directories("ai");
    Put("users/user.lst", base::JoinLines({"Jan"}));
    Put("users/_Jan/user.dat", profiles::FormatUserData({"Jan", "Jano", true, 0}));
    Put("users/_Jan/user.cfg", profiles::FormatUserConfig({}));
    Put("users/_Jan/user.mem", base::JoinLines(kMemoryLines));
}

[[noreturn]] void KeepRewriting() {
    engine::EngineCore e;
    e.UserName = "Jan";
    ProfileStore store(".");
    for (int i = 0;; ++i) {
        std::string n = std::to_string(i);
        e.AddMemoryValue("pes,meno,R" + n);
        // Killed at a random moment: what counts is what the files hold afterwards.
        (void)store.CreateProfile("U" + n, "U" + n, true, true);
        (void)store.StoreUserData({"Jan", "Jano", true, 100 + i});
    }
}

// The memory file after the first k additions (k = 0: the starting file).
std::string MemoryAfter(int k) {
    std::vector<std::string> lines = kMemoryLines;
    for (int i = 0; i < k; ++i) lines[6] += ";R" + std::to_string(i);
    return base::JoinLines(lines);
}

// How many additions the memory file shows, or -1 when it is no moment's content.
int MemoryMoment(const std::string& content) {
    size_t at = content.find("meno:Dunco");
    if (at == std::string::npos) return -1;
    size_t end = content.find("\r\n", at);
    std::string items = content.substr(at, end == std::string::npos ? 0 : end - at);
    int k = static_cast<int>(std::count(items.begin(), items.end(), ';'));
    return MemoryAfter(k) == content ? k : -1;
}

// The number of users added, or -1 when the list is not a moment's list.
int ListMoment(const std::string& content) {
    std::vector<std::string> lines = {"Jan"};
    for (int k = 0; k < 100000; ++k) {
        std::string expected = base::JoinLines(lines);
        if (expected == content) return k;
        if (expected.size() >= content.size()) return -1;
        lines.push_back("U" + std::to_string(k));
    }
    return -1;
}

std::string CheckAfterKill() {
    int memory = MemoryMoment(Get("users/_Jan/user.mem"));
    if (memory < 0) return "user.mem: " + Get("users/_Jan/user.mem");
    std::string list = Get("users/user.lst");
    int users = ListMoment(list);
    if (users < 0) return "user.lst: " + list;
    for (int k = 0; k < users; ++k) {
        std::string folder = "users/_U" + std::to_string(k) + "/";
        if (!profiles::ParseUserData(Get(folder + "user.dat"), "user.dat") ||
            !profiles::ParseUserConfig(Get(folder + "user.cfg"), "user.cfg") ||
            Get(folder + "user.mem") != profiles::NewMemoryFile())
            return "incomplete profile of listed user U" + std::to_string(k);
    }
    auto data = profiles::ParseUserData(Get("users/_Jan/user.dat"), "user.dat");
    if (!data || data->name != "Jan") return "user.dat: " + Get("users/_Jan/user.dat");
    return "";
}

std::vector<std::string> TempFilesBelow(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (base::IsTempFileName(entry.path().filename().string()) ||
            entry.path().filename() == "help.mem")
            found.push_back(entry.path().string());
    return found;
}

// What the next start does before anything else: take the folder and clear what the
// killed run left.
void NextStart() {
    ui::FolderLock lock;
    ASSERT_EQ(lock.Acquire("test"), ui::FolderLock::Outcome::Held);
}

TEST(KillDuringRewrites, EveryFileIsOldOrNewAndNoTempFileStaysAfterEachOf300Kills) {
    constexpr int kKills = 300;
    ScratchFolder folder;
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> delayMicros(0, 40000);
    int movedOn = 0;  // kills after which at least one change had been made
    int leftTemp = 0;  // kills that left a temporary file for the next start to clear
    for (int kill = 0; kill < kKills; ++kill) {
        StartingState();
        std::fflush(nullptr);
        pid_t pid = ::fork();
        if (pid == 0) KeepRewriting();
        ::usleep(static_cast<useconds_t>(delayMicros(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the rewriting child ended by itself";
        if (!TempFilesBelow(".").empty()) ++leftTemp;
        NextStart();
        EXPECT_EQ(TempFilesBelow("."), std::vector<std::string>{}) << "after kill " << kill;
        std::string problem = CheckAfterKill();
        ASSERT_EQ(problem, "") << "after kill " << kill;
        if (MemoryMoment(Get("users/_Jan/user.mem")) > 0) ++movedOn;
    }
    // The kills must land while work is going on, not all before the first write.
    EXPECT_GT(movedOn, 50);
    EXPECT_GT(leftTemp, 0) << "no kill landed inside a write";
    std::fprintf(stderr, "%d kills, %d after a change, %d left temporary files\n", kKills, movedOn,
                 leftTemp);
}

}  // namespace
}  // namespace tamzel::hardening
