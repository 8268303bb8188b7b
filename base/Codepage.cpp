#include "base/Codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tamzel::base {
namespace {

// One iconv conversion of `in`; on an unconvertible or invalid sequence either stops
// (returning nothing and the offset) or writes `replacement` and skips one input byte.
std::optional<std::string> Convert(const char* to, const char* from, const std::string& in,
                                   size_t* badOffset, const char* replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    std::vector<char> buf(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buf.data();
        size_t dstLeft = buf.size();
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf.data(), dst - buf.data());
        if (r != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        if (!replacement) {
            if (badOffset) *badOffset = static_cast<size_t>(src - in.data());
            iconv_close(cd);
            return std::nullopt;
        }
        out += replacement;
        // Skip the whole offending UTF-8 sequence (or one byte of a single-byte charset).
        do {
            ++src;
            --srcLeft;
        } while (srcLeft > 0 && std::string(from) == "UTF-8" &&
                 (static_cast<unsigned char>(*src) & 0xC0) == 0x80);
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string ToUtf8(const std::string& cp1250) {
    return Convert("UTF-8", "WINDOWS-1250", cp1250, nullptr, "\xEF\xBF\xBD").value_or("");
}

std::optional<std::string> FromUtf8(const std::string& utf8, size_t* badOffset) {
    return Convert("WINDOWS-1250", "UTF-8", utf8, badOffset, nullptr);
}

std::string FromUtf8Lossy(const std::string& utf8) {
    return Convert("WINDOWS-1250", "UTF-8", utf8, nullptr, "?").value_or("");
}

std::string TypedFromUtf8(const std::string& utf8) {
    return Convert("WINDOWS-1250", "UTF-8", utf8, nullptr, " ").value_or("");
}

std::string Cp1250(const std::string& utf8Literal) {
    auto converted = FromUtf8(utf8Literal);
    if (!converted) {
        std::fprintf(stderr, "Literal without a Windows-1250 form: %s\n", utf8Literal.c_str());
        std::abort();
    }
    return *converted;
}

}  // namespace tamzel::base
