#include "text/Clitics.h"

#include <algorithm>

#include "text/Charset.h"
#include "text/Pronunciation.h"

namespace lexicon {

namespace {

const WordSet& Proclitics() {
    static const WordSet s{"без", "безо", "в",    "во",   "до",  "за",    "из",    "изо", "к",
                           "ко",  "на",   "над",  "надо", "о",   "об",    "обо",   "от",  "ото",
                           "по",  "под",  "подо", "при",  "про", "с",     "со",    "у",   "для",
                           "и",   "а",    "но",   "не",   "ни",  "из-за", "из-под"};
    return s;
}

const WordSet& Enclitics() {
    static const WordSet s{"ли", "ль", "же", "ж", "бы", "б"};
    return s;
}

bool Consonant(unsigned char c) {
    return IsCyrillic(c) && !IsVowel(c);
}

}  // namespace

bool IsProclitic(std::string_view w) {
    return Proclitics().Has(w);
}
bool IsEnclitic(std::string_view w) {
    return Enclitics().Has(w);
}

void StressedProclitics(std::vector<SpokenWord>& words) {
    static const WordSet verbs{"был",    "было",  "были",   "дал",   "дало",   "дали",  "жил",
                               "жило",   "жили",  "пил",    "пило",  "пили",   "начал", "начало",
                               "начали", "понял", "поняли", "отдал", "отдали", "прожил"};
    static const std::string ne = W("не"), stressed = W("не+");
    for (size_t i = 0; i + 1 < words.size(); ++i)
        if (words[i].proclitic && words[i].text == ne && !words[i + 1].stressKnown &&
            verbs.Has(words[i + 1].text)) {
            words[i].text = stressed;
            words[i + 1].stressKnown = true;
        }
}

void MarkClitics(std::vector<SpokenWord>& words) {
    for (size_t i = 0; i < words.size(); ++i) {
        SpokenWord& w = words[i];
        if (w.stressKnown || !w.pron.empty() || w.spelled) continue;
        if (i + 1 < words.size() && IsProclitic(w.text) && words[i + 1].pron.empty())
            w.proclitic = true;
        else if (i > 0 && IsEnclitic(w.text) && words[i - 1].pron.empty())
            w.enclitic = true;
    }
}

std::string ModuleLetters(const std::vector<const SpokenWord*>& chain) {
    std::string letters;
    bool afterProclitic = false;
    for (const SpokenWord* w : chain) {
        std::string part = w->spelled ? w->text : FixPronunciation(w->text);
        std::string clean;
        for (char c : part)
            if (c != '-' && c != ' ') clean += c;
        if (afterProclitic && !letters.empty() && !clean.empty() &&
            Consonant(static_cast<unsigned char>(letters.back())) &&
            IsVowel(static_cast<unsigned char>(clean[0])))
            letters += '\xFA';  // ъ
        letters += clean;
        afterProclitic = w->proclitic;
    }
    // One primary stress: the last "+"; earlier ones become secondary.
    const size_t last = letters.rfind('+');
    for (size_t i = 0; i < letters.size(); ++i)
        if (letters[i] == '+' && i != last) letters[i] = '-';
    // An unstressed "ё" keeps its sound as a secondary stress.
    std::string out;
    out.reserve(letters.size() + 2);
    for (size_t i = 0; i < letters.size(); ++i) {
        out += letters[i];
        if (static_cast<unsigned char>(letters[i]) == cp::kYo &&
            (i + 1 >= letters.size() || (letters[i + 1] != '+' && letters[i + 1] != '-')))
            out += '-';
    }
    return out;
}

std::vector<PhoneticWord> JoinClitics(const std::vector<SpokenWord>& words) {
    std::vector<PhoneticWord> out;
    std::vector<const SpokenWord*> chain;
    auto flush = [&] {
        if (chain.empty()) return;
        PhoneticWord p;
        for (const SpokenWord* w : chain) {
            if (!p.shown.empty()) p.shown += ' ';
            p.shown += w->text;
        }
        p.letters = ModuleLetters(chain);
        p.pos = chain.front()->pos;
        int64_t end = p.pos;
        for (const SpokenWord* w : chain) {
            p.pos = std::min(p.pos, w->pos);
            end = std::max(end, w->pos + w->len);
        }
        p.len = static_cast<int32_t>(end - p.pos);
        out.push_back(std::move(p));
        chain.clear();
    };
    for (size_t i = 0; i < words.size(); ++i) {
        const SpokenWord& w = words[i];
        if (!w.pron.empty()) {
            flush();
            PhoneticWord p;
            p.pron = w.pron;
            p.shown = w.text;
            p.pos = w.pos;
            p.len = w.len;
            out.push_back(std::move(p));
            continue;
        }
        // The chain is flushed only when the next word comes, so an
        // enclitic always finds the word before it still open.
        if (w.enclitic) {
            chain.push_back(&w);
            continue;
        }
        // A word that is not an enclitic starts a new phonetic word unless the
        // chain ends in a proclitic.
        if (!chain.empty() && !chain.back()->proclitic) flush();
        chain.push_back(&w);
    }
    flush();
    return out;
}

}  // namespace lexicon
