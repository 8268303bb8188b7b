// Memory files: add/remove sequences line by line, reading, names that must not break the
// file, recovery when the file or a folder is missing, a rewrite killed at random moments,
// and a fact told in one run and recalled in the next through a real brain.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <set>
#include <stdexcept>
#include <thread>

#include "ScriptFixtures.h"
#include "base/Files.h"
#include "base/SystemErrors.h"

namespace tamzel::engine::testing {
namespace {

using Lines = std::vector<std::string>;

class MemoryFile : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        NewMemoryFile();
    }
    std::string File() { return ReadFile("users/_Jan/user.mem"); }
};

struct Step {
    char op;  // '+' add, '-' remove
    const char* argument;
    Lines expected;  // the whole file afterwards
};

TEST_F(MemoryFile, AddAndRemoveSequences) {
    const Lines head = {"[DUZ]", "OBJECT(user)", "->"};
    auto file = [&](Lines userLines, Lines after = {}) {
        Lines all = head;
        all.insert(all.end(), userLines.begin(), userLines.end());
        all.push_back("<-");
        all.insert(all.end(), after.begin(), after.end());
        return all;
    };
    const Lines autoBlock = {"", "OBJECT(auto)", "->", "farba:cervena", "<-"};
    const Step steps[] = {
        {'+', "user,zvierata,pes", file({"zvierata:pes"})},
        {'+', "user,zvierata,macka", file({"zvierata:pes;macka"})},
        {'+', "user,zvierata,pes", file({"zvierata:pes;macka"})},  // already an item
        {'-', "user,zvierata,pes", file({"zvierata:macka"})},
        {'-', "user,zvierata,macka", file({"zvierata:"})},         // the property stays
        {'+', "user,zvierata,kon", file({"zvierata:;kon"})},       // first item empty
        {'-', "user,zvierata,ryba", file({"zvierata:;kon"})},      // not an item
        {'+', "auto,farba,cervena", file({"zvierata:;kon"}, autoBlock)},
        {'+', "user,meno,Jan, ml.", file({"zvierata:;kon", "meno:Jan, ml."}, autoBlock)},
        {'+', "user,jedlo,pizza;cestoviny;ryza",
         file({"zvierata:;kon", "meno:Jan, ml.", "jedlo:pizza;cestoviny;ryza"}, autoBlock)},
        {'-', "user,jedlo,cestoviny", file({"zvierata:;kon", "meno:Jan, ml.", "jedlo:pizza;ryza"}, autoBlock)},
        {'-', "user,meno", file({"zvierata:;kon", "jedlo:pizza;ryza"}, autoBlock)},
        {'-', "auto", file({"zvierata:;kon", "jedlo:pizza;ryza"}, {""})},  // its empty line stays
        {'-', "nikto,x,y", file({"zvierata:;kon", "jedlo:pizza;ryza"}, {""})},
        {'+', " user,a,b",
         file({"zvierata:;kon", "jedlo:pizza;ryza"}, {"", "", "OBJECT( user)", "->", "a:b", "<-"})},
        {'-', "user", {"[DUZ]", "", "", "OBJECT( user)", "->", "a:b", "<-"}},
    };
    for (const Step& s : steps) {
        if (s.op == '+') engine.AddMemoryValue(s.argument);
        else engine.RemoveMemoryValue(s.argument);
        EXPECT_EQ(File(), MemoryText(s.expected)) << s.op << s.argument;
    }
    EXPECT_TRUE(problems.empty());
    EXPECT_FALSE(std::filesystem::exists("ai/help.mem"));  // scratch only during a change
}

TEST_F(MemoryFile, ReadingFindsTheFirstObjectAndProperty) {
    EXPECT_EQ(engine.ReadMemoryValue("user", "meno"), "");  // a new profile's file
    ASSERT_TRUE(base::WriteFileAtomically("users/_Jan/user.mem",
                                  "[DUZ]\nOBJECT(pes)\n->\nmeno:Dunco\n<-\n\nOBJECT(user)\n->\n"
                                  "cas:12:30\nmeno:Jan\nmeno:Druhy\nbezdvojbodky\n<-\n"
                                  "OBJECT(user)\n->\nvek:40\n<-").ok());
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"user", "meno", "Jan"},
        {" user ", "meno", "Jan"},      // the object name is trimmed when reading
        {"user", "cas", "12:30"},       // only the first ':' separates
        {"user", "vek", ""},            // the first object of a name decides
        {"user", "bezdvojbodky", ""},
        {"pes", "meno", "Dunco"},
        {"macka", "meno", ""},
        {"user", "", ""},
    };
    for (const auto& [object, property, value] : cases)
        EXPECT_EQ(engine.ReadMemoryValue(object, property), value) << object << "," << property;
}

