#include "text/NumberReader.h"

#include "text/Charset.h"
#include "text/NumberGrammar.h"
#include "text/NumberWords.h"

namespace lexicon {

namespace {

struct Words {
    const std::string minus = W("ми+нус");
    const std::string plus = W("плю+с");
    const std::string number = W("но+мер");
    const std::string slash = W("дро+бь");
    const std::string comma = W("запята+я");
    const std::string hyphen = W("дефи+с");
    const std::string point = W("то+чка");
    const std::string dash = W("тире+");
    const std::string wholeSg[6] = {W("це+лая"), W("це+лой"), W("це+лой"),
                                    W("це+лую"), W("це+лой"), W("це+лой")};
    const std::string wholePl[6] = {W("це+лых"), W("це+лых"),  W("це+лым"),
                                    W("це+лых"), W("це+лыми"), W("це+лых")};
    const std::string year = W("го+да");
    const WordSet genitivePrepositions{"с",        "со",     "до",    "от",      "после", "около",
                                       "из",       "без",    "для",   "у",       "кроме", "вместо",
                                       "накануне", "начала", "конца", "середины"};
    const WordSet locativePrepositions{"в", "во", "на", "о", "об", "при"};
    const WordSet dativePrepositions{"к", "ко", "по"};
    const WordSet instrumentalPrepositions{"перед", "над", "между", "за", "под"};
    const std::string g = W("г");
    const std::string s = W("с");
    const std::string godu = W("году");
    const std::string gg = W("гг");
    const std::string v = W("в");
    const std::string vv = W("вв");
};

const Words& K() {
    static const Words k;
    return k;
}

int Idx(Case c) {
    return static_cast<int>(c);
}

std::string_view StripZeros(std::string_view d) {
    while (d.size() > 1 && d[0] == '0') d.remove_prefix(1);
    return d;
}

long long Value(std::string_view d) {
    d = StripZeros(d);
    if (d.size() > 15) return -1;
    long long v = 0;
    for (char c : d) v = v * 10 + (c - '0');
    return v;
}

bool IsNumber(const TokenView& v, size_t i) {
    return v.Is(i, TokenKind::Number);
}

// The parts of a construct glued by one separator: "12.04.1961", "7:30".
struct Glued {
    std::vector<std::string_view> parts;
    unsigned char separator = 0;
    size_t next = 0;  // token after the last part
};

Glued Collect(const TokenView& v, size_t i, unsigned char sep, size_t maxParts) {
    Glued g;
    g.separator = sep;
    g.parts.push_back(v.Text(i));
    size_t j = i + 1;
    while (g.parts.size() < maxParts && v.IsChar(j, sep) && IsNumber(v, j + 1)) {
        g.parts.push_back(v.Text(j + 1));
        j += 2;
    }
    g.next = j;
    return g;
}

class Reader {
  public:
    Reader(const TokenView& v, NumberHint hint, std::vector<SpokenWord>& out)
        : v_(v), hint_(hint), out_(out) {}

    size_t Read(size_t i) {
        start_ = i;
        const size_t firstOut = out_.size();
        size_t end = ReadConstruct(i);
        if (end <= i) end = i + 1;
        // Every word of the construct points at all of it.
        const int64_t pos = v_.At(i).pos;
        const Token& last = v_.At(lastToken_ > i ? lastToken_ : i);
        const auto len = static_cast<int32_t>(last.pos + last.len - pos);
        for (size_t k = firstOut; k < out_.size(); ++k) {
            out_[k].pos = pos;
            out_[k].len = len;
            out_[k].stressKnown = true;
        }
        return end;
    }

  private:
    void Say(const std::string& w) {
        SpokenWord s;
        s.text = w;
        out_.push_back(std::move(s));
    }
    void SayAll(const std::vector<std::string>& ws) {
        for (const std::string& w : ws) Say(w);
    }
    void Consumed(size_t lastToken) {
        if (lastToken > lastToken_) lastToken_ = lastToken;
    }

