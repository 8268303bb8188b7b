#include "ui/ConsoleInput.h"

#include <algorithm>
#include <cstring>

#include "base/Codepage.h"
#include "engine/InputLimit.h"

namespace tamzel::ui {
namespace {

constexpr size_t kUtf8BytesPerCharacter = 3;
constexpr size_t kChunk = 64 * 1024;
constexpr char kSentinel = '\xFF';

// How many bytes fgets stored: a NUL byte inside the line would fool strlen, but the buffer
// was filled with kSentinel first, so the terminator is the last byte that is not one.
size_t ReadLength(const char* chunk, size_t size) {
    size_t end = size;
    while (end > 0 && chunk[end - 1] == kSentinel) --end;
    return end > 0 ? end - 1 : 0;
}

// A cut can split the last UTF-8 character; its first bytes alone are no character.
void DropSplitCharacter(std::string& text) {
    size_t start = text.size();
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80) --start;
    if (start == 0) return;
    unsigned char lead = static_cast<unsigned char>(text[start - 1]);
    size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (text.size() - (start - 1) < length) text.resize(start - 1);
}

}  // namespace

size_t ConsoleLineBytes() { return engine::kMaxInputLength * kUtf8BytesPerCharacter; }

bool ReadBoundedLine(std::FILE* in, size_t maxBytes, ConsoleLine& line) {
    line = ConsoleLine{};
    static char chunk[kChunk];
    bool readAny = false;
    for (;;) {
        std::memset(chunk, kSentinel, sizeof chunk);
        if (!std::fgets(chunk, sizeof chunk, in)) break;
        readAny = true;
        size_t n = ReadLength(chunk, sizeof chunk);
        bool ended = n > 0 && chunk[n - 1] == '\n';
        if (ended) --n;
        size_t room = maxBytes - std::min(maxBytes, line.text.size());
        if (n > room) line.cut = true;  // read on to the line's end, keep nothing more
        line.text.append(chunk, std::min(n, room));
        if (ended) break;
    }
    if (line.cut) DropSplitCharacter(line.text);
    else if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
    return readAny;
}

bool CutConsoleLine(const std::string& utf8, std::string& cp1250) {
    cp1250 = base::TypedFromUtf8(utf8);
    return engine::CutToInputLimit(cp1250);
}

}  // namespace tamzel::ui
