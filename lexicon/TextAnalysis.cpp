#include "TextAnalysis.h"

#include <algorithm>
#include <cstring>

#include "Transcriber.h"
#include "text/Charset.h"
#include "text/Clitics.h"
#include "text/Letters.h"

namespace lexicon {

namespace {

bool NameIs(const char* name, const char* expected) {
    return std::strcmp(name, expected) == 0;
}
bool NameStarts(const char* name, const char* prefix) {
    return std::strncmp(name, prefix, std::strlen(prefix)) == 0;
}

NumberHint HintOf(std::string_view context) {
    std::string c;
    for (char ch : context) c += static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch | 0x20 : ch);
    if (c.find("spell") != std::string::npos) return NumberHint::Spell;
    if (c.find("phone") != std::string::npos || c.find("tel") != std::string::npos)
        return NumberHint::Telephone;
    if (c.find("date") != std::string::npos) return NumberHint::Date;
    if (c.find("time") != std::string::npos) return NumberHint::Time;
    if (c.find("num") != std::string::npos) return NumberHint::Number;
    return NumberHint::None;
}

std::string WithoutStress(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '+'), s.end());
    return s;
}

}  // namespace

std::string StressWord(std::string_view word, const StressLexicon& lexicon) {
    static const WordSet particles{"то", "либо", "нибудь", "ка", "таки", "де", "с"};
    static const WordSet prefixes{"по", "во", "кое", "кой", "в"};
    static const WordSet whole{"из-за", "из-под", "по-над"};
    if (word.find('-') == std::string_view::npos) return lexicon.Stress(word);
    if (whole.Has(word)) {
        std::string out(word);
        // Compound prepositions: the stress of the last part, kept light.
        const size_t dash = out.rfind('-');
        for (size_t i = dash + 1; i < out.size(); ++i)
            if (IsVowel(static_cast<unsigned char>(out[i]))) {
                out.insert(i + 1, "+");
                break;
            }
        return out;
    }
    std::string out;
    size_t start = 0;
    int part = 0;
    while (start <= word.size()) {
        size_t dash = word.find('-', start);
        if (dash == std::string_view::npos) dash = word.size();
        std::string_view p = word.substr(start, dash - start);
        if (part > 0) out += '-';
        const bool last = dash == word.size();
        if (p.empty() || (part > 0 && particles.Has(p)) || (!last && part == 0 && prefixes.Has(p)))
            out += p;
        else
            out += lexicon.Stress(p);
        start = dash + 1;
        ++part;
    }
    return out;
}

void TextAnalysis::SetText(std::string_view text, const GlossorAttribute* attributes,
                           int32_t count) {
    const size_t nul = text.find('\0');
    text_.assign(text.substr(0, nul));
    tokens_ = Tokenize(text_);
    requests_.clear();
    prons_.clear();
    if (attributes != nullptr && count > 0) ApplyAttributes(attributes, count);
    const TokenView all(text_, tokens_, 0, tokens_.size());
    sentences_ = SplitSentences(text_, tokens_, [&](size_t i) {
        return IsReadable(all, i, requests_.empty() ? nullptr : &requests_[i]);
    });
}

