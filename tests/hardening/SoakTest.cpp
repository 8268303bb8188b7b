// Soak: a long conversation with the shipped brain, with memory writes, idle and hover
// turns, keeps resident memory flat after warm-up and leaves the memory file readable. The
// number of turns is TAMZEL_SOAK_TURNS (default 2000; scripts/soak.sh runs 20,000). Under
// the sanitizer build, LeakSanitizer checks for leaks when the test program ends.
#include <cstdlib>
#include <fstream>

#include "../brain/BrainSession.h"
#include "HardeningSupport.h"

namespace tamzel::hardening {
namespace {

using brain_testing::BrainFolder;
using brain_testing::BrainSession;

// Resident memory of this process in kB, from /proc/self/status.
long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

int SoakTurns() {
    const char* turns = std::getenv("TAMZEL_SOAK_TURNS");
    int n = turns ? std::atoi(turns) : 0;
    return n > 0 ? n : 2000;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;  // the allocator's quarantine grows on purpose
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// What the user says: statements the brain remembers (they rewrite the memory file), values
// that come back often so the file stays a realistic size, and questions.
std::string Sentence(int turn) {
    static const char* const kTown[] = {"Košiciach", "Žiline", "Nitre", "Prešove", "Trnave"};
    static const char* const kColour[] = {"modrá", "zelená", "červená", "žltá"};
    static const char* const kFood[] = {"pizzu", "halušky", "rezeň", "polievku", "jablká"};
    switch (turn % 9) {
        case 0: return std::string("Bývam v ") + kTown[turn / 9 % 5] + ".";
        case 1: return std::string("Moja obľúbená farba je ") + kColour[turn / 9 % 4] + ".";
        case 2: return std::string("Najradšej jem ") + kFood[turn / 9 % 5] + ".";
        case 3: return "Ako sa máš?";
        case 4: return "Kde bývam?";
        case 5: return "Som programátor.";
        case 6: return "Koľko je " + std::to_string(turn % 97) + " plus 5?";
        case 7: return "Volám sa Peter.";
        default: return "Čo o mne vieš?";
    }
}

TEST(Soak, LongConversationKeepsMemoryFlatAndTheMemoryFileWhole) {
    BrainFolder folder;
    if (!folder.ready()) GTEST_SKIP() << "the built brain is not in the program folder";
    BrainSession session(folder, "Peter");
    session.Opening();
    const int turns = SoakTurns();
    const int warmUp = turns / 4;
    long afterWarmUp = 0, highest = 0;
    for (int turn = 0; turn < turns; ++turn) {
        std::string reply = turn % 50 == 48 ? session.Idle()
                          : turn % 50 == 49 ? session.Hover()
                                            : session.Say(Sentence(turn));
        ASSERT_FALSE(reply.empty()) << "turn " << turn << ": " << Sentence(turn);
        if (turn == warmUp) afterWarmUp = ResidentKb();
        if (turn > warmUp) highest = std::max(highest, ResidentKb());
    }
    std::printf("soak: %d turns, resident %ld kB after warm-up, highest %ld kB after it\n", turns,
                afterWarmUp, highest);
    if (!kSanitized) {
        EXPECT_LT(highest, afterWarmUp * 105 / 100);
    }
    std::string memory = folder.Read("users/_Peter/user.mem");
    EXPECT_EQ(memory.rfind("<-\r\n"), memory.size() - 4) << memory;
    for (const char* value : {"byvisko", "farba"}) EXPECT_NE(memory.find(value), std::string::npos) << value;
}

}  // namespace
}  // namespace tamzel::hardening
