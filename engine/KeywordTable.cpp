#include "engine/KeywordTable.h"

#include <string_view>

namespace tamzel::engine {
namespace {

using Byte = unsigned char;

// One keyword as the program carries it: salt byte first, then the shifted bytes.
struct EncodedEntry {
    std::array<Byte, 24> bytes{};
    size_t size = 0;
};

constexpr EncodedEntry EncodeAtBuild(std::string_view plain, Byte salt) {
    EncodedEntry e;
    e.bytes[0] = salt;
    for (size_t j = 0; j < plain.size(); ++j) {
        Byte prev = e.bytes[j];
        e.bytes[j + 1] = static_cast<Byte>(static_cast<Byte>(plain[j]) + prev % 21 - 10);
    }
    e.size = plain.size() + 1;
    return e;
}

// The keyword texts are scrambled while compiling: only the encoded bytes reach the
// program, so the brain language cannot be read out of the executable with `strings`.
// Keep this list equal to the table in docs/brain-language.md.
constexpr std::array<EncodedEntry, 57> kEncodedTable = [] {
    constexpr std::string_view plain[57] = {
        "",
        // 1..20: script tags
        "<#ROK>", "<#MESC>", "<#DN>", "<#DEN_TYZDNA>", "<#HOD>", "<#MINUT>", "<#POZ(",
        "<#PAMAT(", "<#VEK(", "<#C", "<#VELKE(", "<#POCET_ZOPAKOV>", "<#POCET_NUD>",
        "<#ROD(", "<#PREM(", "<#NAHODA(", "<#NALADA", "<#ZVYSOK(", "<#ODRAZ(", "<#DALSIE(",
        // 21..24: word lists and the current-sentence selector
        "#NADAVKY", "#POCHVALY", "SOMEOF", "THIS_USER",
        // 25..35: condition keywords
        "#UVODNA", "#PRVYKRAT", "#NUD", "#SUVET", "#ODCHADZA", "#CISLO", "#NEZMYSL", "#MUZ",
        "#ZENA_", "#OPAKOVAL", "#SLOV",
        // 36..56: rule pass
        "IF", "ELSE", "UNKNOWN", "INSERT", "REPLACE", "CLOSE", "HALT", "RUN", "MOOD", "VAR",
        "SET", "RELEASE", "MEM", "FORGET", "DONE", "[++]", "[+]", "[*]", "[-]", "[/]", "[#]",
    };
    std::array<EncodedEntry, 57> table{};
    for (size_t k = 1; k < 57; ++k) table[k] = EncodeAtBuild(plain[k], static_cast<Byte>(k * 73 + 29));
    return table;
}();


// In place, so that a pass decodes and encodes the table without allocating: once the
// salt byte has been dropped, the string keeps room for it.
void EncodeInPlace(std::string& e, Byte salt) {
    e.insert(e.begin(), static_cast<char>(salt));
    for (size_t j = 1; j < e.size(); ++j) {
        Byte prev = static_cast<Byte>(e[j - 1]);
        e[j] = static_cast<char>(static_cast<Byte>(e[j]) + prev % 21 - 10);
    }
}

void DecodeInPlace(std::string& e) {
    if (e.empty()) return;
    for (size_t j = e.size() - 1; j >= 1; --j) {
        Byte prev = static_cast<Byte>(e[j - 1]);  // still the encoded byte
        e[j] = static_cast<char>(static_cast<Byte>(e[j]) - prev % 21 + 10);
    }
    e.erase(0, 1);
}

}  // namespace

std::string EncodeKeyword(const std::string& plain, base::Random& random) {
    std::string e(plain);
    EncodeInPlace(e, static_cast<Byte>(random.Below(256)));
    return e;
}

std::string DecodeKeyword(const std::string& encoded) {
    std::string e(encoded);
    DecodeInPlace(e);
    return e;
}

KeywordTable::KeywordTable() {
    for (size_t k = 1; k < kEncodedTable.size(); ++k) {
        const EncodedEntry& e = kEncodedTable[k];
        entries_[k].assign(reinterpret_cast<const char*>(e.bytes.data()), e.size);
    }
}

void KeywordTable::DecodeAll() {
    if (plain_) return;
    for (size_t k = 1; k < entries_.size(); ++k) DecodeInPlace(entries_[k]);
    plain_ = true;
}

void KeywordTable::EncodeAll(base::Random& random) {
    if (!plain_) return;
    for (size_t k = 1; k < entries_.size(); ++k)
        EncodeInPlace(entries_[k], static_cast<Byte>(random.Below(256)));
    plain_ = false;
}

}  // namespace tamzel::engine