TEST_F(MemoryFile, NamesAndValuesCannotBreakTheFileForOtherObjects) {
    engine.AddMemoryValue("pes,meno,Dunco");
    const std::string before = File();
    reports.clear();
    for (const char* bad : {"a)b,x,y", "a(b,x,y", "user,x:y,z"}) engine.AddMemoryValue(bad);
    EXPECT_EQ(File(), before);
    EXPECT_EQ(reports.size(), 3u);

    engine.AddMemoryValue("user,poznamka,riadok\r\n<-\nOBJECT(pes)");
    engine.AddMemoryValue("user,zatvorky,(a;b)) <c> d,e");
    EXPECT_EQ(engine.ReadMemoryValue("pes", "meno"), "Dunco");
    EXPECT_EQ(engine.ReadMemoryValue("user", "poznamka"), "riadok  <- OBJECT(pes)");
    EXPECT_EQ(engine.ReadMemoryValue("user", "zatvorky"), "(a;b)) <c> d,e");
    engine.AddMemoryValue("user,cas,12:30");
    EXPECT_EQ(engine.ReadMemoryValue("user", "cas"), "12:30");
    engine.AddMemoryValue("a(b)c,x,y");  // balanced brackets read back as themselves
    EXPECT_EQ(engine.ReadMemoryValue("a(b)c", "x"), "y");
}

TEST_F(MemoryFile, TheProfileFolderIsNamedInUtf8) {
    engine.UserName = base::Cp1250("Ján");
    EXPECT_EQ(engine.MemoryFilePath(), "users/_J\xC3\xA1n/user.mem");
    NewMemoryFile(base::Cp1250("Ján"));
    engine.AddMemoryValue("user,mesto,Ko\x9Aice");
    EXPECT_EQ(ReadFile("users/_J\xC3\xA1n/user.mem"),
              MemoryText({"[DUZ]", "OBJECT(user)", "->", "mesto:Ko\x9A" "ice", "<-"}));
}

TEST_F(MemoryFile, WithoutTheScratchFolderTheFileIsWrittenDirectly) {
    std::filesystem::remove_all("ai");
    engine.AddMemoryValue("user,a,1");
    engine.AddMemoryValue("user,b,2");
    EXPECT_EQ(engine.ReadMemoryValue("user", "a"), "1");
    EXPECT_EQ(File(), MemoryText({"[DUZ]", "OBJECT(user)", "->", "a:1", "b:2", "<-"}));
    EXPECT_EQ(problems.size(), 1u);  // reported once, not at every change
    EXPECT_TRUE(std::filesystem::is_directory("users/_Jan"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("users/_Jan"), {}), 1);  // no temp left
}

TEST_F(MemoryFile, AMissingFolderKeepsChangesUntilTheyCanBeWritten) {
    std::filesystem::rename("users/_Jan", "users/odlozene");
    engine.AddMemoryValue("user,a,1");
    engine.AddMemoryValue("user,b,2");
    EXPECT_EQ(engine.ReadMemoryValue("user", "a"), "1");  // later reads see the change
    EXPECT_EQ(engine.ReadMemoryValue("user", "b"), "2");
    EXPECT_EQ(problems.size(), 2u) << "missing file, then the failed write; each once";

    std::filesystem::create_directories("users/_Jan");
    engine.RemoveMemoryValue("user,a");
    EXPECT_EQ(File(), MemoryText({"[DUZ]", "OBJECT(user)", "->", "b:2", "<-"}));
    // Written: the file is read again from now on.
    ASSERT_TRUE(base::WriteFileAtomically("users/_Jan/user.mem", MemoryText({"OBJECT(user)", "->", "c:3", "<-"})).ok());
    EXPECT_EQ(engine.ReadMemoryValue("user", "c"), "3");
}

// Faults injected at the one file seam reach memory writes like every other write: a full
// or read-only disk keeps the change in the program and leaves the file as it was.
TEST_F(MemoryFile, AnInjectedWriteFaultKeepsTheOldFileAndTheChange) {
    const std::string before = File();
    for (int fault : {ENOSPC, EROFS, EIO}) {
        SCOPED_TRACE(fault);
        problems.clear();
        base::SetWriteFaultInjector([fault](const std::string& path) {
            return path.find("user.mem") != std::string::npos ? fault : 0;
        });
        engine.AddMemoryValue("user,a," + std::to_string(fault));
        base::SetWriteFaultInjector(nullptr);
        EXPECT_EQ(File(), before) << "the file is untouched";
        EXPECT_EQ(engine.ReadMemoryValue("user", "a"), std::to_string(fault)) << "kept in the program";
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_NE(problems[0].find(base::ErrorPhrase1250(fault)), std::string::npos) << problems[0];
        engine.RemoveMemoryValue("user,a");
        EXPECT_EQ(File(), before) << "written once the disk works again";
    }
}