    // The lower-case word before token i within the syntagma ("" if none).
    std::string PrevWord(size_t i) const {
        const size_t p = v_.PrevSolid(i);
        if (p == SIZE_MAX || v_.Kind(p) != TokenKind::Word) return {};
        return Lower(v_.Text(p));
    }
    // The lower-case word after token i, and its index.
    std::string NextWord(size_t i, size_t* at = nullptr) const {
        const size_t n = v_.NextSolid(i - 1);
        if (at) *at = n;
        if (!v_.Valid(n)) return {};
        if (v_.Kind(n) == TokenKind::Word) return Lower(v_.Text(n));
        if (v_.Kind(n) == TokenKind::Symbol && v_.At(n).len == 1) return std::string(v_.Text(n));
        return {};
    }

    size_t ReadConstruct(size_t i) {
        // Signs and currency or number signs before the digits.
        if (!IsNumber(v_, i)) {
            const unsigned char c = v_.First(i);
            size_t d = IsNumber(v_, i + 1) ? i + 1 : v_.NextSolid(i);
            if (c == '-' || c == cp::kEnDash)
                Say(K().minus);
            else if (c == '+')
                Say(K().plus);
            else if (c == cp::kPlusMinus) {
                Say(K().plus);
                Say(K().minus);
            } else if (c == cp::kNumero) {
                Say(K().number);
                return ReadDigits(d);
            } else if (IsLeadingCurrency(v_.Text(i))) {
                currency_ = UnitNoun(std::string(v_.Text(i)) == "$" ? "$" : "\x88");
            }
            return ReadDigits(d);
        }
        return ReadDigits(i);
    }

    size_t ReadDigits(size_t i) {
        Consumed(i);
        if (hint_ == NumberHint::Spell) {
            for (char c : v_.Text(i)) Say(DigitName(c));
            return i + 1;
        }
        // Shapes glued by separators.
        if (v_.IsChar(i + 1, ':') && IsNumber(v_, i + 2)) return Time(Collect(v_, i, ':', 3));
        if (v_.IsChar(i + 1, '.') && IsNumber(v_, i + 2)) {
            Glued g = Collect(v_, i, '.', 3);
            if (g.parts.size() == 3 && IsDate(g)) return Date(g);
            if (g.parts.size() == 2 && hint_ != NumberHint::Date) return Decimal(g);
            if (g.parts.size() == 2 && IsDate(g)) return Date(g);
            return Groups(g);
        }
        if (v_.IsChar(i + 1, ',') && IsNumber(v_, i + 2)) return Decimal(Collect(v_, i, ',', 2));
        if (v_.IsChar(i + 1, '/') && IsNumber(v_, i + 2)) {
            Glued g = Collect(v_, i, '/', 3);
            if (g.parts.size() == 3 || hint_ == NumberHint::Date)
                return IsDate(g) ? Date(g) : Groups(g);
            return Fraction(g);
        }
        if ((v_.IsChar(i + 1, '-') || v_.IsChar(i + 1, cp::kEnDash) ||
             v_.IsChar(i + 1, cp::kEmDash)) &&
            IsNumber(v_, i + 2)) {
            Glued g = Collect(v_, i, v_.First(i + 1), 4);
            if (g.parts.size() >= 3 || hint_ == NumberHint::Telephone) return Groups(g);
            return Range(g);
        }
        if (v_.IsChar(i + 1, '-') && v_.Is(i + 2, TokenKind::Word)) return WithOrdinalEnding(i);
        if (hint_ == NumberHint::Telephone) return Groups(Collect(v_, i, 0, 1));
        if (hint_ == NumberHint::Time) return Time(Collect(v_, i, 0, 1));
        // Thousands separated by blanks: "1 000 000".
        std::string joined(v_.Text(i));
        size_t end = i + 1;
        // Not after a "+": "+7 495 ..." is a telephone number.
        if (joined.size() <= 3 && !(start_ < i && v_.First(start_) == '+')) {
            size_t j = i + 1;
            while (v_.Is(j, TokenKind::Space) && v_.At(j).len == 1 && v_.At(j).newlines == 0 &&
                   IsNumber(v_, j + 1) && v_.At(j + 1).len == 3 && !GluedSeparator(j + 2) &&
                   joined.size() < kMaxCardinalDigits) {
                joined += v_.Text(j + 1);
                Consumed(j + 1);
                j += 2;
            }
            end = j;
            // "1 000,5": the joined whole has a decimal part.
            if (end > i + 1 && v_.IsChar(end, ',') && IsNumber(v_, end + 1)) {
                joinedWhole_ = joined;
                Glued g = Collect(v_, end - 1, ',', 2);
                g.parts[0] = joinedWhole_;
                return Decimal(g);
            }
        }
        const std::string_view digits = joined;
        return Plain(digits, end);
    }

