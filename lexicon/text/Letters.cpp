#include "text/Letters.h"

#include <array>

#include "text/Charset.h"

namespace lexicon {

namespace {

struct Names {
    std::array<std::string, 256> byChar;
};

const Names& TheNames() {
    static const Names n = [] {
        Names built;
        const char* cyr[] = {
            "а+",  "бэ+",        "вэ+",           "гэ+", "дэ+",          "е+",  "жэ+", "зэ+",
            "и+",  "и кра+ткое", "ка+",           "э+л", "э+м",          "э+н", "о+",  "пэ+",
            "э+р", "э+с",        "тэ+",           "у+",  "э+ф",          "ха+", "цэ+", "чэ+",
            "ша+", "ща+",        "твёрдый зна+к", "ы+",  "мягкий зна+к", "э+",  "ю+",  "я+"};
        for (int i = 0; i < 32; ++i) {
            built.byChar[0xE0 + i] = W(cyr[i]);
            built.byChar[0xC0 + i] = W(cyr[i]);
        }
        built.byChar[cp::kYo] = built.byChar[cp::kYoUpper] = W("ё+");
        const char* lat[] = {"э+й",  "би+",     "си+",   "ди+",  "и+",  "э+ф", "джи+",
                             "э+йч", "а+й",     "дже+й", "ке+й", "э+л", "э+м", "э+н",
                             "о+у",  "пи+",     "кью+",  "а+р",  "э+с", "ти+", "ю+",
                             "ви+",  "да+блью", "э+кс",  "уа+й", "зе+д"};
        for (int i = 0; i < 26; ++i) {
            built.byChar['a' + i] = W(lat[i]);
            built.byChar['A' + i] = W(lat[i]);
        }
        const char* digits[] = {"но+ль", "оди+н",  "два+",  "три+",    "четы+ре",
                                "пя+ть", "ше+сть", "се+мь", "во+семь", "де+вять"};
        for (int i = 0; i < 10; ++i) built.byChar['0' + i] = W(digits[i]);
        return built;
    }();
    return n;
}

std::string Unstressed(std::string_view s) {
    std::string out;
    for (char c : s)
        if (c != '+') out += c;
    return out;
}

bool IsLatinVowel(unsigned char c) {
    c = static_cast<unsigned char>(c | 0x20);
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'y';
}

}  // namespace

std::string LetterName(unsigned char c) {
    return TheNames().byChar[c];
}

std::string Spell(std::string_view word) {
    std::string out;
    std::string last;
    for (unsigned char c : word) {
        const std::string& name = TheNames().byChar[c];
        if (name.empty()) continue;
        if (!last.empty()) out += Unstressed(last) + "-";
        last = name;
    }
    // Multi-word names ("и краткое") stay, the stress on the last name only.
    out += last;
    for (char& c : out)
        if (c == ' ') c = '-';
    return out;
}

bool IsInitialism(std::string_view word) {
    if (word.size() < 2 || word.size() > 6) return false;
    for (unsigned char c : word)
        if (!IsCyrillicUpper(c)) return false;
    return true;
}

bool SpellInitialism(std::string_view word) {
    static const WordSet asWords{"ГОСТ", "МХАТ", "ТАСС", "СПИД", "ЗАГС", "МКАД", "ГЭС", "АЭС"};
    if (asWords.Has(word)) return false;
    bool vowel = false;
    int consonants = 0;
    for (unsigned char c : word) {
        if (IsVowel(static_cast<unsigned char>(Lower(static_cast<char>(c))))) {
            vowel = true;
            consonants = 0;
        } else if (++consonants >= 2) {
            return true;
        }
    }
    return !vowel;
}

std::string ReadInitialism(std::string_view word) {
    static const std::string usa = W("США"), usaSaid = W("сэ-шэ-а+");
    if (word == usa) return usaSaid;
    return Spell(word);
}

std::string ReadLatin(std::string_view word) {
    bool vowel = false, allUpper = true;
    for (unsigned char c : word) {
        vowel = vowel || IsLatinVowel(c);
        allUpper = allUpper && !(c >= 'a' && c <= 'z');
    }
    if (!vowel || (allUpper && word.size() <= 4) || word.size() == 1) return Spell(word);
    static const struct Rules {
        std::string sh = W("ш"), ch = W("ч"), zh = W("ж"), kh = W("х"), th = W("т"), ph = W("ф"),
                    oo = W("у"), ee = W("и"), ks = W("кс"), kv = W("кв"), dzh = W("дж"), s = W("с"),
                    k = W("к"), j = W("й"), i = W("и"), e = W("е"), ea = W("и"), ou = W("ау"),
                    ay = W("эй"), tion = W("шн"), ya = W("я"), yu = W("ю"), ye = W("е"),
                    yo = W("ё");
        std::array<std::string, 26> single;
    } r = [] {
        Rules built;
        const char* m[] = {"а", "б", "к", "д", "е", "ф", "г", "х", "и", "дж", "к",  "л", "м",
                           "н", "о", "п", "к", "р", "с", "т", "у", "в", "в",  "кс", "и", "з"};
        for (int i = 0; i < 26; ++i) built.single[i] = W(m[i]);
        return built;
    }();
    std::string lower;
    for (unsigned char c : word) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c | 0x20 : c);
    // A "magic" e: vowel, one consonant, then an "e" that ends the word or
    // a part of a compound ("fire|fox", "time|line"); the vowel says its
    // name and the "e" is silent. Before "c" and "g" only for the first
    // vowel ("space", but "office").
    auto isVowel = [&](size_t k) {
        return k < lower.size() && IsLatinVowel(static_cast<unsigned char>(lower[k]));
    };
    auto isConsonant = [&](size_t k) {
        return k < lower.size() && lower[k] >= 'a' && lower[k] <= 'z' && !isVowel(k) &&
               lower[k] != 'w' && lower[k] != 'x' && lower[k] != 'y';
    };
    auto magicE = [&](size_t v) {  // v: the vowel before consonant + "e"
        const char named = lower[v];
        if (named != 'a' && named != 'i' && named != 'o' && named != 'u') return false;
        if (v + 2 >= lower.size() || lower[v + 2] != 'e' || !isConsonant(v + 1)) return false;
        // "fire", "wire"; but "more", "care" keep their vowel.
        if (lower[v + 1] == 'r' && lower[v] != 'i') return false;
        if (v > 0 && isVowel(v - 1)) return false;
        const size_t after = v + 3;
        const bool ends = after >= lower.size() || lower[after] < 'a' || lower[after] > 'z';
        // A following part of at least three letters starting consonant-vowel.
        const bool compound =
            !ends && after + 2 < lower.size() && isConsonant(after) && isVowel(after + 1);
        if (!ends && !compound) return false;
        const char cons = lower[v + 1];
        if (cons == 'c' || cons == 'g') {
            for (size_t k = 0; k < v; ++k)
                if (isVowel(k)) return false;
        }
        return true;
    };
    static const struct Long {
        std::string a = W("ей"), i = W("ай"), o = W("оу"), u = W("ю"), uu = W("у");
    } lg;
    std::string out;
    for (size_t i = 0; i < lower.size(); ++i) {
        const char c = lower[i];
        const char n = i + 1 < lower.size() ? lower[i + 1] : 0;
        if (c < 'a' || c > 'z') continue;  // apostrophes, hyphens
        if ((c == 'a' || c == 'i' || c == 'o' || c == 'u') && magicE(i)) {
            const bool plainU = c == 'u' && i > 0 && (lower[i - 1] == 'r' || lower[i - 1] == 'l');
            out += c == 'a' ? lg.a : c == 'i' ? lg.i : c == 'o' ? lg.o : plainU ? lg.uu : lg.u;
            continue;
        }
        if (c == 'e' && i >= 2 && magicE(i - 2)) continue;
        auto two = [&](char a, char b) { return c == a && n == b; };
        if (lower.compare(i, 4, "tion") == 0) {
            out += r.tion;
            i += 3;
            continue;
        }
        if (two('s', 'h')) {
            out += r.sh;
            ++i;
            continue;
        }
        if (two('c', 'h')) {
            out += r.ch;
            ++i;
            continue;
        }
        if (two('z', 'h')) {
            out += r.zh;
            ++i;
            continue;
        }
        if (two('k', 'h')) {
            out += r.kh;
            ++i;
            continue;
        }
        if (two('t', 'h')) {
            out += r.th;
            ++i;
            continue;
        }
        if (two('p', 'h')) {
            out += r.ph;
            ++i;
            continue;
        }
        if (two('o', 'o')) {
            out += r.oo;
            ++i;
            continue;
        }
        if (two('e', 'e') || two('e', 'a')) {
            out += r.ee;
            ++i;
            continue;
        }
        if (two('o', 'u')) {
            out += r.ou;
            ++i;
            continue;
        }
        if (two('a', 'y') || two('e', 'y')) {
            out += r.ay;
            ++i;
            continue;
        }
        if (two('c', 'k')) {
            out += r.k;
            ++i;
            continue;
        }
        if (two('q', 'u')) {
            out += r.kv;
            ++i;
            continue;
        }
        if (c == 'c') {
            out += (n == 'e' || n == 'i' || n == 'y') ? r.s : r.k;
            continue;
        }
        if (c == 'y' && (i == 0 || !IsLatinVowel(static_cast<unsigned char>(lower[i - 1])))) {
            if (n == 'a') {
                out += r.ya;
                ++i;
                continue;
            }
            if (n == 'u') {
                out += r.yu;
                ++i;
                continue;
            }
            if (n == 'e') {
                out += r.ye;
                ++i;
                continue;
            }
            if (n == 'o') {
                out += r.yo;
                ++i;
                continue;
            }
        }
        if (two('a', 'i')) {
            out += r.ay;
            ++i;
            continue;
        }
        if (c == 'y') {
            const bool vowelNext = IsLatinVowel(static_cast<unsigned char>(n));
            out += (i == 0 && vowelNext) ? r.j : r.i;
            continue;
        }
        // A final silent "e" after a consonant ("code", "game").
        if (c == 'e' && n == 0 && i >= 2 && !IsLatinVowel(static_cast<unsigned char>(lower[i - 1])))
            continue;
        if (c == lower[i == 0 ? 0 : i - 1] && i > 0 && !IsLatinVowel(static_cast<unsigned char>(c)))
            continue;  // doubled consonants are said once
        out += r.single[static_cast<size_t>(c - 'a')];
    }
    return out.empty() ? Spell(word) : out;
}

