// What the reading stages produce: words as they are spoken, each tied to
// the span of text it came from.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/Tokenizer.h"

namespace lexicon {

struct SpokenWord {
    std::string text;  // lower-case 1251 letters; "+" after a known stressed vowel, "-" joins parts
    int64_t pos = 0;   // source span
    int32_t len = 0;
    bool stressKnown = false;  // text carries its stress (tables, the user's "+")
    bool proclitic = false;    // unstressed, joins the next word
    bool enclitic = false;     // unstressed, joins the previous word
    bool spelled = false;      // letter names: no pronunciation fixes
    std::string pron;          // a transcription given by the caller ("Pron=")
};

// Read access to the tokens of one syntagma, with the questions the readers ask.
class TokenView {
  public:
    TokenView(std::string_view text, const std::vector<Token>& tokens, size_t begin, size_t end)
        : text_(text), tokens_(tokens), begin_(begin), end_(end) {}

    size_t Begin() const { return begin_; }
    size_t End() const { return end_; }
    bool Valid(size_t i) const { return i >= begin_ && i < end_; }
    TokenKind Kind(size_t i) const { return tokens_[i].kind; }
    bool Is(size_t i, TokenKind k) const { return Valid(i) && tokens_[i].kind == k; }
    const Token& At(size_t i) const { return tokens_[i]; }
    std::string_view Text(size_t i) const { return tokens_[i].Text(text_); }
    unsigned char First(size_t i) const {
        return static_cast<unsigned char>(text_[static_cast<size_t>(tokens_[i].pos)]);
    }
    // Punctuation or symbol token i is exactly the character c.
    bool IsChar(size_t i, unsigned char c) const {
        return Valid(i) &&
               (tokens_[i].kind == TokenKind::Punct || tokens_[i].kind == TokenKind::Symbol) &&
               tokens_[i].len == 1 && First(i) == c;
    }
    // Next token that is not a blank, or End().
    size_t NextSolid(size_t i) const {
        size_t j = i + 1;
        while (j < end_ && tokens_[j].kind == TokenKind::Space) ++j;
        return j < end_ ? j : end_;
    }
    // Previous token that is not a blank, or SIZE_MAX.
    size_t PrevSolid(size_t i) const {
        size_t j = i;
        while (j > begin_) {
            --j;
            if (tokens_[j].kind != TokenKind::Space) return j;
        }
        return SIZE_MAX;
    }
    std::string_view Source() const { return text_; }

  private:
    std::string_view text_;
    const std::vector<Token>& tokens_;
    size_t begin_, end_;
};

}  // namespace lexicon
