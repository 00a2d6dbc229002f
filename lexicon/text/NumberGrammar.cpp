#include "text/NumberGrammar.h"

#include <unordered_map>
#include <unordered_set>

#include "text/Charset.h"

namespace lexicon {

namespace {

NounForms Forms(Gender g, std::initializer_list<const char*> sg,
                std::initializer_list<const char*> pl) {
    NounForms f;
    f.gender = g;
    int i = 0;
    for (const char* s : sg) f.sg[i++] = W(s);
    i = 0;
    for (const char* s : pl) f.pl[i++] = W(s);
    return f;
}

// A masculine noun with a hard stem and a fixed stress ("проце+нт").
NounForms MascHard(const char* stem) {
    std::string s = stem;
    auto f = [&](const char* e) { return s + e; };
    NounForms n;
    n.gender = Gender::Masc;
    const char* sg[] = {"", "а", "у", "", "ом", "е"};
    const char* pl[] = {"ы", "ов", "ам", "ы", "ами", "ах"};
    for (int i = 0; i < 6; ++i) {
        n.sg[i] = W(f(sg[i]));
        n.pl[i] = W(f(pl[i]));
    }
    return n;
}

// A feminine noun in "-а" with a fixed stress; `genPl` its genitive plural.
NounForms FemA(const char* stem, const char* genPl, bool softI = false) {
    std::string s = stem;
    NounForms n;
    n.gender = Gender::Fem;
    const char* y = softI ? "и" : "ы";
    const char* sg[] = {"а", y, "е", "у", "ой", "е"};
    const char* pl[] = {y, "", "ам", y, "ами", "ах"};
    for (int i = 0; i < 6; ++i) {
        n.sg[i] = W(s + sg[i]);
        n.pl[i] = W(s + pl[i]);
    }
    n.pl[1] = W(genPl);
    return n;
}

NounForms Indeclinable(const char* word, Gender g) {
    NounForms n;
    n.gender = g;
    for (int i = 0; i < 6; ++i) n.sg[i] = n.pl[i] = W(word);
    return n;
}

struct Units {
    std::unordered_map<std::string, NounForms> byWord;
};

const Units& TheUnits() {
    static const Units u = [] {
        Units built;
        auto add = [&](std::initializer_list<const char*> names, const NounForms& f) {
            for (const char* n : names) built.byWord[W(n)] = f;
        };
        add({"%", "процент", "процентов", "процента"}, MascHard("проце+нт"));
        add({"руб", "р", "рубль", "рублей", "рубля"},
            Forms(Gender::Masc, {"ру+бль", "рубля+", "рублю+", "ру+бль", "рублё+м", "рубле+"},
                  {"рубли+", "рубле+й", "рубля+м", "рубли+", "рубля+ми", "рубля+х"}));
        add({"коп", "копеек", "копейки"}, FemA("копе+йк", "копе+ек", true));
        add({"$", "долл", "доллар", "долларов"}, MascHard("до+ллар"));
        add({"\xE2\x82\xAC", "евро"}, Indeclinable("е+вро", Gender::Neut));
        add({"тыс"},
            Forms(Gender::Fem, {"ты+сяча", "ты+сячи", "ты+сяче", "ты+сячу", "ты+сячей", "ты+сяче"},
                  {"ты+сячи", "ты+сяч", "ты+сячам", "ты+сячи", "ты+сячами", "ты+сячах"}));
        add({"млн"}, MascHard("миллио+н"));
        add({"млрд"}, MascHard("миллиа+рд"));
        add({"км"}, MascHard("киломе+тр"));
        add({"м"}, MascHard("ме+тр"));
        add({"см"}, MascHard("сантиме+тр"));
        add({"мм"}, MascHard("миллиме+тр"));
        add({"кг"}, MascHard("килогра+мм"));
        add({"г", "гр"}, MascHard("гра+мм"));
        add({"т"}, FemA("то+нн", "то+нн"));
        add({"л"}, MascHard("ли+тр"));
        add({"га"}, MascHard("гекта+р"));
        add({"ч"}, Forms(Gender::Masc, {"ча+с", "ча+са", "ча+су", "ча+с", "ча+сом", "ча+се"},
                         {"часы+", "часо+в", "часа+м", "часы+", "часа+ми", "часа+х"}));
        add({"мин"}, FemA("мину+т", "мину+т"));
        add({"с", "сек"}, FemA("секу+нд", "секу+нд"));
        add({"\xC2\xB0"}, MascHard("гра+дус"));
        add({"км/ч"}, MascHard("киломе+тр в ча+с"));
        return built;
    }();
    return u;
}

// Endings the agreement rules test, named by their transliteration.
struct Suffixes {
    std::string k_so = W("со");
    std::string k_po = W("по");
    std::string k_mi = W("ми");  // "-ами", "-ями", "-ьми": the instrumental plural
    std::string k_a = W("а");
    std::string k_am = W("ам");
    std::string k_akh = W("ах");
    std::string k_e = W("е");
    std::string k_ej = W("ей");
    std::string k_em = W("ем");
    std::string k_est_ = W("есть");
    std::string k_zh_ = W("жь");
    std::string k_i = W("и");
    std::string k_o = W("о");
    std::string k_oj = W("ой");
    std::string k_om = W("ом");
    std::string k_ost_ = W("ость");
    std::string k_oyu = W("ою");
    std::string k_u = W("у");
    std::string k_ch_ = W("чь");
    std::string k_sh_ = W("шь");
    std::string k_shch_ = W("щь");
    std::string k_y = W("ы");
    std::string k__i = W("ьи");
    std::string k_yu = W("ю");
    std::string k_ya = W("я");
    std::string k_yam = W("ям");
    std::string k_yakh = W("ях");
    std::string k_yo = W("ё");
};
const Suffixes& Suf() {
    static const Suffixes s;
    return s;
}

const WordSet& kGenitivePrepositions() {
    static const WordSet s{
        "без",     "для",    "до",     "из",      "от",    "у",      "около",  "после", "против",
        "кроме",   "вокруг", "среди",  "более",   "менее", "свыше",  "возле",  "мимо",  "ради",
        "вместо",  "из-за",  "из-под", "со",      "изо",   "ото",    "около",  "вне",   "внутри",
        "посреди", "больше", "меньше", "порядка", "вроде", "насчёт", "насчет", "сверх", "кроме"};
    return s;
}
const WordSet& kDativePrepositions() {
    static const WordSet s{"к",        "ко",        "по",      "благодаря",
                           "согласно", "навстречу", "вопреки", "подобно"};
    return s;
}
const WordSet& kPrepositionalPrepositions() {
    static const WordSet s{"о", "об", "обо", "при"};
    return s;
}
const WordSet& kAccusativePrepositions() {
    static const WordSet s{"про", "через", "сквозь", "спустя", "включая"};
    return s;
}
const WordSet& kInstrumentalPrepositions() {
    static const WordSet s{"над", "перед", "между", "передо", "надо"};
    return s;
}
const WordSet& kVNa() {
    static const WordSet s{"в", "во", "на"};
    return s;
}
const WordSet& kS() {
    static const WordSet s{"с"};
    return s;
}
const WordSet& kZaPod() {
    static const WordSet s{"за", "под", "подо"};
    return s;
}
const WordSet& kFeminineSoftNouns() {
    static const WordSet s{"дверь",   "ночь",    "мышь",    "тетрадь", "лошадь", "площадь",
                           "жизнь",   "часть",   "роль",    "сеть",    "смерть", "любовь",
                           "кровать", "соль",    "цель",    "мысль",   "печь",   "вещь",
                           "неделя",  "область", "степень", "модель",  "связь"};
    return s;
}
}  // namespace

Case CaseOfPreposition(std::string_view p, std::string_view noun, bool one) {
    if (p.empty()) return Case::Nom;
    const bool insNoun = EndsWith(noun, Suf().k_mi) ||
                         (one && (EndsWith(noun, Suf().k_om) || EndsWith(noun, Suf().k_oj) ||
                                  EndsWith(noun, Suf().k_em) || EndsWith(noun, Suf().k_ej)));
    const bool prepNoun = EndsWith(noun, Suf().k_akh) || EndsWith(noun, Suf().k_yakh) ||
                          (one && (EndsWith(noun, Suf().k_e) || EndsWith(noun, Suf().k_u) ||
                                   EndsWith(noun, Suf().k_i)));
    if (kGenitivePrepositions().Has(p)) return p == Suf().k_so && insNoun ? Case::Ins : Case::Gen;
    // "по" counts out: "по одному рублю", but "по два рубля".
    if (kDativePrepositions().Has(p)) return p == Suf().k_po && !one ? Case::Acc : Case::Dat;
    if (kPrepositionalPrepositions().Has(p)) return Case::Prep;
    if (kAccusativePrepositions().Has(p)) return Case::Acc;
    if (kInstrumentalPrepositions().Has(p)) return Case::Ins;
    if (kVNa().Has(p)) return prepNoun ? Case::Prep : Case::Acc;
    if (kS().Has(p)) return insNoun ? Case::Ins : Case::Gen;
    if (kZaPod().Has(p)) return insNoun ? Case::Ins : Case::Acc;
    return Case::Nom;
}

Agreement Agree(std::string_view preposition, std::string_view noun, std::string_view digits) {
    Agreement a;
    const CountForm form = CountFormOf(digits);
    const bool one = form == CountForm::One;
    a.c = CaseOfPreposition(preposition, noun, one);
    if (a.c == Case::Nom) {
        // Oblique plural endings tell the case without a preposition.
        if (!one && EndsWith(noun, Suf().k_mi))
            a.c = Case::Ins;
        else if (!one && (EndsWith(noun, Suf().k_am) || EndsWith(noun, Suf().k_yam)))
            a.c = Case::Dat;
        else if (!one && (EndsWith(noun, Suf().k_akh) || EndsWith(noun, Suf().k_yakh)))
            a.c = Case::Prep;
    }
    if (noun.empty()) return a;
    if (const NounForms* unit = UnitNoun(noun)) {
        a.g = unit->gender;
        return a;
    }
    // The gender shows in the forms that follow 1 (nominative) and 2-4
    // (genitive singular) only; elsewhere it does not change the reading.
    const bool nomLike = a.c == Case::Nom || a.c == Case::Acc;
    if (one && nomLike) {
        if (EndsWith(noun, Suf().k_a) || EndsWith(noun, Suf().k_ya) || EndsWith(noun, Suf().k_u) ||
            EndsWith(noun, Suf().k_yu))
            a.g = Gender::Fem;
        else if (EndsWith(noun, Suf().k_o) || EndsWith(noun, Suf().k_e) ||
                 EndsWith(noun, Suf().k_yo))
            a.g = Gender::Neut;
        else if (EndsWith(noun, Suf().k_ost_) || EndsWith(noun, Suf().k_est_) ||
                 EndsWith(noun, Suf().k_ch_) || EndsWith(noun, Suf().k_shch_) ||
                 EndsWith(noun, Suf().k_sh_) || EndsWith(noun, Suf().k_zh_) ||
                 kFeminineSoftNouns().Has(noun))
            a.g = Gender::Fem;
    } else if (one) {
        // Oblique singular of feminines in "-а": "минуты", "кошке", "кошкой", "кошку".
        const bool fem =
            (a.c == Case::Gen && (EndsWith(noun, Suf().k_y) || EndsWith(noun, Suf().k_i))) ||
            (a.c == Case::Dat && (EndsWith(noun, Suf().k_e) || EndsWith(noun, Suf().k_i))) ||
            (a.c == Case::Ins && (EndsWith(noun, Suf().k_oj) || EndsWith(noun, Suf().k_ej) ||
                                  EndsWith(noun, Suf().k_oyu))) ||
            (a.c == Case::Acc && (EndsWith(noun, Suf().k_u) || EndsWith(noun, Suf().k_yu)));
        if (fem) a.g = Gender::Fem;
    } else if (form == CountForm::Few && nomLike) {
        if (EndsWith(noun, Suf().k_y) || (EndsWith(noun, Suf().k_i) && !EndsWith(noun, Suf().k__i)))
            a.g = Gender::Fem;
    }
    return a;
}

bool OrdinalEnding(std::string_view ending, std::string_view digits, std::string_view preposition,
                   std::string_view noun, Agreement* out) {
    static const struct Endings {
        std::string mi = W("ми"), kh = W("х"), go = W("го"), mu = W("му"), m = W("м"), yu = W("ю"),
                    ya = W("я"), e = W("е"), ye = W("ые"), j = W("й"), y = W("ы"), i = W("и"),
                    oj = W("ой");
        WordSet locative{"в", "во", "на", "о", "об", "при"};
    } k;
    if (ending.empty() || ending.size() > 3) return false;
    const bool locative = k.locative.Has(preposition);
    Case yc;
    bool yearPlural = false;
    const bool yearNoun = IsYearWord(noun, &yc, &yearPlural);
    Case c = Case::Nom;
    Gender g = Gender::Masc;
    if (EndsWith(ending, k.mi)) {
        c = Case::Ins, g = Gender::Plural;
    } else if (EndsWith(ending, k.kh)) {
        c = locative ? Case::Prep : Case::Gen, g = Gender::Plural;
    } else if (EndsWith(ending, k.go)) {
        c = Case::Gen;
    } else if (EndsWith(ending, k.mu)) {
        c = Case::Dat;
    } else if (EndsWith(ending, k.m)) {
        c = locative ? Case::Prep : Case::Ins;
    } else if (EndsWith(ending, k.yu)) {
        c = Case::Acc, g = Gender::Fem;
    } else if (EndsWith(ending, k.ya)) {
        g = Gender::Fem;
    } else if (EndsWith(ending, k.e)) {
        // "90-е" and "1990-е годы" are plural; "10-е место", "1-е мая" neuter.
        const bool round = digits.size() >= 2 && digits.back() == '0';
        g = (EndsWith(ending, k.ye) || yearPlural || (round && (noun.empty() || yearNoun)))
                ? Gender::Plural
                : Gender::Neut;
    } else if (EndsWith(ending, k.j)) {
        // "-й" is masculine, or feminine in an oblique case: "5-й главы".
        const Agreement a = Agree(preposition, noun, "1");
        if (a.g == Gender::Fem || EndsWith(noun, k.y) || EndsWith(noun, k.i) ||
            EndsWith(noun, k.e) || EndsWith(noun, k.oj)) {
            g = Gender::Fem;
            c = EndsWith(noun, k.oj)  ? Case::Ins
                : EndsWith(noun, k.e) ? (locative ? Case::Prep : Case::Dat)
                                      : Case::Gen;
        }
    } else {
        return false;
    }
    out->c = c;
    out->g = g;
    return true;
}

const NounForms* UnitNoun(std::string_view word) {
    const auto& m = TheUnits().byWord;
    auto it = m.find(std::string(word));
    return it == m.end() ? nullptr : &it->second;
}

Case UnitCase(std::string_view preposition, std::string_view unitWord, Case c) {
    static const WordSet in{"в", "во"};
    static const WordSet lengths{"км", "м", "см", "мм"};
    return in.Has(preposition) && lengths.Has(unitWord) ? Case::Prep : c;
}

bool IsLeadingCurrency(std::string_view symbol) {
    return symbol == "$" || symbol == "\x88" /* € */;
}

int MonthOfGenitive(std::string_view w) {
    static const std::unordered_map<std::string, int> months = [] {
        std::unordered_map<std::string, int> m;
        const char* names[] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                               "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
        for (int i = 0; i < 12; ++i) m[W(names[i])] = i + 1;
        return m;
    }();
    auto it = months.find(std::string(w));
    return it == months.end() ? 0 : it->second;
}

const std::string& MonthGenitive(int month) {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const char* n : {"января+", "февраля+", "ма+рта", "апре+ля", "ма+я", "ию+ня", "ию+ля",
                              "а+вгуста", "сентября+", "октября+", "ноября+", "декабря+"})
            v.push_back(W(n));
        return v;
    }();
    return names[static_cast<size_t>(month >= 1 && month <= 12 ? month - 1 : 0)];
}

const NounForms& YearNoun() {
    static const NounForms f =
        Forms(Gender::Masc, {"го+д", "го+да", "го+ду", "го+д", "го+дом", "го+ду"},
              {"го+ды", "ле+т", "года+м", "го+ды", "года+ми", "года+х"});
    return f;
}

bool IsYearWord(std::string_view w, Case* c, bool* plural) {
    struct Y {
        const char* w;
        Case c;
        bool pl;
    };
    static const Y forms[] = {
        {"год", Case::Nom, false},   {"года", Case::Gen, false},  {"году", Case::Prep, false},
        {"годом", Case::Ins, false}, {"годы", Case::Nom, true},   {"годов", Case::Gen, true},
        {"годам", Case::Dat, true},  {"годами", Case::Ins, true}, {"годах", Case::Prep, true}};
    for (const Y& y : forms)
        if (w == W(y.w)) {
            if (c) *c = y.c;
            if (plural) *plural = y.pl;
            return true;
        }
    return false;
}

}  // namespace lexicon