TEST_F(MemoryFile, AMissingFileIsStartedAgainOnTheNextChange) {
    std::filesystem::remove("users/_Jan/user.mem");
    EXPECT_EQ(engine.ReadMemoryValue("user", "a"), "");
    engine.AddMemoryValue("user,a,1");
    EXPECT_EQ(File(), MemoryText({"[DUZ]", "OBJECT(user)", "->", "a:1", "<-"}));
    EXPECT_EQ(problems.size(), 1u);  // reported once, on the first read
}

TEST_F(MemoryFile, ANameThatWouldLeaveTheUsersFolderIsNeverUsed) {
    std::filesystem::create_directories("users/_x");
    for (const char* name : {"x/../../ai", "x/..", "a\nb"}) {
        engine.UserName = name;
        engine.AddMemoryValue("user,a,1");
        EXPECT_EQ(engine.ReadMemoryValue("user", "a"), "") << name;
    }
    EXPECT_FALSE(std::filesystem::exists("ai/user.mem"));
    EXPECT_FALSE(std::filesystem::exists("users/_x/user.mem"));
    EXPECT_EQ(problems.size(), 1u);
    EXPECT_EQ(File(), MemoryText({"[DUZ]", "OBJECT(user)", "->", "<-"}));
}

// A child rewrites the file in a loop and is killed at random moments: the file always
// holds one of the states the loop goes through, never a mixed, short or missing one.
TEST_F(MemoryFile, AKilledRewriteLeavesTheOldOrTheNewFile) {
    for (int i = 0; i < 60; ++i) engine.AddMemoryValue("user,vec" + std::to_string(i) + ",hodnota");
    const std::string initial = File();
    engine.AddMemoryValue("user,k,v");
    const std::string added = File();
    engine.RemoveMemoryValue("user,k,v");
    const std::string emptied = File();  // "k:" stays, so the next add gives "k:;v"
    engine.AddMemoryValue("user,k,v");
    const std::string addedAgain = File();
    const std::set<std::string> valid = {added, emptied, addedAgain};
    ASSERT_EQ(valid.size(), 3u);
    ASSERT_TRUE(base::WriteFileAtomically("users/_Jan/user.mem", initial).ok());

    std::mt19937 generator(20261208);
    for (int round = 0; round < 20; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            for (bool first = true;; first = false) {
                engine.AddMemoryValue("user,k,v");
                if (first && ::write(ready[1], "x", 1) != 1) ::_exit(2);
                engine.RemoveMemoryValue("user,k,v");
            }
        }
        ::close(ready[1]);
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(generator() % 8000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        std::string content = File();
        EXPECT_TRUE(valid.count(content)) << "round " << round << ": " << content.size() << " bytes";
    }
}

class MemoryInAConversation : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        WriteBrain({
            "IF(2)", "?( volam sa )", "->",
            "MEM(user,meno,<#ZVYSOK(volam sa)>)",
            "-Te\x9A\xED ma, <#ZVYSOK(volam sa)>.",
            "<-",
            "IF(3)", "?( ako sa volam )", "->",
            "-Vol\xE1\x9A sa <#PAMAT(user,meno,1)>.",
            "<-",
            "UNKNOWN",
            "-Nerozumiem.",
        });
    }
    std::string Turn(EngineCore& e, const char* utf8) { return base::ToUtf8(e.AnswerSentence(base::Cp1250(utf8))); }
    void Prepare(EngineCore& e) {
        e.UserName = "Jan";
        e.hooks.onFatalStop = [](const std::string& reason) { throw std::runtime_error(reason); };
        e.hooks.onMemoryProblem = [this](const std::string& m) { problems.push_back(m); };
        e.InitEngine();
    }
};

TEST_F(MemoryInAConversation, AFactToldInOneRunIsRecalledInTheNext) {
    NewMemoryFile();
    {
        EngineCore first;
        Prepare(first);
        EXPECT_EQ(Turn(first, "Volám sa Peter."), "Teší ma, peter.");
    }
    EngineCore second;
    Prepare(second);
    EXPECT_EQ(Turn(second, "Ako sa volám?"), "Voláš sa peter.");
    EXPECT_TRUE(problems.empty());
}

TEST_F(MemoryInAConversation, WithoutAProfileFolderTheTurnsAreStillAnswered) {
    EngineCore e;
    Prepare(e);  // no users/_Jan at all
    EXPECT_EQ(Turn(e, "Volám sa Peter."), "Teší ma, peter.");
    EXPECT_FALSE(problems.empty());
    EXPECT_EQ(Turn(e, "Ako sa volám?"), "Voláš sa peter.");  // kept in the engine
    EXPECT_EQ(Turn(e, "Hm."), "Nerozumiem.");
}

}  // namespace
}  // namespace tamzel::engine::testing
