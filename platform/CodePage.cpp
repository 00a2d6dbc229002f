#include "CodePage.h"

#include <iconv.h>
#include <cerrno>

namespace vox {

namespace {

// Converts with iconv; an unconvertible or invalid input sequence is replaced
// by `replacement` and skipped (one byte, or one whole UTF-8 character).
std::string Convert(std::string_view in, const char* to, const char* from,
                    std::string_view replacement, bool utf8Input) {
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        size_t rc = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (rc != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: skip the offending character.
        size_t skip = 1;
        if (utf8Input) {
            auto lead = static_cast<unsigned char>(*src);
            size_t len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            // Skip the whole character only when its continuation bytes are there.
            if (len <= srcLeft) {
                skip = len;
                for (size_t i = 1; i < len; ++i)
                    if ((static_cast<unsigned char>(src[i]) & 0xC0) != 0x80) skip = 1;
            }
        }
        out.append(replacement);
        src += skip;
        srcLeft -= skip;
    }
    ::iconv_close(cd);
    return out;
}

// Upper and lower case pairs of Windows-1251 beyond ASCII.
constexpr unsigned char kCasePairs[][2] = {
    {0x80, 0x90},  // Ђ ђ
    {0x81, 0x83},  // Ѓ ѓ
    {0x8A, 0x9A},  // Љ љ
    {0x8C, 0x9C},  // Њ њ
    {0x8D, 0x9D},  // Ќ ќ
    {0x8E, 0x9E},  // Ћ ћ
    {0x8F, 0x9F},  // Џ џ
    {0xA1, 0xA2},  // Ў ў
    {0xA3, 0xBC},  // Ј ј
    {0xA5, 0xB4},  // Ґ ґ
    {0xA8, 0xB8},  // Ё ё
    {0xAA, 0xBA},  // Є є
    {0xAF, 0xBF},  // Ї ї
    {0xB2, 0xB3},  // І і
    {0xBD, 0xBE},  // Ѕ ѕ
};

struct CaseTables {
    unsigned char lower[256];
    unsigned char upper[256];
    constexpr CaseTables() : lower(), upper() {
        for (int i = 0; i < 256; ++i) lower[i] = upper[i] = static_cast<unsigned char>(i);
        for (int c = 'A'; c <= 'Z'; ++c) {
            lower[c] = static_cast<unsigned char>(c + 32);
            upper[c + 32] = static_cast<unsigned char>(c);
        }
        for (int c = 0xC0; c <= 0xDF; ++c) {  // А..Я ↔ а..я
            lower[c] = static_cast<unsigned char>(c + 32);
            upper[c + 32] = static_cast<unsigned char>(c);
        }
        for (const auto& pair : kCasePairs) {
            lower[pair[0]] = pair[1];
            upper[pair[1]] = pair[0];
        }
    }
};

constexpr CaseTables kCase;

}  // namespace

std::string Utf8ToCp1251(std::string_view utf8) {
    return Convert(utf8, "CP1251", "UTF-8", "?", true);
}

std::string Cp1251ToUtf8(std::string_view text) {
    // Byte 0x98 is unassigned in Windows-1251.
    return Convert(text, "UTF-8", "CP1251", "\xEF\xBF\xBD", false);
}

std::optional<size_t> FirstInvalidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // range of the second byte
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0) low = 0xA0;   // overlong
            if (b == 0xED) high = 0x9F;  // surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0) low = 0x90;   // overlong
            if (b == 0xF4) high = 0x8F;  // past U+10FFFF
        } else {
            return i;
        }
        for (size_t k = 1; k < length; ++k) {
            if (i + k >= text.size()) return i;
            const auto c = static_cast<unsigned char>(text[i + k]);
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return i;
        }
        i += length;
    }
    return std::nullopt;
}

char ToLower1251(char c) {
    return static_cast<char>(kCase.lower[static_cast<unsigned char>(c)]);
}
char ToUpper1251(char c) {
    return static_cast<char>(kCase.upper[static_cast<unsigned char>(c)]);
}

std::string ToLower1251(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = ToLower1251(c);
    return out;
}

std::string ToUpper1251(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = ToUpper1251(c);
    return out;
}

bool IsLetter1251(char c) {
    return ToLower1251(c) != ToUpper1251(c);
}

}  // namespace vox
