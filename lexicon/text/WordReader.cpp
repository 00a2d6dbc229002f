#include "text/WordReader.h"

#include <array>
#include <unordered_map>

#include "text/Charset.h"
#include "text/Letters.h"
#include "text/NumberGrammar.h"
#include "text/NumberWords.h"

namespace lexicon {

namespace {

struct Readings {
    std::array<std::string, 256> symbol;
    std::array<std::string, 256> punct;
    // Abbreviations standing alone (not after a number).
    std::unordered_map<std::string, std::string> abbreviation;
    std::unordered_map<std::string, std::string> pair;  // "т"+"е" -> "то е+сть"
    std::string dot = W("то+чка");
    // Abbreviations of places that take the case of their preposition:
    // "в г. Москве" is "в го+роде".
    std::unordered_map<std::string, std::array<std::string, 6>> cased;
};

const Readings& R() {
    static const Readings r = [] {
        Readings built;
        auto sym = [&](unsigned char c, const char* w) { built.symbol[c] = W(w); };
        sym('%', "проце+нт");
        sym('$', "до+ллар");
        sym(cp::kEuro, "е+вро");
        sym(cp::kNumero, "но+мер");
        sym(cp::kDegree, "гра+дус");
        sym('+', "плю+с");
        sym('=', "равно+");
        sym('@', "соба+ка");
        sym('&', "и");
        sym('*', "звёздочка");
        sym('/', "слэ+ш");
        sym('#', "решётка");
        sym(cp::kSection, "пара+граф");
        sym(cp::kPlusMinus, "плю+с ми+нус");
        sym('<', "ме+ньше");
        sym('>', "бо+льше");
        sym(cp::kPermille, "проми+лле");
        sym('^', "в сте+пени");
        sym('~', "тильда+");
        sym('\\', "обра+тный слэ+ш");
        sym('_', "подчёркивание");
        sym('|', "вертика+льная черта+");
        auto punct = [&](unsigned char c, const char* w) { built.punct[c] = W(w); };
        punct('.', "то+чка");
        punct(',', "запята+я");
        punct(';', "то+чка с запято+й");
        punct(':', "двоето+чие");
        punct('!', "восклица+тельный зна+к");
        punct('?', "вопроси+тельный зна+к");
        punct('-', "дефи+с");
        punct(cp::kEnDash, "тире+");
        punct(cp::kEmDash, "тире+");
        punct('(', "откры+вающая ско+бка");
        punct(')', "закры+вающая ско+бка");
        punct('[', "откры+вающая квадра+тная ско+бка");
        punct(']', "закры+вающая квадра+тная ско+бка");
        punct('{', "откры+вающая фигу+рная ско+бка");
        punct('}', "закры+вающая фигу+рная ско+бка");
        punct('"', "кавы+чки");
        punct('\'', "апостро+ф");
        punct(cp::kLeftGuill, "кавы+чки");
        punct(cp::kRightGuill, "кавы+чки");
        punct(0x84, "кавы+чки");
        punct(0x93, "кавы+чки");
        punct(0x94, "кавы+чки");
        punct(cp::kEllipsis, "многото+чие");
        auto abbr = [&](const char* a, const char* w) { built.abbreviation[W(a)] = W(w); };
        abbr("г", "го+род");
        abbr("гг", "го+ды");
        abbr("ул", "у+лица");
        abbr("им", "и+мени");
        abbr("др", "други+е");
        abbr("см", "смотри+");
        abbr("стр", "страни+ца");
        abbr("рис", "рису+нок");
        abbr("табл", "табли+ца");
        abbr("тыс", "ты+сяч");
        abbr("млн", "миллио+нов");
        abbr("млрд", "миллиа+рдов");
        abbr("руб", "рубле+й");
        abbr("коп", "копе+ек");
        abbr("км", "киломе+тров");
        abbr("кг", "килогра+ммов");
        abbr("мм", "миллиме+тров");
        abbr("тел", "телефо+н");
        abbr("напр", "наприме+р");
        abbr("проф", "профе+ссор");
        abbr("акад", "акаде+мик");
        abbr("вв", "века+");
        abbr("в", "ве+к");
        abbr("обл", "о+бласть");
        abbr("кв", "кварти+ра");
        abbr("д", "до+м");
        abbr("пр", "про+чее");
        abbr("ср", "сравни+");
        auto cased = [&](const char* a, std::initializer_list<const char*> forms) {
            std::array<std::string, 6>& f = built.cased[W(a)];
            int i = 0;
            for (const char* form : forms) f[static_cast<size_t>(i++)] = W(form);
        };
        cased("г", {"го+род", "го+рода", "го+роду", "го+род", "го+родом", "го+роде"});
        cased("ул", {"у+лица", "у+лицы", "у+лице", "у+лицу", "у+лицей", "у+лице"});
        cased("д", {"до+м", "до+ма", "до+му", "до+м", "до+мом", "до+ме"});
        cased("кв",
              {"кварти+ра", "кварти+ры", "кварти+ре", "кварти+ру", "кварти+рой", "кварти+ре"});
        cased("обл", {"о+бласть", "о+бласти", "о+бласти", "о+бласть", "о+бластью", "о+бласти"});
        auto pair = [&](const char* a, const char* w) { built.pair[W(a)] = W(w); };
        pair("т е", "то е+сть");
        pair("т д", "так да+лее");
        pair("т п", "тому+ подо+бное");
        pair("т к", "так как");
        pair("н э", "на+шей э+ры");
        pair("до н", "до на+шей");
        return built;
    }();
    return r;
}

class Reader {
  public:
    Reader(const TokenView& v, const std::vector<TokenRequest>& req, std::vector<SpokenWord>& out)
        : v_(v), req_(req), out_(out) {}

