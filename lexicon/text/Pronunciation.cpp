#include "text/Pronunciation.h"

#include <unordered_map>
#include <utility>
#include <vector>

#include "text/Charset.h"

namespace lexicon {

namespace {

struct Rules {
    std::unordered_map<std::string, std::string> words;
    std::vector<std::pair<std::string, std::string>> stems;     // anywhere in the word
    std::vector<std::pair<std::string, std::string>> clusters;  // anywhere in the word
    std::string tsya = W("тся"), tsya2 = W("ться"), tsa = W("ца");
    std::string ogo = W("ого"), ego = W("его");
    WordSet ogoExceptions{"много", "немного", "строго", "нестрого", "дорого",  "недорого",
                          "убого", "полого",  "отлого", "ого",      "разлого", "пологого"};
};

const Rules& TheRules() {
    static const Rules r = [] {
        Rules built;
        auto word = [&](const char* a, const char* b) { built.words[W(a)] = W(b); };
        word("что", "што");
        word("чтобы", "штобы");
        word("чтоб", "штоб");
        word("ничто", "ништо");
        word("нечто", "нешто");
        word("конечно", "конешно");
        word("скучно", "скушно");
        word("нарочно", "нарошно");
        word("сегодня", "севодня");
        word("сегодняшний", "севодняшний");
        auto stem = [&](const char* a, const char* b) { built.stems.emplace_back(W(a), W(b)); };
        stem("скучн", "скушн");
        stem("яичниц", "яишниц");
        stem("скворечн", "скворешн");
        stem("пустячн", "пустяшн");
        stem("прачечн", "прачешн");
        stem("сегодняшн", "севодняшн");
        stem("подсолнечн", "подсолнешн");
        auto cluster = [&](const char* a, const char* b) {
            built.clusters.emplace_back(W(a), W(b));
        };
        cluster("вств", "ств");
        cluster("лнц", "нц");
        cluster("рдц", "рц");
        cluster("стл", "сл");
        cluster("здн", "зн");
        cluster("ндск", "нск");
        cluster("нтск", "нск");
        return built;
    }();
    return r;
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
    size_t at = 0;
    while ((at = s.find(from, at)) != std::string::npos) {
        s.replace(at, from.size(), to);
        at += to.size();
    }
}

// Rewrites one part (no hyphen, no stress marks); vowels are never added
// or removed, so the marks can go back after the same vowels.
void FixBare(std::string& w) {
    const Rules& r = TheRules();
    if (auto it = r.words.find(w); it != r.words.end()) {
        w = it->second;
        return;
    }
    for (const auto& [from, to] : r.stems)
        if (w.find(from) != std::string::npos) ReplaceAll(w, from, to);
    for (const auto& [from, to] : r.clusters)
        if (w.find(from) != std::string::npos) ReplaceAll(w, from, to);
    if (EndsWith(w, r.tsya2)) {
        w.replace(w.size() - r.tsya2.size(), r.tsya2.size(), r.tsa);
    } else if (EndsWith(w, r.tsya)) {
        w.replace(w.size() - r.tsya.size(), r.tsya.size(), r.tsa);
    }
    if ((EndsWith(w, r.ogo) || EndsWith(w, r.ego)) && w.size() >= 3 && !r.ogoExceptions.Has(w)) {
        w[w.size() - 2] = W("в")[0];
    }
}

std::string FixPart(std::string_view part) {
    // Take the marks off, remembering the vowel each follows.
    std::string bare;
    std::vector<std::pair<int, char>> marks;  // (vowel number, mark)
    int vowels = 0;
    for (char c : part) {
        if (c == '+' || c == '-') {
            marks.emplace_back(vowels - 1, c);
            continue;
        }
        if (IsVowel(static_cast<unsigned char>(c))) ++vowels;
        bare += c;
    }
    FixBare(bare);
    std::string out;
    int n = 0;
    size_t m = 0;
    for (char c : bare) {
        out += c;
        if (IsVowel(static_cast<unsigned char>(c))) {
            while (m < marks.size() && marks[m].first == n) out += marks[m++].second;
            ++n;
        }
    }
    return out;
}

}  // namespace

std::string FixPronunciation(std::string_view word) {
    std::string out;
    size_t start = 0;
    while (start <= word.size()) {
        size_t dash = word.find('-', start);
        if (dash == std::string_view::npos) dash = word.size();
        if (!out.empty() || start > 0) out += '-';
        out += FixPart(word.substr(start, dash - start));
        start = dash + 1;
    }
    return out;
}

}  // namespace lexicon