    // A group glued to more digits ("123-45-67", "12 34:56") ends the
    // joining; a decimal comma ("1 000,5") does not.
    bool GluedSeparator(size_t i) const {
        return (v_.IsChar(i, '-') || v_.IsChar(i, ':') || v_.IsChar(i, '/') || v_.IsChar(i, '.')) &&
               IsNumber(v_, i + 1);
    }

    bool IsDate(const Glued& g) const {
        if (g.parts.size() < 2) return false;
        const long long d = Value(g.parts[0]), m = Value(g.parts[1]);
        if (d < 1 || d > 31 || m < 1 || m > 12 || g.parts[1].size() > 2) return false;
        if (g.parts.size() == 3) {
            const size_t ys = g.parts[2].size();
            return ys == 2 || ys == 4;
        }
        return g.parts[1].size() == 2;
    }

    // A plain number, and the unit, year word or noun after it.
    size_t Plain(std::string_view digits, size_t end) {
        // Too long for one number, or with leading zeros ("007"): said in groups.
        if (StripZeros(digits).size() > kMaxCardinalDigits ||
            (digits.size() > 1 && digits[0] == '0')) {
            DigitGroups(digits, words_);
            SayAll(words_);
            return end;
        }
        digits = StripZeros(digits);
        const std::string prep = PrevWord(start_);
        size_t nounAt = 0;
        std::string noun = NextWord(end, &nounAt);
        // A unit written with a period: "руб.", "г.", "тыс.".
        const bool unitPeriod = v_.Valid(nounAt) && v_.IsChar(nounAt + 1, '.');
        Case yc;
        bool plural = false;
        const long long value = Value(digits);
        // "в 1999 году" is a year; "21 год" counts years.
        if (IsYearWord(noun, &yc, &plural) &&
            ((value >= 1000 && value <= 2999) ||
             (noun == K().godu && K().locativePrepositions.Has(prep))))
            return Year(digits, prep, YearWordCase(yc, noun, prep), plural, end, false);
        if ((noun == K().g || noun == K().gg) && value >= 1 && value <= 2999 &&
            (noun == K().gg || value >= 1000 || unitPeriod)) {
            Consumed(nounAt + (unitPeriod ? 1 : 0));
            return Year(digits, prep, YearCaseOf(prep, start_), noun == K().gg,
                        nounAt + (unitPeriod ? 2 : 1), true);
        }
        if (const int month = MonthOfGenitive(noun); month && value >= 1 && value <= 31) {
            Agreement a{DateCase(prep), Gender::Neut};
            Ordinal(digits, a.c, a.g, words_);
            SayAll(words_);
            return end;
        }
        const NounForms* unit = currency_;
        size_t after = end;
        if (!unit && !noun.empty()) {
            // A unit is a known abbreviation; "с", also a preposition, only at
            // the end of a phrase or with its period ("5 с половиной" is not
            // seconds).
            if (const NounForms* u = UnitNoun(noun)) {
                const size_t n2 = v_.NextSolid(nounAt + (unitPeriod ? 1 : 0));
                const bool alone = !v_.Valid(n2) || v_.Kind(n2) != TokenKind::Word;
                if (noun != K().s || unitPeriod || alone || v_.Kind(nounAt) == TokenKind::Symbol) {
                    unit = u;
                    Consumed(nounAt + (unitPeriod ? 1 : 0));
                    after = nounAt + (unitPeriod ? 2 : 1);
                }
            }
        }
        Agreement a = Agree(prep, unit ? std::string_view{} : std::string_view(noun), digits);
        if (unit) {
            a.g = unit->gender;
            a.c = UnitCase(prep, noun, a.c);
        }
        Cardinal(digits, a.c, a.g, words_);
        SayAll(words_);
        if (unit) Say(CountedNoun(*unit, digits, a.c));
        return after;
    }

