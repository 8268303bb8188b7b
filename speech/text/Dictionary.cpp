#include "speech/text/Dictionary.h"

#include <bitset>

#include "base/Files.h"
#include "base/Codepage.h"
#include "speech/text/SpeechError.h"

namespace tamzel::speech {
namespace {

// Offsets that the reader adds to byte p (1-based): p mod 3 = 1, 2, 0.
constexpr int kRestoreOffset[3] = {-15, 7, -23};

std::string Shift(std::string_view in, int sign) {
    std::string out(in);
    for (size_t i = 0; i < out.size(); ++i) {
        int p = static_cast<int>((i + 1) % 3);
        out[i] = static_cast<char>(static_cast<unsigned char>(out[i]) + sign * kRestoreOffset[p]);
    }
    return out;
}

// Which byte pairs occur in the text. With hundreds of entries and a short answer, most
// keys hold a pair the answer lacks and are ruled out without searching.
class PairFilter {
public:
    explicit PairFilter(const std::string& text) { Rebuild(text); }
    void Rebuild(const std::string& text) {
        pairs_.reset();
        for (size_t i = 0; i + 1 < text.size(); ++i) pairs_.set(Pair(text[i], text[i + 1]));
    }
    bool MayContain(std::string_view key) const {
        for (size_t i = 0; i + 1 < key.size(); ++i)
            if (!pairs_.test(Pair(key[i], key[i + 1]))) return false;
        return true;
    }

private:
    static size_t Pair(char a, char b) {
        return static_cast<size_t>(static_cast<unsigned char>(a)) << 8 | static_cast<unsigned char>(b);
    }
    std::bitset<65536> pairs_;
};

// One entry applied to the text: the key is replaced again and again, bounded. True when
// the text changed.
bool ApplyEntry(std::string& text, std::string_view key, std::string_view value) {
    if (key.empty() || value.find(key) != std::string_view::npos) return false;
    size_t at = text.find(key);
    int n = 0;
    for (; at != std::string::npos && n < kMaxDictionaryReplacements; ++n) {
        text.replace(at, key.size(), value);
        at = text.find(key);
    }
    return n > 0;
}

}  // namespace

std::string UnscrambleLine(std::string_view stored) { return Shift(stored, +1); }
std::string ScrambleLine(std::string_view plain) { return Shift(plain, -1); }

DictionaryEntry SplitEntry(const std::string& line) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return {};
    return {line.substr(0, eq), line.substr(eq + 1)};
}

std::vector<std::string> UnscrambleFile(const std::string& stored) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < stored.size()) {
        size_t end = stored.find("\r\n", start);
        if (end == std::string::npos) end = stored.size();
        lines.push_back(UnscrambleLine(std::string_view(stored).substr(start, end - start)));
        start = end + 2;
    }
    return lines;
}

std::string ScrambleFile(const std::vector<std::string>& plainLines) {
    std::string out;
    for (size_t i = 0; i < plainLines.size(); ++i) {
        const std::string& line = plainLines[i];
        std::string stored = ScrambleLine(line);
        // Lines are split at CR LF only; a stored line must not hold that pair itself.
        if (stored.find("\r\n") != std::string::npos) {
            throw SpeechError(base::FromUtf8Lossy("Riadok " + std::to_string(i + 1) +
                " slovníka sa nedá uložiť: obsahuje znaky, ktoré by sa zmenili na koniec riadka."));
        }
        out += stored + "\r\n";
    }
    return out;
}

std::string ApplyDictionary(const std::string& text, const std::string& path) {
    std::string stored;
    if (!base::ReadWholeFile(path, stored)) {
        throw SpeechError(base::FromUtf8Lossy("Slovník výslovnosti " + path +
                                                " sa nedá prečítať."));
    }
    std::string out = text;
    PairFilter filter(out);
    std::string line;
    for (size_t start = 0; start < stored.size();) {
        size_t end = stored.find("\r\n", start);
        if (end == std::string::npos) end = stored.size();
        line = UnscrambleLine(std::string_view(stored).substr(start, end - start));
        start = end + 2;
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string_view key = std::string_view(line).substr(0, eq);
        if (!filter.MayContain(key)) continue;
        if (ApplyEntry(out, key, std::string_view(line).substr(eq + 1))) filter.Rebuild(out);
    }
    return out;
}

}  // namespace tamzel::speech