int RomanValue(std::string_view word) {
    if (word.empty() || word.size() > 12) return 0;
    auto value = [](char c) {
        switch (c) {
            case 'I':
                return 1;
            case 'V':
                return 5;
            case 'X':
                return 10;
            case 'L':
                return 50;
            case 'C':
                return 100;
            case 'D':
                return 500;
            case 'M':
                return 1000;
            default:
                return 0;
        }
    };
    int total = 0;
    for (size_t i = 0; i < word.size(); ++i) {
        const int v = value(word[i]);
        if (v == 0) return 0;
        const int next = i + 1 < word.size() ? value(word[i + 1]) : 0;
        total += v < next ? -v : v;
    }
    if (total <= 0 || total > 4000) return 0;
    // Only canonical spellings count ("IIII" and "IC" are not numerals).
    static const char* const kThousands[] = {"", "M", "MM", "MMM", "MMMM"};
    static const char* const kHundreds[] = {"",  "C",  "CC",  "CCC",  "CD",
                                            "D", "DC", "DCC", "DCCC", "CM"};
    static const char* const kTens[] = {"", "X", "XX", "XXX", "XL", "L", "LX", "LXX", "LXXX", "XC"};
    static const char* const kUnits[] = {"",  "I",  "II",  "III",  "IV",
                                         "V", "VI", "VII", "VIII", "IX"};
    std::string canonical = std::string(kThousands[total / 1000]) + kHundreds[total / 100 % 10] +
                            kTens[total / 10 % 10] + kUnits[total % 10];
    return canonical == word ? total : 0;
}

}  // namespace lexicon