    void Run() {
        size_t i = v_.Begin();
        while (i < v_.End()) i = Step(i);
    }

  private:
    const TokenRequest* Req(size_t i) const { return req_.empty() ? nullptr : &req_[i]; }

    void Say(std::string_view text, size_t from, size_t to, bool stressKnown = false) {
        SpokenWord w;
        w.text = text;
        w.pos = v_.At(from).pos;
        w.len = static_cast<int32_t>(v_.At(to).pos + v_.At(to).len - w.pos);
        w.stressKnown = stressKnown || text.find('+') != std::string_view::npos;
        out_.push_back(std::move(w));
    }
    // A reading of several words ("то+чка с запято+й").
    void SayWords(const std::string& text, size_t from, size_t to) {
        size_t start = 0;
        while (start < text.size()) {
            size_t sp = text.find(' ', start);
            if (sp == std::string::npos) sp = text.size();
            if (sp > start) Say(std::string_view(text).substr(start, sp - start), from, to, true);
            start = sp + 1;
        }
    }

    size_t Step(size_t i) {
        const TokenRequest* rq = Req(i);
        const TokenKind kind = v_.Kind(i);
        if (rq && rq->pron >= 0) {
            SpokenWord w;
            w.pron = std::to_string(rq->pron);
            w.pos = v_.At(i).pos;
            w.len = v_.At(i).len;
            w.stressKnown = true;
            out_.push_back(std::move(w));
            size_t j = i + 1;
            while (j < v_.End() && Req(j) && Req(j)->pron == rq->pron) ++j;
            return j;
        }
        if (rq && (rq->spell || rq->hint == NumberHint::Spell) && kind != TokenKind::Space) {
            std::string_view t = v_.Text(i);
            if (kind == TokenKind::Word || kind == TokenKind::Number) {
                for (unsigned char c : t) {
                    const std::string name = LetterName(c);
                    if (!name.empty()) SayWords(name, i, i);
                }
                for (size_t k = out_.size(); k-- > 0 && out_[k].pos == v_.At(i).pos;)
                    out_[k].spelled = true;
                return i + 1;
            }
        }
        switch (kind) {
            case TokenKind::Space:
                return i + 1;
            case TokenKind::Number:
                return ReadNumber(v_, i, rq ? rq->hint : NumberHint::None, out_);
            case TokenKind::Word:
                return Word(i);
            case TokenKind::Symbol:
            case TokenKind::Punct:
                return Mark(i, rq);
        }
        return i + 1;
    }

