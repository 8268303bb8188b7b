// The brain file: a 45-byte header, three check bytes, two stored sums (big-endian) and the
// encoded records. A record is a key byte K, a length byte L and (L - K + 235) mod 256
// encoded body bytes; its decoded body is one line of the brain language.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace tamzel::engine {

constexpr size_t kBrainHeaderSize = 45;
constexpr size_t kBrainRecordsOffset = 56;

// A loaded brain, still encoded, with the cursor and the two running sums of one pass.
struct BrainRecord {
    std::string text;        // the file from offset 56 on
    std::string checkBytes;  // the three bytes at offset 45
    uint32_t cursor = 0;
    uint32_t sumPlain = 0;
    uint32_t sumRaw = 0;
    // The sums of every record, worked out once at load: a pass reads the records from the
    // same unchanging text, so when it stops early its sums are these.
    uint32_t wholeSumPlain = 0;
    uint32_t wholeSumRaw = 0;
};

// Three bytes that mark the brain format and its release.
std::string BrainCheckBytes();

// Fills `brain` from the file; throws IoError (Slovak message with the path) when the file
// is missing, unreadable or too short. Does not verify the check bytes (the caller does).
void LoadBrain(BrainRecord& brain, const std::string& path);

// Decodes the record at the cursor, advances past it and adds to both sums. Fewer than two
// bytes left: an empty record.
std::string ReadRecord(BrainRecord& brain);
// What a rule pass reads: the same decoding and advance into `body`, whose storage is reused,
// without the sums (the pass takes the sums worked out at load).
void DecodeNextRecord(BrainRecord& brain, std::string& body);
bool AtEndOfBrain(const BrainRecord& brain);

// The stored sums at offsets 48 and 52, as two 4-character texts; throws IoError.
std::pair<std::string, std::string> ReadStoredChecksums(const std::string& path);
std::string ChecksumText(uint32_t n);

// The inverse of ReadRecord's decoding, for the brain compiler: one record for `body`
// (at most 255 bytes) with key K.
std::string EncodeRecord(const std::string& body, uint8_t key);
// A whole brain file for the given record area (header, check bytes, both sums).
std::string BuildBrainFile(const std::string& records);

}  // namespace tamzel::engine
