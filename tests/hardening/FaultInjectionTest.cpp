// Fault injection: a missing or damaged brain, a full disk (a file-size limit on the child
// process, so writes really fail with the system's error), a profile folder the program may
// not write, and a missing scratch folder. Whatever fails, the conversation goes on, the
// problem is reported, and no file ends up empty or half written.
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "HardeningSupport.h"
#include "profiles/ProfileStore.h"

namespace tamzel::hardening {
namespace {

using engine::EngineCore;
using engine::IoError;
using profiles::ProfileStore;

struct Stopped {
    std::string reason;
};

const std::vector<std::string> kBrain = {"IF(1)", "?(ahoj)", "->", "-Ahoj!", "<-",
                                         "-Nerozumiem.", "<-"};
const std::string kMemory = "[DUZ]\r\nOBJECT(user)\r\n->\r\n<-\r\nOBJECT(pes)\r\n->\r\nmeno:Dunco\r\n<-\r\n";

void WireQuiet(EngineCore& e, std::vector<std::string>& problems) {
    e.hooks.onFatalStop = [](const std::string& reason) { throw Stopped{reason}; };
    e.hooks.onRunProgram = [](const std::string&) {};
    e.hooks.onMemoryProblem = [&problems](const std::string& m) { problems.push_back(m); };
    e.UserName = "Jan";
    e.keepSeed = true;
}

// --- The brain ----------------------------------------------------------------------------

enum class Outcome { Works, IoErrorAtStart, FatalAtStart, FatalAtTurn };

struct BrainFault {
    const char* name;
    std::function<void(std::string& file)> damage;  // on a valid brain file; nullptr: removed
    Outcome expected;
};

Outcome RunWithBrain(const BrainFault& fault) {
    std::string file = BrainOf(kBrain);
    if (fault.damage) {
        fault.damage(file);
        Put("ai/brainfile.ai", file);
    }
    EngineCore e;
    std::vector<std::string> problems;
    WireQuiet(e, problems);
    try {
        e.InitEngine();
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find("brainfile.ai"), std::string::npos) << error.what();
        return Outcome::IoErrorAtStart;
    } catch (const Stopped&) {
        return Outcome::FatalAtStart;
    }
    try {
        e.AnswerSentence("ahoj");
    } catch (const Stopped&) {
        return Outcome::FatalAtTurn;
    }
    return Outcome::Works;
}

TEST(BrainFaults, MissingOrDamagedBrainStopsCleanlyWithAReason) {
    const std::vector<BrainFault> faults = {
        {"intact", [](std::string&) {}, Outcome::Works},
        {"missing", nullptr, Outcome::IoErrorAtStart},
        {"empty", [](std::string& f) { f.clear(); }, Outcome::IoErrorAtStart},
        {"header only", [](std::string& f) { f.resize(engine::kBrainHeaderSize); }, Outcome::IoErrorAtStart},
        {"sums cut off", [](std::string& f) { f.resize(engine::kBrainHeaderSize + 5); }, Outcome::IoErrorAtStart},
        {"other check bytes", [](std::string& f) { f[engine::kBrainHeaderSize] ^= 0x55; }, Outcome::FatalAtStart},
        {"record byte changed", [](std::string& f) { f[engine::kBrainRecordsOffset + 4] ^= 0x01; }, Outcome::FatalAtTurn},
        {"records cut in half", [](std::string& f) { f.resize(f.size() / 2 + 28); }, Outcome::FatalAtTurn},
        {"stored sum changed", [](std::string& f) { f[engine::kBrainRecordsOffset - 1] ^= 0x10; }, Outcome::FatalAtTurn},
    };
    for (const BrainFault& fault : faults) {
        ScratchFolder folder;
        std::filesystem::create_directories("ai");
        EXPECT_EQ(RunWithBrain(fault), fault.expected) << fault.name;
    }
}

// --- Full disk ------------------------------------------------------------------------------

// Lowers the soft file-size limit so that any write past `bytes` fails with EFBIG (the
// signal it would raise is ignored), as on a disk that has just filled up.
void LimitFileSize(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

void LiftFileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// A failed write must not leave its temporary file behind, whatever its name.
bool NoTempFileIn(const std::string& folder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (base::IsTempFileName(entry.path().filename().string())) return false;
    return true;
}

#define CHILD_CHECK(cond)                                                          \
    do {                                                                           \
        if (!(cond)) {                                                             \
            std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            return __LINE__ % 200 + 1;                                             \
        }                                                                          \
    } while (0)

TEST(FullDisk, MemoryChangesStayInTheProgramAndReachTheFileWhenThereIsRoomAgain) {
    ScratchFolder folder;
    Put("users/_Jan/user.mem", kMemory);
    std::filesystem::create_directories("ai");
    int code = InChild([] {
        EngineCore e;
        std::vector<std::string> problems;
        WireQuiet(e, problems);
        LimitFileSize(16);
        e.AddMemoryValue("pes,meno,Rex");
        CHILD_CHECK(Get("users/_Jan/user.mem") == kMemory);
        CHILD_CHECK(problems.size() == 1);
        CHILD_CHECK(e.ReadMemoryValue("pes", "meno").find("Rex") != std::string::npos);
        e.AddMemoryValue("pes,farba,hneda");  // still full: the same problem is not repeated
        CHILD_CHECK(problems.size() == 1);
        CHILD_CHECK(NoTempFileIn("users/_Jan") && NoTempFileIn("ai"));
        LiftFileSizeLimit();
        e.AddMemoryValue("pes,vek,3");
        std::string written = Get("users/_Jan/user.mem");
        for (const char* value : {"Dunco", "Rex", "hneda", "vek:3"})
            CHILD_CHECK(written.find(value) != std::string::npos);
        return 0;
    });
    EXPECT_EQ(code, 0);
}

TEST(FullDisk, ProfileWritesFailWithAMessageAndKeepTheOldFiles) {
    ScratchFolder folder;
    ProfileStore setup(".");
    ASSERT_TRUE(setup.CreateProfile("Jan", "Jano", true, true).ok());
    int code = InChild([] {
        ProfileStore store(".");
        std::string list = Get("users/user.lst"), data = Get("users/_Jan/user.dat"),
                    config = Get("users/_Jan/user.cfg");
        LimitFileSize(4);
        auto shutdown = store.StoreAtShutdown({true, "Jan", "design/tmava.thm"},
                                              {"Jan", "Jano", true, 40}, {false, false, true, true, 5, 50, 2});
        CHILD_CHECK(!shutdown.ok() && !shutdown.message().empty());
        auto created = store.CreateProfile("Eva", "Eva", false, true);
        CHILD_CHECK(!created.ok() && !created.message().empty());
        CHILD_CHECK(Get("users/user.lst") == list);
        CHILD_CHECK(Get("users/_Jan/user.dat") == data);
        CHILD_CHECK(Get("users/_Jan/user.cfg") == config);
        CHILD_CHECK(Get("users/tamzel.ini") == "<missing>");
        LiftFileSizeLimit();
        CHILD_CHECK(store.CreateProfile("Eva", "Eva", false, true).ok());
        CHILD_CHECK(store.ListUsers() == (std::vector<std::string>{"Jan", "Eva"}));
        return 0;
    });
    EXPECT_EQ(code, 0);
}

// --- A folder the program may not write --------------------------------------------------

// Makes the child unable to write the folder: as root (where permissions do not bind) it
// becomes the unprivileged user "nobody"; otherwise the folders lose their write bits.
bool DropWriteAccess(const std::string& root) {
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        return nobody && ::setgid(nobody->pw_gid) == 0 && ::setuid(nobody->pw_uid) == 0;
    }
    for (const char* d : {"", "/users", "/users/_Jan", "/ai"}) ::chmod((root + d).c_str(), 0555);
    return true;
}

TEST(ReadOnlyFolder, NothingIsWrittenAndEveryFailureIsReported) {
    ScratchFolder folder;
    ProfileStore setup(".");
    ASSERT_TRUE(setup.CreateProfile("Jan", "Jano", true, true).ok());
    Put("users/_Jan/user.mem", kMemory);
    std::filesystem::create_directories("ai");
    for (const char* d : {".", "users", "users/_Jan", "ai"}) ::chmod(d, 0755);
    ::chmod(folder.path().c_str(), 0755);
    std::string root = folder.path();
    int code = InChild([root] {
        if (!DropWriteAccess(root)) return 99;
        EngineCore e;
        std::vector<std::string> problems;
        WireQuiet(e, problems);
        e.AddMemoryValue("pes,meno,Rex");
        CHILD_CHECK(Get("users/_Jan/user.mem") == kMemory);
        CHILD_CHECK(!problems.empty());
        CHILD_CHECK(e.ReadMemoryValue("pes", "meno").find("Rex") != std::string::npos);
        ProfileStore store(".");
        auto created = store.CreateProfile("Eva", "Eva", false, true);
        CHILD_CHECK(!created.ok() && !created.message().empty());
        auto ini = store.WriteIni({true, "Jan", "design/interface.thm"});
        CHILD_CHECK(!ini.ok() && !ini.message().empty());
        CHILD_CHECK(store.ListUsers() == std::vector<std::string>{"Jan"});
        return 0;
    });
    for (const char* d : {"users", "users/_Jan", "ai"}) ::chmod((root + "/" + d).c_str(), 0755);
    ::chmod(root.c_str(), 0755);
    if (code == 99) GTEST_SKIP() << "cannot take away write access here";
    EXPECT_EQ(code, 0);
}

// --- A missing scratch folder --------------------------------------------------------------

TEST(MissingScratchFolder, MemoryIsWrittenDirectlyAndTheProblemReportedOnce) {
    ScratchFolder folder;
    Put("users/_Jan/user.mem", kMemory);  // no ai/ folder at all
    EngineCore e;
    std::vector<std::string> problems;
    WireQuiet(e, problems);
    e.AddMemoryValue("pes,meno,Rex");
    e.AddMemoryValue("pes,farba,hneda");
    std::string written = Get("users/_Jan/user.mem");
    EXPECT_NE(written.find("Rex"), std::string::npos);
    EXPECT_NE(written.find("farba:hneda"), std::string::npos);
    EXPECT_EQ(problems.size(), 1u);
    EXPECT_TRUE(NoTempFileIn("users/_Jan"));
}

}  // namespace
}  // namespace tamzel::hardening
