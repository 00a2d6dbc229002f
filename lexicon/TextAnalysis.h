// The analysis of one text: tokens and sentences at once, the words of a
// sentence on demand (read, stressed, joined into phonetic words and
// transcribed). The COM object and the command line both use it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "interfaces/IGlossor.h"
#include "stress/StressLexicon.h"
#include "text/Sentences.h"
#include "text/WordReader.h"

namespace lexicon {

class Transcriber;

struct AnalysedWord {
    std::string shown;          // "в э+том"
    std::string transcription;  // "V,E0,T,A2,M" (empty without a transcriber)
    int64_t pos = 0;
    int32_t len = 0;
};

struct AnalysedSyntagma {
    std::vector<AnalysedWord> words;
    std::string type;  // "(.)|(.)"
};

// Most words a syntagma carries; longer ones (a 10,000-digit number) are
// cut into several syntagmas.
inline constexpr size_t kMaxSyntagmaWords = 40;

class TextAnalysis {
  public:
    // Takes the text (up to its first NUL) and the caller's attributes;
    // malformed attributes (null name, negative or out-of-text spans) are
    // ignored.
    void SetText(std::string_view text, const GlossorAttribute* attributes, int32_t count);

    int64_t TextLength() const { return static_cast<int64_t>(text_.size()); }
    int32_t SentenceCount() const { return static_cast<int32_t>(sentences_.size()); }
    const SentenceSpan& Sentence(int32_t index) const {
        return sentences_[static_cast<size_t>(index)];
    }

    // The sentence's syntagmas. Without `stress` the words carry no "+";
    // with a transcriber every word gets a non-empty transcription (words
    // that give none are left out).
    std::vector<AnalysedSyntagma> Words(int32_t index, const StressLexicon& lexicon,
                                        Transcriber* transcriber, bool stress = true) const;

  private:
    struct Pron {
        std::string value;
        int64_t pos;
        int32_t len;
    };
    void ApplyAttributes(const GlossorAttribute* attributes, int32_t count);

    std::string text_;
    std::vector<Token> tokens_;
    std::vector<TokenRequest> requests_;  // empty when there are no attributes
    std::vector<Pron> prons_;
    std::vector<SentenceSpan> sentences_;
};

// The stress of one spoken word: the lexicon for each part of a hyphenated
// word, particles ("-то", "-либо", "-нибудь", "-ка") and prefixes ("по-",
// "кое-") unstressed.
std::string StressWord(std::string_view word, const StressLexicon& lexicon);

}  // namespace lexicon
