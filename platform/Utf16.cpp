#include "Utf16.h"

#include <array>

#include "CodePage.h"

namespace vox {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// Decodes one UTF-8 character at `i`; advances `i`. Invalid → U+FFFD, one byte.
char32_t DecodeUtf8(std::string_view s, size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    size_t len = lead < 0x80         ? 1
                 : (lead >> 5) == 6  ? 2
                 : (lead >> 4) == 14 ? 3
                 : (lead >> 3) == 30 ? 4
                                     : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return kReplacement;
    }
    char32_t c = len == 1 ? lead : lead & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        c = (c << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    i += len;
    if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
    return c;
}

// Unicode of every Windows-1251 byte (0 for the unassigned 0x98).
struct Cp1251Table {
    std::array<char16_t, 256> unicode{};
    Cp1251Table() {
        for (int b = 0; b < 256; ++b) {
            if (b < 0x80) {
                unicode[b] = static_cast<char16_t>(b);
                continue;
            }
            const std::string utf8 = Cp1251ToUtf8(std::string(1, static_cast<char>(b)));
            size_t i = 0;
            const char32_t c = utf8.empty() ? kReplacement : DecodeUtf8(utf8, i);
            unicode[b] = c == kReplacement ? 0 : static_cast<char16_t>(c);
        }
    }
    char ToByte(char16_t c) const {
        if (c < 0x80) return static_cast<char>(c);
        if (c >= 0x410 && c <= 0x44F) return static_cast<char>(0xC0 + (c - 0x410));  // А…я
        for (int b = 0x80; b < 256; ++b)
            if (unicode[b] == c) return static_cast<char>(b);
        return '?';
    }
};

const Cp1251Table& Table() {
    static const Cp1251Table table;
    return table;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) AppendUtf16(out, DecodeUtf8(utf8, i));
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8, std::vector<uint32_t>& unitAtByte) {
    std::u16string out;
    out.reserve(utf8.size());
    unitAtByte.assign(utf8.size() + 1, 0);
    for (size_t i = 0; i < utf8.size();) {
        const size_t start = i;
        const auto unit = static_cast<uint32_t>(out.size());
        AppendUtf16(out, DecodeUtf8(utf8, i));
        for (size_t k = start; k < i; ++k) unitAtByte[k] = unit;
    }
    unitAtByte[utf8.size()] = static_cast<uint32_t>(out.size());
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 2);
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::string Utf16ToCp1251(std::u16string_view utf16) {
    const Cp1251Table& table = Table();
    std::string out(utf16.size(), '?');
    for (size_t i = 0; i < utf16.size(); ++i) out[i] = table.ToByte(utf16[i]);
    return out;
}

std::u16string Cp1251ToUtf16(std::string_view text) {
    const Cp1251Table& table = Table();
    std::u16string out(text.size(), u'\uFFFD');
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = table.unicode[static_cast<unsigned char>(text[i])];
        if (c != 0 || text[i] == 0) out[i] = c;
    }
    return out;
}

size_t Utf16Length(const char16_t* text) {
    size_t n = 0;
    if (text != nullptr)
        while (text[n] != 0) ++n;
    return n;
}

}  // namespace vox