    Case YearCaseOf(const std::string& prep, size_t at) const {
        if (K().locativePrepositions.Has(prep)) return Case::Prep;
        if (K().genitivePrepositions.Has(prep)) return Case::Gen;
        if (K().dativePrepositions.Has(prep)) return Case::Dat;
        if (K().instrumentalPrepositions.Has(prep)) return Case::Ins;
        if (!prep.empty() && prep == W("по")) return Case::Acc;
        // After a month ("1 мая 2020 г.") the year is genitive.
        const size_t p = v_.PrevSolid(at);
        if (p != SIZE_MAX && v_.Kind(p) == TokenKind::Word && MonthOfGenitive(Lower(v_.Text(p))))
            return Case::Gen;
        return Case::Nom;
    }

    // "году" is dative after "к" and "по", locative otherwise.
    static Case YearWordCase(Case c, const std::string& noun, const std::string& prep) {
        if (noun == K().godu && K().dativePrepositions.Has(prep)) return Case::Dat;
        return c;
    }

    Case DateCase(const std::string& prep) const {
        if (K().genitivePrepositions.Has(prep)) return Case::Gen;
        if (K().dativePrepositions.Has(prep) || prep == W("по")) return Case::Dat;
        if (K().instrumentalPrepositions.Has(prep)) return Case::Ins;
        if (prep == W("о") || prep == W("об") || prep == W("при")) return Case::Prep;
        return Case::Nom;
    }

    size_t Year(std::string_view digits, const std::string& prep, Case c, bool plural, size_t end,
                bool sayNoun) {
        (void)prep;
        Ordinal(digits, c, Gender::Masc, words_);
        SayAll(words_);
        if (sayNoun) {
            const NounForms& y = YearNoun();
            Say(plural ? y.pl[Idx(c)] : y.sg[Idx(c)]);
        }
        return end;
    }

    size_t Date(const Glued& g) {
        Consumed(g.next - 1);
        const std::string prep = PrevWord(start_);
        const Case c = DateCase(prep);
        Ordinal(g.parts[0], c, Gender::Neut, words_);
        SayAll(words_);
        words_.clear();
        Say(MonthGenitive(static_cast<int>(Value(g.parts[1]))));
        size_t end = g.next;
        if (g.parts.size() == 3) {
            std::string year(g.parts[2]);
            if (year.size() == 2) year = (Value(year) <= 30 ? "20" : "19") + year;
            Ordinal(year, Case::Gen, Gender::Masc, words_);
            SayAll(words_);
            Say(K().year);
            // "12.04.1961 г." says "года" once.
            size_t n = v_.NextSolid(end - 1);
            if (v_.Valid(n) && v_.Kind(n) == TokenKind::Word && Lower(v_.Text(n)) == K().g) {
                Consumed(n + (v_.IsChar(n + 1, '.') ? 1 : 0));
                end = n + (v_.IsChar(n + 1, '.') ? 2 : 1);
            }
        }
        return end;
    }

    size_t Time(const Glued& g) {
        Consumed(g.next - 1);
        const std::string prep = PrevWord(start_);
        Case c = CaseOfPreposition(prep, {}, false);
        if (c == Case::Prep) c = Case::Acc;  // "в 7:30" is "в семь тридцать"
        for (size_t k = 0; k < g.parts.size(); ++k) {
            std::string_view p = g.parts[k];
            if (p.size() == 2 && p[0] == '0' && (k > 0 || p[1] == '0')) {
                Say(DigitName('0'));
                if (p[1] != '0') {
                    Cardinal(p.substr(1), c, Gender::Fem, words_);
                    SayAll(words_);
                    words_.clear();
                } else {
                    Say(DigitName('0'));
                }
                continue;
            }
            Cardinal(StripZeros(p), c, k == 0 ? Gender::Masc : Gender::Fem, words_);
            SayAll(words_);
            words_.clear();
        }
        return g.next;
    }

