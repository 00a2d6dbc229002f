// Classes of Windows-1251 bytes as the text analysis sees them, and the
// helper that turns the UTF-8 literals of the tables into 1251 text once.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace lexicon {

// 1251 bytes used by name.
namespace cp {
inline constexpr unsigned char kYoUpper = 0xA8;     // Ё
inline constexpr unsigned char kYo = 0xB8;          // ё
inline constexpr unsigned char kNbsp = 0xA0;        // no-break space
inline constexpr unsigned char kEmDash = 0x97;      // —
inline constexpr unsigned char kEnDash = 0x96;      // –
inline constexpr unsigned char kEllipsis = 0x85;    // …
inline constexpr unsigned char kLeftGuill = 0xAB;   // «
inline constexpr unsigned char kRightGuill = 0xBB;  // »
inline constexpr unsigned char kNumero = 0xB9;      // №
inline constexpr unsigned char kDegree = 0xB0;      // °
inline constexpr unsigned char kEuro = 0x88;        // €
inline constexpr unsigned char kPermille = 0x89;    // ‰
inline constexpr unsigned char kSection = 0xA7;     // §
inline constexpr unsigned char kPlusMinus = 0xB1;   // ±
}  // namespace cp

inline bool IsCyrillic(unsigned char c) {
    return c >= 0xC0 || c == cp::kYo || c == cp::kYoUpper;
}
inline bool IsCyrillicUpper(unsigned char c) {
    return (c >= 0xC0 && c <= 0xDF) || c == cp::kYoUpper;
}
inline bool IsLatin(unsigned char c) {
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}
inline bool IsLatinUpper(unsigned char c) {
    return c >= 'A' && c <= 'Z';
}
inline bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
inline bool IsLetter(unsigned char c) {
    return IsCyrillic(c) || IsLatin(c);
}
inline bool IsUpper(unsigned char c) {
    return IsCyrillicUpper(c) || IsLatinUpper(c);
}
inline bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' ||
           c == cp::kNbsp;
}
// Lower-case Russian vowels: а е ё и о у ы э ю я.
bool IsVowel(unsigned char c);
char Lower(char c);
std::string Lower(std::string_view text);

// A UTF-8 literal of the tables as 1251 text (converted at first use).
std::string W(std::string_view utf8);

}  // namespace lexicon

namespace lexicon {

// A fixed set of words given as UTF-8 literals, held as 1251 text.
class WordSet {
  public:
    WordSet(std::initializer_list<const char*> utf8);
    bool Has(std::string_view word) const;

  private:
    std::vector<std::string> words_;  // sorted
};

inline bool EndsWith(std::string_view w, std::string_view e) {
    return w.size() >= e.size() && w.substr(w.size() - e.size()) == e;
}
inline bool StartsWith(std::string_view w, std::string_view e) {
    return w.size() >= e.size() && w.substr(0, e.size()) == e;
}

}  // namespace lexicon
