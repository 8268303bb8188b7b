#include "engine/Brain.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "base/Codepage.h"
#include "engine/internal/EngineCore.h"

namespace tamzel::engine {
namespace {

using Byte = unsigned char;

// "Súbor mozgu" names the brain file in every message.
std::string BrainFileMessage(const std::string& path, const std::string& what) {
    return "S\xFA" "bor mozgu \"" + base::FromUtf8Lossy(path) + "\" " + what;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenForReading(const std::string& path) {
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) throw IoError(BrainFileMessage(path, "sa ned\xE1 otvori\x9D."));
    return f;
}

// The record at the cursor: its key, length byte and encoded body, and the cursor moved past
// it. False (cursor at the end) when fewer than two bytes are left.
struct EncodedRecord {
    Byte key = 0;
    Byte length = 0;
    const Byte* body = nullptr;
    size_t size = 0;
};

bool TakeRecord(BrainRecord& brain, EncodedRecord& record) {
    const std::string& text = brain.text;
    if (brain.cursor >= text.size() || text.size() - brain.cursor < 2) {
        brain.cursor = static_cast<uint32_t>(text.size());
        return false;
    }
    const Byte* src = reinterpret_cast<const Byte*>(text.data()) + brain.cursor;
    record.key = src[0];
    record.length = src[1];
    record.size = std::min<size_t>(static_cast<Byte>(record.length - record.key + 235),
                                   text.size() - brain.cursor - 2);
    record.body = src + 2;
    brain.cursor += static_cast<uint32_t>(record.size + 2);
    return true;
}

// The forward step into y, then the backward step needs y[j - 1] before it changes.
// Plain loops over local buffers, so that the compiler can vectorise.
void DecodeBody(const EncodedRecord& record, Byte* x) {
    const Byte* src = record.body;
    const size_t n = record.size;
    const Byte key = record.key;
    Byte y[256];
    for (size_t j = 0; j + 1 < n; ++j) y[j] = static_cast<Byte>(src[j] - key * src[j + 1] - 7);
    if (n > 0) y[n - 1] = src[n - 1];
    if (n > 0) x[0] = y[0];
    const Byte shift = static_cast<Byte>(key + 5);
    for (size_t j = 1; j < n; ++j) x[j] = static_cast<Byte>(y[j] - y[j - 1] - shift);
}

void AddSums(BrainRecord& brain, const EncodedRecord& record, const Byte* x) {
    uint32_t raw = record.key + record.length, plain = 0;
    for (size_t j = 0; j < record.size; ++j) raw += record.body[j];
    for (size_t j = 0; j < record.size; ++j) plain += x[j];
    brain.sumRaw += raw;
    brain.sumPlain += plain;
}

// Decodes the record at the cursor only for the sums: loading does this for every record.
void AddSumsOfNextRecord(BrainRecord& brain) {
    EncodedRecord record;
    if (!TakeRecord(brain, record)) return;
    Byte x[256];
    DecodeBody(record, x);
    AddSums(brain, record, x);
}

}  // namespace

std::string BrainCheckBytes() { return "TZ1"; }

void LoadBrain(BrainRecord& brain, const std::string& path) {
    File f = OpenForReading(path);
    std::string content;
    char block[2048];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, f.get())) > 0) content.append(block, got);
    if (std::ferror(f.get())) throw IoError(BrainFileMessage(path, "sa ned\xE1 pre\xE8\xEDta\x9D."));
    if (content.size() < kBrainRecordsOffset)
        throw IoError(BrainFileMessage(path, "je pr\xEDli\x9A kr\xE1tky (po\x9Akoden\xFD s\xFA" "bor)."));
    BrainRecord loaded;
    loaded.checkBytes = content.substr(kBrainHeaderSize, 3);
    loaded.text = content.substr(kBrainRecordsOffset);
    while (!AtEndOfBrain(loaded)) AddSumsOfNextRecord(loaded);
    loaded.wholeSumPlain = loaded.sumPlain;
    loaded.wholeSumRaw = loaded.sumRaw;
    loaded.cursor = loaded.sumPlain = loaded.sumRaw = 0;
    brain = std::move(loaded);
}

std::string ReadRecord(BrainRecord& brain) {
    EncodedRecord record;
    if (!TakeRecord(brain, record)) return {};
    std::string body(record.size, '\0');
    Byte* x = reinterpret_cast<Byte*>(body.data());
    DecodeBody(record, x);
    AddSums(brain, record, x);
    return body;
}

void DecodeNextRecord(BrainRecord& brain, std::string& body) {
    EncodedRecord record;
    if (!TakeRecord(brain, record)) {
        body.clear();
        return;
    }
    body.resize(record.size);
    DecodeBody(record, reinterpret_cast<Byte*>(body.data()));
}

bool AtEndOfBrain(const BrainRecord& brain) { return brain.cursor >= brain.text.size(); }

// Read after every pass, so without the buffer of a stdio stream: one open, one read.
std::pair<std::string, std::string> ReadStoredChecksums(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw IoError(BrainFileMessage(path, "sa ned\xE1 otvori\x9D."));
    char head[kBrainRecordsOffset];
    size_t got = 0;
    while (got < sizeof head) {
        ssize_t n = ::read(fd, head + got, sizeof head - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    if (got != sizeof head)
        throw IoError(BrainFileMessage(path, "je pr\xEDli\x9A kr\xE1tky (ch\xFD" "baj\xFA kontroln\xE9 s\xFA\xE8ty)."));
    return {std::string(head + 48, 4), std::string(head + 52, 4)};
}

std::string ChecksumText(uint32_t n) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((n >> (8 * (3 - i))) & 0xFF);
    return s;
}

std::string EncodeRecord(const std::string& body, uint8_t key) {
    size_t n = std::min<size_t>(body.size(), 255);
    std::string record(2 + n, '\0');
    record[0] = static_cast<char>(key);
    record[1] = static_cast<char>(static_cast<Byte>(n + key + 21));
    Byte* x = reinterpret_cast<Byte*>(record.data() + 2);
    const Byte* y = reinterpret_cast<const Byte*>(body.data());
    for (size_t j = 0; j < n; ++j)
        x[j] = j == 0 ? y[0] : static_cast<Byte>(y[j] + x[j - 1] + key + 5);
    for (size_t j = n; j-- > 1;) x[j - 1] = static_cast<Byte>(x[j - 1] + key * x[j] + 7);
    return record;
}

std::string BuildBrainFile(const std::string& records) {
    BrainRecord sums;
    sums.text = records;
    while (!AtEndOfBrain(sums)) ReadRecord(sums);
    std::string header = "Tamzel brain file, compiled by tamzel-brainc\x1A";
    header.resize(kBrainHeaderSize, ' ');
    return header + BrainCheckBytes() + ChecksumText(sums.sumPlain) + ChecksumText(sums.sumRaw) +
           records;
}

}  // namespace tamzel::engine
