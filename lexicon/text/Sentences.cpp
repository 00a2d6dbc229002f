#include "text/Sentences.h"

#include <string>
#include <unordered_set>

#include "text/Charset.h"

namespace lexicon {

bool IsAbbreviationWithPeriod(std::string_view lowerWord) {
    static const std::unordered_set<std::string> words = [] {
        std::unordered_set<std::string> s;
        for (const char* w :
             {"т",    "е",    "д",   "п",   "г",    "гг",   "руб",  "коп", "тыс", "млн", "млрд",
              "см",   "стр",  "им",  "др",  "пр",   "ул",   "кв",   "обл", "р",   "ок",  "с",
              "вв",   "в",    "н",   "э",   "рис",  "табл", "гл",   "т.е", "т.д", "т.п", "ср",
              "напр", "англ", "рус", "лат", "проф", "акад", "доц",  "тел", "мин", "сек", "ч",
              "км",   "кг",   "мм",  "м",   "л",    "ст",   "корп", "пос", "дер"})
            s.insert(W(w));
        return s;
    }();
    return words.count(std::string(lowerWord)) != 0;
}

namespace {

class Splitter {
  public:
    Splitter(std::string_view text, const std::vector<Token>& tokens,
             const std::function<bool(size_t)>& readable)
        : text_(text), tokens_(tokens), readable_(readable) {}

    std::vector<SentenceSpan> Run() {
        for (size_t i = 0; i < tokens_.size(); ++i) Step(i);
        EndSentence(tokens_.size(), Boundary::Period);
        return std::move(out_);
    }

  private:
    unsigned char Char(size_t i) const {
        return static_cast<unsigned char>(text_[static_cast<size_t>(tokens_[i].pos)]);
    }
    bool Is(size_t i, TokenKind k) const { return i < tokens_.size() && tokens_[i].kind == k; }
    // Both neighbours are digits, with nothing between ("2,5", "7:30").
    bool BetweenNumbers(size_t i) const {
        return i > 0 && Is(i - 1, TokenKind::Number) && Is(i + 1, TokenKind::Number);
    }
    // The next token is a letter or digit right after this one ("т.е.", "a.b").
    bool GluedToNext(size_t i) const {
        return Is(i + 1, TokenKind::Word) || Is(i + 1, TokenKind::Number);
    }
    size_t NextNonSpace(size_t i) const {
        size_t j = i + 1;
        while (j < tokens_.size() && tokens_[j].kind == TokenKind::Space) ++j;
        return j;
    }
    bool StartsLower(size_t j) const {
        return j < tokens_.size() && (tokens_[j].kind == TokenKind::Word && !IsUpper(Char(j)));
    }
    bool StartsUpper(size_t j) const {
        return j < tokens_.size() && tokens_[j].kind == TokenKind::Word && IsUpper(Char(j));
    }

    bool PeriodEndsSentence(size_t i) const {
        if (GluedToNext(i)) return false;
        if (i == 0 || !Is(i - 1, TokenKind::Word)) return true;
        const std::string_view word = tokens_[i - 1].Text(text_);
        const size_t next = NextNonSpace(i);
        // An initial: "А. С. Пушкин".
        if (word.size() == 1 && IsUpper(static_cast<unsigned char>(word[0])) && StartsUpper(next))
            return false;
        const std::string lower = Lower(word);
        // Abbreviations that stand before a name or number ("г. Москва",
        // "ул. Ленина", "д. 7") never end a sentence; "г." after a number
        // is a year and may.
        static const WordSet beforeName{
            "г",   "ул",  "д",   "им",  "пр",   "кв", "обл", "пос", "ст",  "св",    "проф", "акад",
            "доц", "тел", "стр", "рис", "табл", "гл", "пл",  "пер", "наб", "просп", "корп", "р-н"};
        if (beforeName.Has(lower)) {
            size_t p = i - 1;
            while (p > 0 && tokens_[p - 1].kind == TokenKind::Space) --p;
            const bool afterNumber = p > 0 && tokens_[p - 1].kind == TokenKind::Number;
            if (!(lower == W("г") && afterNumber)) return false;
        }
        if (IsAbbreviationWithPeriod(lower))
            return !(StartsLower(next) || Is(next, TokenKind::Number) ||
                     Is(next, TokenKind::Punct));
        return true;
    }

    void Step(size_t i) {
        const Token& tok = tokens_[i];
        if (tok.kind == TokenKind::Space) {
            if (tok.newlines >= 2) EndSentence(i, Boundary::Period);
            return;
        }
        if (tok.kind == TokenKind::Punct) {
            Punct(i);
            return;
        }
        if (!readable_(i)) return;
        if (count_ >= kMaxSyntagmaTokens) {
            EndSyntagma(i, Boundary::Split);
            if (sentence_.syntagmas.size() >= kMaxSentenceSyntagmas)
                EndSentence(i, Boundary::Split);
        }
        if (count_ == 0 && sentence_.syntagmas.empty()) first_ = tok.pos;
        ++count_;
        last_ = tok.pos + tok.len;
        if (words_ < 3 && tok.kind == TokenKind::Word) {
            ++words_;
            if (IsQuestionWord(Lower(tok.Text(text_)))) questionWord_ = true;
        }
    }

