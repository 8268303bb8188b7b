#include "engine/StoredWordLists.h"

namespace tamzel::engine {

namespace {

// Each byte is one higher than the word list's byte.
const char kScrambledSwearWords[] =
    "=TPNFPG)!jejpu<!efcjm<!lsfufo<!jncfdjm<!cmcfd<!cmcf!<!cmcz!<!cmcb!<!cmcptu<!imvqbl<!imvq"
    "z!<!imvqb!<!imvqptu<!tqsptu<!tpnbs<!ptpm!<!lsbwb!<!qsbtb!<!twjob<!twjojbs<!lplpu<!lvsw<!"
    "ibk{fm<!ibk{m<!ipwbep<!epczupl<!nbhps<!kfmjup<!uvqfd<!nbnmbt<!tnsbe<!tnsejt<!{nse<!divk<"
    "!ep!sjuj<!qsefm<!es{!ivcv<!{bwsj!ivcv<!tlmbqoj<!usbqbl<!mfnsb<!lsjqfm<!dwpl<!qsjnjujw<!p"
    "eqpsoz!<!peqpsob!<!ofobwjejn!ub*?";

const char kScrambledPraise[] =
    "=TPNFPG)!tj!nvesz<!tj!nvesb<!tj!njmz<!tj!njmb<!tj!tvqfs<!tj!tlwfmz<!tj!tlwfmb<!tj!{mbuz<"
    "!tj!{mbub<!tj!{mbulp<!tj!tjlpwoz<!tj!tjlpwob<!tj!dizusz<!tj!dizusb<!tj!v{btoz<!tj!v{btob"
    "<!tj!obkmfqtj<!tj!hfojvt<!tj!epcsz<!tj!epcsb<!tj!gbko<!tj!lsbtoz<!tj!lsbtob<!tj!tznqbujd"
    "lz<!tj!tznqbujdlb<!tj!eplpobmz<!tj!eplpobmb<!nbn!ub!sbe<!nbn!ub!sbeb<!mvcjn!ub<!csbwp<!e"
    "pcsb!qsbdb<!wzcpsof<!tlwfmf<!qbsbeof<!v{btof<!qfsgfluof<!tjlpwof*?";

void Unscramble(const char* scrambled, std::string& plain) {
    plain.assign(scrambled);
    for (char& c : plain) c = static_cast<char>(static_cast<unsigned char>(c) - 1);
}

}  // namespace

std::string StoredWordList(int number) {
    std::string plain;
    StoredWordListInto(number, plain);
    return plain;
}

void StoredWordListInto(int number, std::string& out) {
    out.clear();
    if (number == 1) Unscramble(kScrambledSwearWords, out);
    if (number == 2) Unscramble(kScrambledPraise, out);
}

}  // namespace tamzel::engine
