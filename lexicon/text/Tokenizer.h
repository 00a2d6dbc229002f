// First stage of the analysis: the 1251 text cut into tokens (words,
// digit runs, punctuation, symbols, blanks), each with its position.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace lexicon {

enum class TokenKind : uint8_t {
    Word,    // letters, with inner hyphens, apostrophes and "+" stress marks
    Number,  // a run of digits
    Punct,   // . , ; : ! ? … — – - ( ) [ ] { } quotes; "..." is one token
    Symbol,  // any other visible character (% $ € № ° + = @ / & ...)
    Space,   // a run of blanks; `newlines` counts its line ends
};

struct Token {
    int64_t pos = 0;
    int32_t len = 0;
    TokenKind kind = TokenKind::Space;
    uint8_t newlines = 0;  // Space only, saturated at 255
    std::string_view Text(std::string_view source) const {
        return source.substr(static_cast<size_t>(pos), static_cast<size_t>(len));
    }
};

// Cuts the whole text; the tokens cover it without gaps. A word longer
// than kMaxWordLength is cut into pieces of that length.
std::vector<Token> Tokenize(std::string_view text);

inline constexpr int32_t kMaxWordLength = 64;
inline constexpr int32_t kMaxNumberLength = 1 << 20;

}  // namespace lexicon