    size_t Mark(size_t i, const TokenRequest* rq) {
        if (StartsNumber(v_, i)) return ReadNumber(v_, i, rq ? rq->hint : NumberHint::None, out_);
        const unsigned char c = v_.First(i);
        if (v_.Kind(i) == TokenKind::Punct) {
            if (rq && rq->punctuation) {
                for (size_t k = 0; k < static_cast<size_t>(v_.At(i).len); ++k) {
                    const std::string& name = R().punct[static_cast<unsigned char>(v_.Text(i)[k])];
                    if (!name.empty()) SayWords(name, i, i);
                }
                return i + 1;
            }
            // A dot inside an address: "example.com".
            if (c == '.' && v_.At(i).len == 1 && v_.Is(i + 1, TokenKind::Word) && i > v_.Begin() &&
                v_.Is(i - 1, TokenKind::Word)) {
                Say(R().dot, i, i, true);
            }
            return i + 1;
        }
        const std::string& reading = R().symbol[c];
        if (!reading.empty()) SayWords(reading, i, i);
        return i + 1;
    }

    size_t Word(size_t i) {
        const std::string_view raw = v_.Text(i);
        const std::string lower = Lower(raw);
        const unsigned char first = v_.First(i);
        const bool period = v_.IsChar(i + 1, '.');
        // Two-part abbreviations: "т.е.", "т. д.", "н.э.".
        if (period) {
            size_t j = v_.NextSolid(i + 1);
            if (v_.Is(j, TokenKind::Word)) {
                auto it = R().pair.find(lower + " " + Lower(v_.Text(j)));
                if (it != R().pair.end()) {
                    const size_t last = v_.IsChar(j + 1, '.') ? j + 1 : j;
                    SayWords(it->second, i, last);
                    return last + 1;
                }
            }
        }
        if (IsLatin(first)) {
            // "XVIII-м", "XX-го": a Roman numeral with an ordinal ending.
            if (const size_t dash = raw.find('-'); dash != std::string_view::npos) {
                const int roman = RomanValue(raw.substr(0, dash));
                const std::string ending = lower.substr(dash + 1);
                Agreement a;
                if (roman > 0 &&
                    raw.substr(0, dash).find_first_not_of("IVX") == std::string_view::npos &&
                    !ending.empty() && IsCyrillic(static_cast<unsigned char>(ending[0])) &&
                    OrdinalEnding(ending, std::to_string(roman), PrevLower(i), NextLower(i), &a)) {
                    std::vector<std::string> words;
                    Ordinal(std::to_string(roman), a.c, a.g, words);
                    for (const std::string& w : words) Say(w, i, i, true);
                    return i + 1;
                }
            }
            // Roman numerals after a name or before a word: "Пётр I", "XX век".
            if (const int roman = RomanValue(raw); roman > 0 && RomanInContext(i, raw)) {
                return Roman(i, roman);
            }
            const std::string reading = ReadLatin(raw);
            Say(reading, i, i, reading.find('+') != std::string::npos);
            return i + 1;
        }
        if (IsInitialism(raw) && SpellInitialism(raw)) {
            Say(ReadInitialism(raw), i, i, true);
            return i + 1;
        }
        if (period) {
            if (auto c = R().cased.find(lower); c != R().cased.end() && CasedInContext(i, lower)) {
                Say(c->second[static_cast<size_t>(PlaceCase(i))], i, i + 1, true);
                return i + 2;
            }
            auto it = R().abbreviation.find(lower);
            // One-letter abbreviations only where a period follows and a
            // capitalised word does not ("г. Москва" yes, "в." no).
            if (it != R().abbreviation.end() && (lower.size() > 1 || lower == W("г"))) {
                SayWords(it->second, i, i + 1);
                return i + 2;
            }
        }
        auto it = R().abbreviation.find(lower);
        if (it != R().abbreviation.end() && lower.size() >= 2 && !period &&
            (lower == W("млн") || lower == W("млрд") || lower == W("км") || lower == W("кг") ||
             lower == W("мм"))) {
            SayWords(it->second, i, i);
            return i + 1;
        }
        Say(lower, i, i);
        return i + 1;
    }