    void Punct(size_t i) {
        const unsigned char c = Char(i);
        const Token& tok = tokens_[i];
        const size_t next = NextNonSpace(i);
        switch (c) {
            case '.':
                if (tok.len == 1) {
                    if (BetweenNumbers(i) || !PeriodEndsSentence(i)) return Keep(i);
                    return EndSentence(i + 1, Boundary::Period);
                }
                [[fallthrough]];
            case cp::kEllipsis:
                if (StartsLower(next)) return EndSyntagma(i + 1, Boundary::Ellipsis);
                return EndSentence(i + 1, Boundary::Ellipsis);
            case '!':
            case '?': {
                bool question = tok.Text(text_).find('?') != std::string_view::npos;
                Boundary b = !question       ? Boundary::Exclamation
                             : questionWord_ ? Boundary::SpecialQuestion
                                             : Boundary::GeneralQuestion;
                return EndSentence(i + 1, b);
            }
            case ',':
                if (BetweenNumbers(i)) return Keep(i);
                return EndSyntagma(i + 1, Boundary::Comma);
            case ';':
                return EndSyntagma(i + 1, Boundary::Semicolon);
            case ':':
                if (BetweenNumbers(i)) return Keep(i);
                return EndSyntagma(i + 1, Boundary::Colon);
            case '-':
            case cp::kEnDash:
            case cp::kEmDash: {
                const bool spaceBefore = i == 0 || Is(i - 1, TokenKind::Space);
                const bool spaceAfter = i + 1 >= tokens_.size() || Is(i + 1, TokenKind::Space);
                if (spaceBefore && spaceAfter) return EndSyntagma(i + 1, Boundary::Dash);
                if (c == cp::kEmDash && (spaceBefore || spaceAfter))
                    return EndSyntagma(i + 1, Boundary::Dash);
                return Keep(i);
            }
            case '(':
            case '[':
            case '{':
                return EndSyntagma(i, Boundary::Parenthesis);
            case ')':
            case ']':
            case '}':
                return EndSyntagma(i + 1, Boundary::Parenthesis);
            default:
                return Keep(i);
        }
    }

    // Punctuation inside a syntagma: it is read only when readable says so.
    void Keep(size_t i) {
        if (!readable_(i)) return;
        if (count_ == 0 && sentence_.syntagmas.empty()) first_ = tokens_[i].pos;
        ++count_;
        last_ = tokens_[i].pos + tokens_[i].len;
    }

    void EndSyntagma(size_t end, Boundary b) {
        if (end > begin_ && end - 1 < tokens_.size() && tokens_[end - 1].kind == TokenKind::Punct &&
            readable_(end - 1)) {
            // Punctuation read aloud belongs to the syntagma it closes.
            if (count_ == 0 && sentence_.syntagmas.empty()) first_ = tokens_[end - 1].pos;
            ++count_;
            last_ = tokens_[end - 1].pos + tokens_[end - 1].len;
        }
        if (count_ > 0) {
            sentence_.syntagmas.push_back({begin_, static_cast<uint32_t>(end), b});
        } else if (!sentence_.syntagmas.empty() && IsSentenceEnd(b)) {
            sentence_.syntagmas.back().boundary = b;
        }
        begin_ = static_cast<uint32_t>(end);
        count_ = 0;
    }

    static bool IsSentenceEnd(Boundary b) {
        return b == Boundary::Period || b == Boundary::Ellipsis || b == Boundary::Exclamation ||
               b == Boundary::GeneralQuestion || b == Boundary::SpecialQuestion;
    }

    void EndSentence(size_t end, Boundary b) {
        // A forced split ends the sentence as a statement would.
        EndSyntagma(end, b == Boundary::Split ? Boundary::Period : b);
        if (!sentence_.syntagmas.empty()) {
            sentence_.pos = first_;
            sentence_.len = static_cast<int32_t>(last_ - first_);
            out_.push_back(std::move(sentence_));
        }
        sentence_ = SentenceSpan{};
        words_ = 0;
        questionWord_ = false;
    }

    std::string_view text_;
    const std::vector<Token>& tokens_;
    const std::function<bool(size_t)>& readable_;
    std::vector<SentenceSpan> out_;
    SentenceSpan sentence_;
    uint32_t begin_ = 0;
    int count_ = 0;
    int words_ = 0;
    bool questionWord_ = false;
    int64_t first_ = 0;
    int64_t last_ = 0;
};

}  // namespace

std::vector<SentenceSpan> SplitSentences(std::string_view text, const std::vector<Token>& tokens,
                                         const std::function<bool(size_t)>& readable) {
    return Splitter(text, tokens, readable).Run();
}

}  // namespace lexicon