void TextAnalysis::ApplyAttributes(const GlossorAttribute* attributes, int32_t count) {
    requests_.assign(tokens_.size(), TokenRequest{});
    const int64_t size = static_cast<int64_t>(text_.size());
    for (int32_t a = 0; a < count; ++a) {
        const GlossorAttribute& attr = attributes[a];
        if (attr.Name == nullptr || attr.Position < 0 || attr.Length < 0 || attr.Position > size)
            continue;
        const int64_t begin = attr.Position;
        const int64_t end = std::min<int64_t>(size, begin + std::max<int32_t>(attr.Length, 1));
        // Tokens that overlap the span.
        auto first = std::upper_bound(tokens_.begin(), tokens_.end(), begin,
                                      [](int64_t p, const Token& t) { return p < t.pos + t.len; });
        auto apply = [&](auto&& set) {
            for (auto it = first; it != tokens_.end() && it->pos < end; ++it)
                set(requests_[static_cast<size_t>(it - tokens_.begin())]);
        };
        const char* name = attr.Name;
        if (NameIs(name, "Spell")) {
            apply([](TokenRequest& r) { r.spell = true; });
        } else if (NameIs(name, "Punc")) {
            apply([](TokenRequest& r) { r.punctuation = true; });
        } else if (NameStarts(name, "Context=")) {
            const NumberHint hint = HintOf(name + 8);
            apply([hint](TokenRequest& r) { r.hint = hint; });
        } else if (NameStarts(name, "Pron=")) {
            if (name[5] == '\0' || prons_.size() >= 100000) continue;
            const int index = static_cast<int>(prons_.size());
            prons_.push_back({std::string(name + 5), begin, static_cast<int32_t>(end - begin)});
            apply([index](TokenRequest& r) { r.pron = index; });
        }
        // "Stress": the "+" marks inside words are always taken; "About" says nothing.
    }
}

std::vector<AnalysedSyntagma> TextAnalysis::Words(int32_t index, const StressLexicon& lexicon,
                                                  Transcriber* transcriber, bool stress) const {
    std::vector<AnalysedSyntagma> out;
    if (index < 0 || index >= SentenceCount()) return out;
    const SentenceSpan& sentence = sentences_[static_cast<size_t>(index)];
    static const std::vector<TokenRequest> kNone;
    std::vector<SpokenWord> spoken;
    for (const SyntagmaSpan& span : sentence.syntagmas) {
        spoken.clear();
        const TokenView view(text_, tokens_, span.begin, span.end);
        ReadWords(view, requests_, spoken);
        // The caller's transcriptions: "Pron=" words carry their index.
        for (SpokenWord& w : spoken)
            if (!w.pron.empty()) {
                const Pron& p = prons_[static_cast<size_t>(std::stoi(w.pron))];
                w.pron = p.value;
                w.pos = p.pos;
                w.len = p.len;
                w.text = Lower(p.value);
            }
        MarkClitics(spoken);
        StressedProclitics(spoken);
        for (SpokenWord& w : spoken) {
            if (!w.pron.empty() || w.proclitic || w.enclitic) continue;
            if (!w.stressKnown) w.text = StressWord(w.text, lexicon);
        }
        if (!stress)
            for (SpokenWord& w : spoken) w.text = WithoutStress(std::move(w.text));
        std::vector<PhoneticWord> words = JoinClitics(spoken);
        const char* type = SyntagmaType(span.boundary);
        AnalysedSyntagma current;
        for (PhoneticWord& p : words) {
            AnalysedWord w;
            w.pos = p.pos;
            w.len = p.len;
            if (transcriber) {
                if (!p.pron.empty()) {
                    // A transcription as written; letters when it is not one.
                    if (transcriber->IsPhonemeList(p.pron))
                        w.transcription = p.pron;
                    else
                        w.transcription = transcriber->Transcribe(p.pron);
                    p.shown = Lower(p.pron);
                } else {
                    w.transcription = transcriber->Transcribe(p.letters);
                    if (w.transcription.empty())
                        w.transcription = transcriber->Transcribe(WithoutStress(p.letters));
                    if (w.transcription.empty()) {
                        std::string spelled = Spell(WithoutStress(p.shown));
                        spelled.erase(std::remove(spelled.begin(), spelled.end(), '-'),
                                      spelled.end());
                        w.transcription = transcriber->Transcribe(spelled);
                    }
                }
                if (w.transcription.empty()) continue;
            }
            w.shown = std::move(p.shown);
            if (current.words.size() >= kMaxSyntagmaWords) {
                current.type = SyntagmaType(Boundary::Split);
                out.push_back(std::move(current));
                current = AnalysedSyntagma{};
            }
            current.words.push_back(std::move(w));
        }
        if (!current.words.empty()) {
            current.type = type;
            out.push_back(std::move(current));
        }
    }
    return out;
}

}  // namespace lexicon
