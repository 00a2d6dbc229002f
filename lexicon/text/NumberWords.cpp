#include "text/NumberWords.h"

#include <array>

#include "text/Charset.h"

namespace lexicon {

namespace {

using Cases = std::array<std::string, 6>;

Cases C(const char* nom, const char* gen, const char* dat, const char* acc, const char* ins,
        const char* prep) {
    return {W(nom), W(gen), W(dat), W(acc), W(ins), W(prep)};
}

struct Tables {
    Cases zero;
    Cases one[4];  // masc, fem, neut, plural
    Cases two[2];  // masc/neut, fem
    Cases units[10];
    Cases teens[10];
    Cases tens[10];
    Cases hundreds[10];
    Cases scaleSg[5];
    Cases scalePl[5];
    std::string digitNames[10];
    // Ordinal stems: stressed ending when the flag is set.
    struct Stem {
        std::string text;
        bool stressedEnding = false;
    };
    Stem ordUnits[10], ordTeens[10], ordTens[10], ordHundreds[10], ordScales[5];
    // Fused genitive prefixes of round thousands ("двух", "пяти").
    std::string fusedUnits[10], fusedTeens[10], fusedTens[10], fusedHundreds[10];
    Cases endings[4];          // unstressed hard endings by gender
    Cases stressedEndings[4];  // stressed hard endings by gender
    Cases softEndings[4];      // "третий"
};

const Tables& T() {
    static const Tables t = [] {
        Tables built;
        built.zero = C("но+ль", "нуля+", "нулю+", "но+ль", "нулё+м", "нуле+");
        built.one[0] = C("оди+н", "одного+", "одному+", "оди+н", "одни+м", "одно+м");
        built.one[1] = C("одна+", "одно+й", "одно+й", "одну+", "одно+й", "одно+й");
        built.one[2] = C("одно+", "одного+", "одному+", "одно+", "одни+м", "одно+м");
        built.one[3] = C("одни+", "одни+х", "одни+м", "одни+", "одни+ми", "одни+х");
        built.two[0] = C("два+", "дву+х", "дву+м", "два+", "двумя+", "дву+х");
        built.two[1] = C("две+", "дву+х", "дву+м", "две+", "двумя+", "дву+х");
        built.units[3] = C("три+", "трё+х", "трё+м", "три+", "тремя+", "трё+х");
        built.units[4] = C("четы+ре", "четырё+х", "четырё+м", "четы+ре", "четырьмя+", "четырё+х");
        built.units[5] = C("пя+ть", "пяти+", "пяти+", "пя+ть", "пятью+", "пяти+");
        built.units[6] = C("ше+сть", "шести+", "шести+", "ше+сть", "шестью+", "шести+");
        built.units[7] = C("се+мь", "семи+", "семи+", "се+мь", "семью+", "семи+");
        built.units[8] = C("во+семь", "восьми+", "восьми+", "во+семь", "восемью+", "восьми+");
        built.units[9] = C("де+вять", "девяти+", "девяти+", "де+вять", "девятью+", "девяти+");
        built.teens[0] = C("де+сять", "десяти+", "десяти+", "де+сять", "десятью+", "десяти+");
        const char* teenNom[] = {nullptr,        "оди+ннадцат", "двена+дцат",  "трина+дцат",
                                 "четы+рнадцат", "пятна+дцат",  "шестна+дцат", "семна+дцат",
                                 "восемна+дцат", "девятна+дцат"};
        for (int i = 1; i < 10; ++i) {
            std::string s = teenNom[i];
            built.teens[i] = C((s + "ь").c_str(), (s + "и").c_str(), (s + "и").c_str(),
                               (s + "ь").c_str(), (s + "ью").c_str(), (s + "и").c_str());
        }
        built.tens[2] =
            C("два+дцать", "двадцати+", "двадцати+", "два+дцать", "двадцатью+", "двадцати+");
        built.tens[3] =
            C("три+дцать", "тридцати+", "тридцати+", "три+дцать", "тридцатью+", "тридцати+");
        built.tens[4] = C("со+рок", "сорока+", "сорока+", "со+рок", "сорока+", "сорока+");
        built.tens[5] = C("пятьдеся+т", "пяти+десяти", "пяти+десяти", "пятьдеся+т", "пятью+десятью",
                          "пяти+десяти");
        built.tens[6] = C("шестьдеся+т", "шести+десяти", "шести+десяти", "шестьдеся+т",
                          "шестью+десятью", "шести+десяти");
        built.tens[7] = C("се+мьдесят", "семи+десяти", "семи+десяти", "се+мьдесят", "семью+десятью",
                          "семи+десяти");
        built.tens[8] = C("во+семьдесят", "восьми+десяти", "восьми+десяти", "во+семьдесят",
                          "восьмью+десятью", "восьми+десяти");
        built.tens[9] =
            C("девяно+сто", "девяно+ста", "девяно+ста", "девяно+сто", "девяно+ста", "девяно+ста");
        built.hundreds[1] = C("сто+", "ста+", "ста+", "сто+", "ста+", "ста+");
        built.hundreds[2] =
            C("две+сти", "двухсо+т", "двумста+м", "две+сти", "двумяста+ми", "двухста+х");
        built.hundreds[3] =
            C("три+ста", "трёхсо+т", "трёмста+м", "три+ста", "тремяста+ми", "трёхста+х");
        built.hundreds[4] = C("четы+реста", "четырёхсо+т", "четырёмста+м", "четы+реста",
                              "четырьмяста+ми", "четырёхста+х");
        const char* hundredStem[] = {nullptr, nullptr, nullptr, nullptr, nullptr,
                                     "пят",   "шест",  "сем",   "восем", "девят"};
        const char* hundredGen[] = {nullptr, nullptr, nullptr, nullptr,  nullptr,
                                    "пяти",  "шести", "семи",  "восьми", "девяти"};
        const char* hundredIns[] = {nullptr, nullptr,  nullptr, nullptr,   nullptr,
                                    "пятью", "шестью", "семью", "восьмью", "девятью"};
        for (int i = 5; i < 10; ++i) {
            std::string nom = std::string(hundredStem[i]) + "ьсо+т";
            std::string gen = std::string(hundredGen[i]) + "со+т";
            std::string dat = std::string(hundredGen[i]) + "ста+м";
            std::string ins = std::string(hundredIns[i]) + "ста+ми";
            std::string prep = std::string(hundredGen[i]) + "ста+х";
            built.hundreds[i] =
                C(nom.c_str(), gen.c_str(), dat.c_str(), nom.c_str(), ins.c_str(), prep.c_str());
        }
        built.scaleSg[1] = C("ты+сяча", "ты+сячи", "ты+сяче", "ты+сячу", "ты+сячей", "ты+сяче");
        built.scalePl[1] = C("ты+сячи", "ты+сяч", "ты+сячам", "ты+сячи", "ты+сячами", "ты+сячах");
        const char* big[] = {nullptr, nullptr, "миллио+н", "миллиа+рд", "триллио+н"};
        for (int i = 2; i < 5; ++i) {
            std::string s = big[i];
            built.scaleSg[i] = C(s.c_str(), (s + "а").c_str(), (s + "у").c_str(), s.c_str(),
                                 (s + "ом").c_str(), (s + "е").c_str());
            built.scalePl[i] = C((s + "ы").c_str(), (s + "ов").c_str(), (s + "ам").c_str(),
                                 (s + "ы").c_str(), (s + "ами").c_str(), (s + "ах").c_str());
        }
        const char* digits[] = {"но+ль", "оди+н",  "два+",  "три+",    "четы+ре",
                                "пя+ть", "ше+сть", "се+мь", "во+семь", "де+вять"};
        for (int i = 0; i < 10; ++i) built.digitNames[i] = W(digits[i]);

        auto stem = [](const char* s, bool stressed = false) {
            return Tables::Stem{W(s), stressed};
        };
        const char* ordUnit[] = {nullptr, "пе+рв", "втор",  "тре+т", "четвё+рт",
                                 "пя+т",  "шест",  "седьм", "восьм", "девя+т"};
        for (int i = 1; i < 10; ++i)
            built.ordUnits[i] = stem(ordUnit[i], i == 2 || i == 6 || i == 7 || i == 8);
        built.ordTeens[0] = stem("деся+т");
        for (int i = 1; i < 10; ++i) built.ordTeens[i] = stem((std::string(teenNom[i])).c_str());
        const char* ordTen[] = {nullptr,        nullptr,      "двадца+т",    "тридца+т",
                                "сороков",      "пятидеся+т", "шестидеся+т", "семидеся+т",
                                "восьмидеся+т", "девяно+ст"};
        for (int i = 2; i < 10; ++i) built.ordTens[i] = stem(ordTen[i], i == 4);
        const char* ordHundred[] = {nullptr,       "со+т",      "двухсо+т",  "трёхсо+т",
                                    "четырёхсо+т", "пятисо+т",  "шестисо+т", "семисо+т",
                                    "восьмисо+т",  "девятисо+т"};
        for (int i = 1; i < 10; ++i) built.ordHundreds[i] = stem(ordHundred[i]);
        const char* ordScale[] = {nullptr, "ты+сячн", "миллио+нн", "миллиа+рдн", "триллио+нн"};
        for (int i = 1; i < 5; ++i) built.ordScales[i] = stem(ordScale[i]);

        const char* fu[] = {"",     "одно",  "двух", "трёх",   "четырёх",
                            "пяти", "шести", "семи", "восьми", "девяти"};
        const char* ft[] = {"десяти",       "одиннадцати", "двенадцати",  "тринадцати",
                            "четырнадцати", "пятнадцати",  "шестнадцати", "семнадцати",
                            "восемнадцати", "девятнадцати"};
        const char* fte[] = {"",
                             "",
                             "двадцати",
                             "тридцати",
                             "сорока",
                             "пятидесяти",
                             "шестидесяти",
                             "семидесяти",
                             "восьмидесяти",
                             "девяноста"};
        const char* fh[] = {"",        "сто",      "двухсот", "трёхсот",   "четырёхсот",
                            "пятисот", "шестисот", "семисот", "восьмисот", "девятисот"};
        for (int i = 0; i < 10; ++i) {
            built.fusedUnits[i] = W(fu[i]);
            built.fusedTeens[i] = W(ft[i]);
            built.fusedTens[i] = W(fte[i]);
            built.fusedHundreds[i] = W(fh[i]);
        }
        built.endings[0] = C("ый", "ого", "ому", "ый", "ым", "ом");
        built.endings[1] = C("ая", "ой", "ой", "ую", "ой", "ой");
        built.endings[2] = C("ое", "ого", "ому", "ое", "ым", "ом");
        built.endings[3] = C("ые", "ых", "ым", "ые", "ыми", "ых");
        built.stressedEndings[0] = C("о+й", "о+го", "о+му", "о+й", "ы+м", "о+м");
        built.stressedEndings[1] = C("а+я", "о+й", "о+й", "у+ю", "о+й", "о+й");
        built.stressedEndings[2] = C("о+е", "о+го", "о+му", "о+е", "ы+м", "о+м");
        built.stressedEndings[3] = C("ы+е", "ы+х", "ы+м", "ы+е", "ы+ми", "ы+х");
        built.softEndings[0] = C("ий", "ьего", "ьему", "ий", "ьим", "ьем");
        built.softEndings[1] = C("ья", "ьей", "ьей", "ью", "ьей", "ьей");
        built.softEndings[2] = C("ье", "ьего", "ьему", "ье", "ьим", "ьем");
        built.softEndings[3] = C("ьи", "ьих", "ьим", "ьи", "ьими", "ьих");
        return built;
    }();
    return t;
}

int Idx(Case c) {
    return static_cast<int>(c);
}
int Gi(Gender g) {
    return static_cast<int>(g);
}

// Reads 1..999 in case c and gender g.
void Triad(int n, Case c, Gender g, std::vector<std::string>& out) {
    const Tables& t = T();
    const int h = n / 100, rest = n % 100, tens = rest / 10, units = rest % 10;
    if (h) out.push_back(t.hundreds[h][Idx(c)]);
    if (rest >= 10 && rest < 20) {
        out.push_back(t.teens[rest - 10][Idx(c)]);
        return;
    }
    if (tens) out.push_back(t.tens[tens][Idx(c)]);
    if (units == 1) {
        out.push_back(t.one[Gi(g)][Idx(c)]);
    } else if (units == 2) {
        out.push_back(t.two[g == Gender::Fem ? 1 : 0][Idx(c)]);
    } else if (units) {
        out.push_back(t.units[units][Idx(c)]);
    }
}

CountForm FormOf(long long n) {
    const long long r100 = n % 100, r10 = n % 10;
    if (r100 >= 11 && r100 <= 14) return CountForm::Many;
    if (r10 == 1) return CountForm::One;
    if (r10 >= 2 && r10 <= 4) return CountForm::Few;
    return CountForm::Many;
}

// Triads from the lowest: value % 1000, then thousands, millions ...
std::vector<int> Triads(std::string_view digits) {
    std::vector<int> out;
    size_t end = digits.size();
    while (end > 0) {
        size_t begin = end >= 3 ? end - 3 : 0;
        int v = 0;
        for (size_t i = begin; i < end; ++i) v = v * 10 + (digits[i] - '0');
        out.push_back(v);
        end = begin;
    }
    return out;
}

const Cases& ScaleForm(int scale, int triad, Case c) {
    const Tables& t = T();
    CountForm f = FormOf(triad);
    if (c == Case::Nom || c == Case::Acc) {
        if (f == CountForm::One) return t.scaleSg[scale];
        if (f == CountForm::Few) return t.scaleSg[scale];  // genitive singular below
        return t.scalePl[scale];
    }
    return f == CountForm::One ? t.scaleSg[scale] : t.scalePl[scale];
}

std::string ScaleWord(int scale, int triad, Case c) {
    const Tables& t = T();
    CountForm f = FormOf(triad);
    if (c == Case::Nom || c == Case::Acc) {
        if (f == CountForm::One) return t.scaleSg[scale][Idx(c)];
        if (f == CountForm::Few) return t.scaleSg[scale][Idx(Case::Gen)];
        return t.scalePl[scale][Idx(Case::Gen)];
    }
    return ScaleForm(scale, triad, c)[Idx(c)];
}

void ReadCardinalTriads(const std::vector<int>& triads, size_t lowest, Case c, Gender g,
                        std::vector<std::string>& out) {
    for (size_t k = triads.size(); k-- > lowest;) {
        const int v = triads[k];
        if (v == 0) continue;
        if (k == 0) {
            Triad(v, c, g, out);
        } else {
            const int scale = static_cast<int>(k);
            // "тысяча" alone, not "одна тысяча", when it leads the number.
            const bool bare = v == 1 && k == triads.size() - 1 && scale == 1;
            if (!bare) Triad(v, c, scale == 1 ? Gender::Fem : Gender::Masc, out);
            out.push_back(ScaleWord(scale, v, c));
        }
    }
}

std::string OrdinalWord(const Tables::Stem& stem, Case c, Gender g, bool soft = false) {
    const Tables& t = T();
    if (soft) return stem.text + t.softEndings[Gi(g)][Idx(c)];
    return stem.text + (stem.stressedEnding ? t.stressedEndings : t.endings)[Gi(g)][Idx(c)];
}

}  // namespace

CountForm CountFormOf(std::string_view digits) {
    long long n = 0;
    const size_t from = digits.size() > 2 ? digits.size() - 2 : 0;
    for (size_t i = from; i < digits.size(); ++i) n = n * 10 + (digits[i] - '0');
    return FormOf(n);
}

void Cardinal(std::string_view digits, Case c, Gender g, std::vector<std::string>& out) {
    while (digits.size() > 1 && digits[0] == '0') digits.remove_prefix(1);
    if (digits.empty() || digits.size() > kMaxCardinalDigits) return;
    const std::vector<int> triads = Triads(digits);
    bool any = false;
    for (int v : triads) any = any || v != 0;
    if (!any) {
        out.push_back(T().zero[Idx(c)]);
        return;
    }
    ReadCardinalTriads(triads, 0, c, g, out);
}

void Ordinal(std::string_view digits, Case c, Gender g, std::vector<std::string>& out) {
    while (digits.size() > 1 && digits[0] == '0') digits.remove_prefix(1);
    if (digits.empty() || digits.size() > kMaxCardinalDigits) return;
    const Tables& t = T();
    const std::vector<int> triads = Triads(digits);
    size_t lowest = 0;
    while (lowest < triads.size() && triads[lowest] == 0) ++lowest;
    if (lowest == triads.size()) {  // "нулевой"
        out.push_back(W("нулев") + t.stressedEndings[Gi(g)][Idx(c)]);
        return;
    }
    // Everything above the last non-zero triad is read as a cardinal.
    ReadCardinalTriads(triads, lowest + 1, Case::Nom, Gender::Masc, out);
    const int v = triads[lowest];
    if (lowest > 0) {
        std::string fused;
        if (v != 1) {
            const int h = v / 100, rest = v % 100;
            fused += t.fusedHundreds[h];
            if (rest >= 10 && rest < 20) {
                fused += t.fusedTeens[rest - 10];
            } else {
                fused += t.fusedTens[rest / 10];
                fused += t.fusedUnits[rest % 10];
            }
        }
        const Tables::Stem& scale = t.ordScales[lowest < 5 ? lowest : 4];
        out.push_back(fused + OrdinalWord(scale, c, g));
        return;
    }
    const int h = v / 100, rest = v % 100;
    if (rest == 0) {
        out.push_back(OrdinalWord(t.ordHundreds[h], c, g));
        return;
    }
    if (h) out.push_back(t.hundreds[h][Idx(Case::Nom)]);
    if (rest >= 10 && rest < 20) {
        out.push_back(OrdinalWord(t.ordTeens[rest - 10], c, g));
        return;
    }
    const int tens = rest / 10, units = rest % 10;
    if (units == 0) {
        out.push_back(OrdinalWord(t.ordTens[tens], c, g));
        return;
    }
    if (tens) out.push_back(t.tens[tens][Idx(Case::Nom)]);
    out.push_back(OrdinalWord(t.ordUnits[units], c, g, units == 3));
}

const std::string& DigitName(char digit) {
    const int d = digit >= '0' && digit <= '9' ? digit - '0' : 0;
    return T().digitNames[d];
}

const std::string& CountedNoun(const NounForms& noun, std::string_view digits, Case c) {
    const CountForm f = CountFormOf(digits);
    if (c == Case::Nom || c == Case::Acc) {
        if (f == CountForm::One) return noun.sg[Idx(c)];
        if (f == CountForm::Few) return noun.sg[Idx(Case::Gen)];
        return noun.pl[Idx(Case::Gen)];
    }
    return f == CountForm::One ? noun.sg[Idx(c)] : noun.pl[Idx(c)];
}

void FractionOrdinal(int power, Case c, Gender g, std::vector<std::string>& out) {
    static const std::vector<Tables::Stem> stems = [] {
        std::vector<Tables::Stem> s;
        for (const char* w : {"", "деся+т", "со+т", "ты+сячн", "десятиты+сячн", "стоты+сячн",
                              "миллио+нн", "десятимиллио+нн", "стомиллио+нн", "миллиа+рдн"})
            s.push_back({W(w), false});
        return s;
    }();
    if (power < 1 || power > 9) return;
    out.push_back(OrdinalWord(stems[static_cast<size_t>(power)], c, g));
}

}  // namespace lexicon