    // "г." is a city before a name, not a year after a number; "д." and
    // "кв." stand before a number.
    bool CasedInContext(size_t i, const std::string& lower) const {
        const size_t p = v_.PrevSolid(i);
        if (p != SIZE_MAX && v_.Kind(p) == TokenKind::Number) return false;
        const size_t n = v_.NextSolid(i + 1);
        if (lower.size() == 1 && lower != W("г")) return v_.Is(n, TokenKind::Number);
        return true;
    }

    int PlaceCase(size_t i) const {
        static const WordSet locative{"в", "во", "на", "о", "об", "при"};
        const size_t p = v_.PrevSolid(i);
        if (p == SIZE_MAX || v_.Kind(p) != TokenKind::Word) return static_cast<int>(Case::Nom);
        const std::string prep = Lower(v_.Text(p));
        if (locative.Has(prep)) return static_cast<int>(Case::Prep);
        return static_cast<int>(CaseOfPreposition(prep, {}, true));
    }

    // Only numerals of I, V and X up to 39 are taken for Roman ("CD" and
    // "MIX" are words), and only after a name or before a Russian word.
    bool RomanInContext(size_t i, std::string_view raw) const {
        if (raw.find_first_not_of("IVX") != std::string_view::npos) return false;
        const size_t p = v_.PrevSolid(i);
        const bool afterName =
            p != SIZE_MAX && v_.Kind(p) == TokenKind::Word && IsCyrillicUpper(v_.First(p));
        const size_t n = v_.NextSolid(i);
        const bool beforeWord = v_.Is(n, TokenKind::Word) && IsCyrillic(v_.First(n));
        return afterName || beforeWord;
    }

    std::string PrevLower(size_t i) const {
        const size_t p = v_.PrevSolid(i);
        return p != SIZE_MAX && v_.Kind(p) == TokenKind::Word ? Lower(v_.Text(p)) : std::string();
    }
    std::string NextLower(size_t i) const {
        const size_t n = v_.NextSolid(i);
        return v_.Is(n, TokenKind::Word) ? Lower(v_.Text(n)) : std::string();
    }

    size_t Roman(size_t i, int value) {
        // The case from the noun after it: "XX век", "XX века", "в XX веке".
        const size_t n = v_.NextSolid(i);
        Case c = Case::Nom;
        if (v_.Is(n, TokenKind::Word)) {
            const std::string noun = Lower(v_.Text(n));
            static const std::string ga = W("а"), ge = W("е"), gom = W("ом"), gu = W("у");
            if (IsCyrillicUpper(v_.First(n)))
                c = Case::Nom;
            else if (EndsWith(noun, gom))
                c = Case::Ins;
            else if (EndsWith(noun, ge))
                c = Case::Prep;
            else if (EndsWith(noun, gu))
                c = Case::Dat;
            else if (EndsWith(noun, ga))
                c = Case::Gen;
        }
        std::vector<std::string> words;
        Ordinal(std::to_string(value), c, Gender::Masc, words);
        for (const std::string& w : words) Say(w, i, i, true);
        return i + 1;
    }

    const TokenView& v_;
    const std::vector<TokenRequest>& req_;
    std::vector<SpokenWord>& out_;
};

}  // namespace

const std::string& SymbolReading(unsigned char c) {
    return R().symbol[c];
}
const std::string& PunctuationReading(unsigned char c) {
    return R().punct[c];
}

bool IsReadable(const TokenView& v, size_t i, const TokenRequest* request) {
    switch (v.Kind(i)) {
        case TokenKind::Word:
        case TokenKind::Number:
            return true;
        case TokenKind::Space:
            return request && request->pron >= 0;
        case TokenKind::Symbol:
            return !SymbolReading(v.First(i)).empty() || StartsNumber(v, i) ||
                   (request && request->pron >= 0);
        case TokenKind::Punct:
            return (request && (request->punctuation || request->pron >= 0)) || StartsNumber(v, i);
    }
    return false;
}

void ReadWords(const TokenView& v, const std::vector<TokenRequest>& requests,
               std::vector<SpokenWord>& out) {
    Reader(v, requests, out).Run();
}

}  // namespace lexicon