    size_t Decimal(const Glued& g) {
        Consumed(g.next - 1);
        std::string_view whole = StripZeros(g.parts[0]);
        std::string_view frac = g.parts[1];
        const std::string prep = PrevWord(start_);
        size_t nounAt = 0;
        std::string noun = NextWord(g.next, &nounAt);
        const NounForms* unit = currency_ ? currency_ : UnitNoun(noun);
        Case c = CaseOfPreposition(prep, unit ? std::string_view{} : std::string_view(noun), false);
        if (unit && !currency_) c = UnitCase(prep, noun, c);
        if (whole.size() > kMaxCardinalDigits || frac.size() > 9) {
            DigitGroups(g.parts[0], words_);
            SayAll(words_);
            words_.clear();
            Say(K().comma);
            DigitGroups(frac, words_);
            SayAll(words_);
            return g.next;
        }
        // A whole part of 1000-1999 is said with its "одна" ("одна тысяча
        // целых"), as amounts are read out.
        if (whole.size() == 4 && whole[0] == '1') Cardinal("1", c, Gender::Fem, words_);
        Cardinal(whole, c, Gender::Fem, words_);
        SayAll(words_);
        words_.clear();
        const bool oneWhole = CountFormOf(whole) == CountForm::One;
        Say(oneWhole ? K().wholeSg[Idx(c)] : K().wholePl[c == Case::Acc ? Idx(Case::Gen) : Idx(c)]);
        Cardinal(StripZeros(frac), c, Gender::Fem, words_);
        SayAll(words_);
        words_.clear();
        const bool oneFrac = CountFormOf(StripZeros(frac)) == CountForm::One;
        const bool nomLike = c == Case::Nom || c == Case::Acc;
        FractionOrdinal(static_cast<int>(frac.size()), oneFrac || !nomLike ? c : Case::Gen,
                        oneFrac ? Gender::Fem : Gender::Plural, words_);
        SayAll(words_);
        size_t end = g.next;
        if (unit) {
            const bool period = v_.IsChar(nounAt + 1, '.');
            if (!currency_) {
                Consumed(nounAt + (period ? 1 : 0));
                end = nounAt + (period ? 2 : 1);
            }
            // The fraction governs its noun: always the genitive singular
            // ("о двух целых пяти десятых процента").
            Say(unit->sg[Idx(Case::Gen)]);
        }
        return end;
    }

    size_t Fraction(const Glued& g) {
        Consumed(g.next - 1);
        std::string_view num = StripZeros(g.parts[0]), den = StripZeros(g.parts[1]);
        const long long d = Value(den);
        if (d < 2 || d > 1000 || num.size() > kMaxCardinalDigits) {
            Cardinal(num.size() > kMaxCardinalDigits ? "0" : num, Case::Nom, Gender::Masc, words_);
            if (num.size() > kMaxCardinalDigits) {
                words_.clear();
                DigitGroups(num, words_);
            }
            SayAll(words_);
            words_.clear();
            Say(K().slash);
            DigitGroups(den, words_);
            SayAll(words_);
            return g.next;
        }
        const std::string prep = PrevWord(start_);
        const Case c = CaseOfPreposition(prep, {}, false);
        Cardinal(num, c, Gender::Fem, words_);
        SayAll(words_);
        words_.clear();
        const bool one = CountFormOf(num) == CountForm::One;
        const bool nomLike = c == Case::Nom || c == Case::Acc;
        Ordinal(den, one || !nomLike ? c : Case::Gen, one ? Gender::Fem : Gender::Plural, words_);
        SayAll(words_);
        return g.next;
    }

