#include "text/Tokenizer.h"

#include "text/Charset.h"

namespace lexicon {

namespace {

bool IsPunct(unsigned char c) {
    switch (c) {
        case '.':
        case ',':
        case ';':
        case ':':
        case '!':
        case '?':
        case '-':
        case '(':
        case ')':
        case '[':
        case ']':
        case '{':
        case '}':
        case '"':
        case '\'':
        case cp::kEllipsis:
        case cp::kEmDash:
        case cp::kEnDash:
        case cp::kLeftGuill:
        case cp::kRightGuill:
        case 0x84:
        case 0x93:
        case 0x94:
        case 0x91:
        case 0x92:  // „ “ ” ‘ ’
            return true;
        default:
            return false;
    }
}

// Inner joiners of a word: a hyphen or an apostrophe between two letters.
bool JoinsLetters(std::string_view t, size_t i) {
    const auto c = static_cast<unsigned char>(t[i]);
    if (c != '-' && c != '\'' && c != 0x92) return false;
    return i > 0 && i + 1 < t.size() && IsLetter(static_cast<unsigned char>(t[i - 1])) &&
           IsLetter(static_cast<unsigned char>(t[i + 1]));
}

// A "+" right after a Cyrillic vowel of a word marks its stress.
bool IsStressMark(std::string_view t, size_t i) {
    if (t[i] != '+' || i == 0) return false;
    const auto prev = static_cast<unsigned char>(Lower(t[i - 1]));
    if (!IsVowel(prev)) return false;
    return i + 1 >= t.size() || !IsDigit(static_cast<unsigned char>(t[i + 1]));
}

}  // namespace

std::vector<Token> Tokenize(std::string_view t) {
    std::vector<Token> out;
    out.reserve(t.size() / 3 + 1);
    size_t i = 0;
    while (i < t.size()) {
        const auto c = static_cast<unsigned char>(t[i]);
        Token tok;
        tok.pos = static_cast<int64_t>(i);
        size_t j = i + 1;
        if (IsLetter(c)) {
            tok.kind = TokenKind::Word;
            while (j < t.size() && j - i < kMaxWordLength) {
                const auto d = static_cast<unsigned char>(t[j]);
                if (IsLetter(d) || JoinsLetters(t, j) || IsStressMark(t, j))
                    ++j;
                else
                    break;
            }
        } else if (IsDigit(c)) {
            tok.kind = TokenKind::Number;
            while (j < t.size() && IsDigit(static_cast<unsigned char>(t[j])) &&
                   j - i < kMaxNumberLength)
                ++j;
        } else if (IsBlank(c) || c == 0) {
            tok.kind = TokenKind::Space;
            unsigned lines = c == '\n';
            while (j < t.size() && (IsBlank(static_cast<unsigned char>(t[j])) || t[j] == 0)) {
                lines += t[j] == '\n';
                ++j;
            }
            tok.newlines = static_cast<uint8_t>(lines > 255 ? 255 : lines);
        } else if (IsPunct(c)) {
            tok.kind = TokenKind::Punct;
            if (c == '.')
                while (j < t.size() && t[j] == '.') ++j;
            else if (c == '!' || c == '?')
                while (j < t.size() && (t[j] == '!' || t[j] == '?')) ++j;
        } else {
            tok.kind = TokenKind::Symbol;
        }
        tok.len = static_cast<int32_t>(j - i);
        out.push_back(tok);
        i = j;
    }
    return out;
}

}  // namespace lexicon