    size_t Range(const Glued& g) {
        Consumed(g.next - 1);
        const std::string prep = PrevWord(start_);
        size_t nounAt = 0;
        std::string noun = NextWord(g.next, &nounAt);
        Case yc;
        bool plural = false;
        if (IsYearWord(noun, &yc, &plural) ||
            ((noun == K().gg || noun == K().vv) && Value(g.parts[0]) >= 1000)) {
            Case c = IsYearWord(noun, &yc, &plural) ? YearWordCase(yc, noun, prep)
                                                    : YearCaseOf(prep, start_);
            for (std::string_view p : g.parts) {
                Ordinal(p, c, Gender::Masc, words_);
                SayAll(words_);
                words_.clear();
            }
            if (noun == K().gg) {
                const bool period = v_.IsChar(nounAt + 1, '.');
                Consumed(nounAt + (period ? 1 : 0));
                Say(YearNoun().pl[Idx(c)]);
                return nounAt + (period ? 2 : 1);
            }
            return g.next;
        }
        const NounForms* unit = currency_ ? currency_ : UnitNoun(noun);
        Agreement a =
            Agree(prep, unit ? std::string_view{} : std::string_view(noun), g.parts.back());
        if (unit) {
            a.g = unit->gender;
            if (!currency_) a.c = UnitCase(prep, noun, a.c);
        }
        for (std::string_view p : g.parts) {
            if (StripZeros(p).size() > kMaxCardinalDigits)
                DigitGroups(p, words_);
            else
                Cardinal(p, a.c, a.g, words_);
            SayAll(words_);
            words_.clear();
        }
        size_t end = g.next;
        if (unit) {
            const bool period = v_.IsChar(nounAt + 1, '.');
            if (!currency_) {
                Consumed(nounAt + (period ? 1 : 0));
                end = nounAt + (period ? 2 : 1);
            }
            Say(CountedNoun(*unit, g.parts.back(), a.c));
        }
        return end;
    }

    size_t Groups(const Glued& g) {
        Consumed(g.next - 1);
        for (std::string_view p : g.parts) {
            DigitGroups(p, words_);
            SayAll(words_);
            words_.clear();
        }
        return g.next;
    }

    // "1-й", "2-го", "90-е", "5-я".
    size_t WithOrdinalEnding(size_t i) {
        const std::string suffix = Lower(v_.Text(i + 2));
        const std::string_view digits = StripZeros(v_.Text(i));
        if (suffix.size() > 3 || digits.size() > kMaxCardinalDigits) {
            // Not an ending ("Ту-154" the other way round): the number alone.
            return Plain(v_.Text(i), i + 1);
        }
        const std::string prep = PrevWord(i);
        const std::string noun = NextWord(i + 3);
        Agreement a;
        if (!lexicon::OrdinalEnding(suffix, digits, prep, noun, &a))
            return Plain(v_.Text(i), i + 1);
        Consumed(i + 2);
        const Case c = a.c;
        const Gender g = a.g;
        Ordinal(digits, c, g, words_);
        SayAll(words_);
        return i + 3;
    }

    const TokenView& v_;
    NumberHint hint_;
    std::vector<SpokenWord>& out_;
    std::vector<std::string> words_;
    const NounForms* currency_ = nullptr;
    std::string joinedWhole_;
    size_t start_ = 0;
    size_t lastToken_ = 0;
};

}  // namespace

void DigitGroups(std::string_view digits, std::vector<std::string>& out) {
    size_t i = 0;
    while (i < digits.size()) {
        const size_t n = std::min<size_t>(3, digits.size() - i);
        std::string_view group = digits.substr(i, n);
        // Leading zeros are said one by one, then the rest as a number.
        while (!group.empty() && group[0] == '0') {
            out.push_back(DigitName('0'));
            group.remove_prefix(1);
        }
        if (!group.empty()) Cardinal(group, Case::Nom, Gender::Masc, out);
        i += n;
    }
}

bool StartsNumber(const TokenView& v, size_t i) {
    if (!v.Valid(i)) return false;
    if (v.Kind(i) == TokenKind::Number) return true;
    const unsigned char c = v.First(i);
    if (v.At(i).len != 1) return false;
    const bool glued = v.Is(i + 1, TokenKind::Number);
    if (c == cp::kNumero || IsLeadingCurrency(v.Text(i)))
        return glued || (v.Is(i + 1, TokenKind::Space) && v.Is(i + 2, TokenKind::Number));
    if (c == '+' || c == '-' || c == cp::kEnDash || c == cp::kPlusMinus) {
        // A sign: glued to the digits, not glued to a word or number before.
        if (!glued) return false;
        return i == v.Begin() || v.Kind(i - 1) == TokenKind::Space ||
               (v.Kind(i - 1) == TokenKind::Punct && v.First(i - 1) == '(');
    }
    return false;
}

size_t ReadNumber(const TokenView& v, size_t i, NumberHint hint, std::vector<SpokenWord>& out) {
    return Reader(v, hint, out).Read(i);
}

}  // namespace lexicon
