#include "tools/voicebuild/Aligner.h"

#include "tools/voicebuild/ConsonantClasses.h"

#include <algorithm>
#include <limits>

namespace vox::voicebuild {

namespace {

struct Costs {
    static constexpr double kImpossible = 1e9;
    static constexpr double kVowelForVowel = 0.2;  // another vowel letter
    static constexpr double kStressMismatch = 0.1;
    static constexpr double kSameFamily = 0.3;
    static constexpr double kOtherConsonant = 0.9;
    static constexpr double kPhonemeWithoutSegment = 0.6;
    static constexpr double kTerminatorWithoutPause = 0.5;
    static constexpr double kSegmentWithoutPhoneme = 0.6;
    static constexpr double kPauseInsideWord = 1.0;
};

bool IsStressedDigit(char d) {
    return d == '0' || d == '5';
}

double MatchCost(const std::string& p, const PhoneClass& c) {
    if (IsBoundaryPhoneme(p)) return c.kind == PhoneKind::Pause ? 0.0 : Costs::kImpossible;
    if (c.kind == PhoneKind::Pause) return Costs::kImpossible;
    if (IsVowelPhoneme(p)) {
        if (c.kind == PhoneKind::Consonant) return Costs::kImpossible;
        std::string letter = p.substr(0, 1);
        bool sameLetter =
            std::find(c.phonemes.begin(), c.phonemes.end(), letter) != c.phonemes.end();
        bool stressAgrees = IsStressedDigit(p.back()) == (c.kind == PhoneKind::StressedVowel);
        return (sameLetter ? 0.0 : Costs::kVowelForVowel) +
               (stressAgrees ? 0.0 : Costs::kStressMismatch);
    }
    if (c.kind != PhoneKind::Consonant) return Costs::kImpossible;
    if (c.phonemes[0] == p) return 0.0;
    std::string family = ConsonantFamily(p);
    return !family.empty() && family == ConsonantFamily(c.phonemes[0]) ? Costs::kSameFamily
                                                                       : Costs::kOtherConsonant;
}

double DeleteCost(const std::string& p) {
    if (p == "_") return 0.0;
    if (p == "#") return Costs::kTerminatorWithoutPause;
    return Costs::kPhonemeWithoutSegment;
}

double InsertCost(const PhoneClass& c) {
    return c.kind == PhoneKind::Pause ? Costs::kPauseInsideWord : Costs::kSegmentWithoutPhoneme;
}

enum class Step : unsigned char { None, Match, Delete, Insert };

}  // namespace

bool IsBoundaryPhoneme(const std::string& p) {
    return p == "#" || p == "_";
}

bool IsVowelPhoneme(const std::string& p) {
    return p.size() >= 2 && std::string_view("AEIOUY").find(p[0]) != std::string_view::npos &&
           p.back() >= '0' && p.back() <= '9';
}

std::optional<Alignment> Align(const std::vector<std::string>& phonemes,
                               const std::vector<LabelSegment>& labels, const PhoneMap& map,
                               const std::string& labelPath, std::string& error) {
    std::vector<const PhoneClass*> classes;
    for (const LabelSegment& s : labels) {
        const PhoneClass* c = map.Find(s.phone);
        if (c == nullptr) {
            error = labelPath + ":" + std::to_string(s.line) + ": phone \"" + s.phone +
                    "\" is not in the phone map";
            return std::nullopt;
        }
        classes.push_back(c);
    }
    const size_t n = phonemes.size(), m = labels.size();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> cost((n + 1) * (m + 1), inf);
    std::vector<Step> step((n + 1) * (m + 1), Step::None);
    auto at = [m](size_t i, size_t j) { return i * (m + 1) + j; };
    cost[at(0, 0)] = 0.0;
    for (size_t i = 0; i <= n; ++i) {
        for (size_t j = 0; j <= m; ++j) {
            double here = cost[at(i, j)];
            if (here == inf) continue;
            auto relax = [&](size_t ii, size_t jj, double c, Step s) {
                if (c >= Costs::kImpossible) return;
                if (here + c < cost[at(ii, jj)]) {
                    cost[at(ii, jj)] = here + c;
                    step[at(ii, jj)] = s;
                }
            };
            if (i < n && j < m)
                relax(i + 1, j + 1, MatchCost(phonemes[i], *classes[j]), Step::Match);
            if (i < n) relax(i + 1, j, DeleteCost(phonemes[i]), Step::Delete);
            if (j < m) relax(i, j + 1, InsertCost(*classes[j]), Step::Insert);
        }
    }
    Alignment a;
    a.segmentOf.assign(n, -1);
    a.costOf.assign(n, 0.0f);
    a.cost = cost[at(n, m)];
    for (size_t i = n, j = m; i > 0 || j > 0;) {
        Step s = step[at(i, j)];
        double c = cost[at(i, j)];
        if (s == Step::Match) {
            --i, --j;
            a.segmentOf[i] = int(j);
            a.costOf[i] = float(c - cost[at(i, j)]);
        } else if (s == Step::Delete) {
            --i;
            a.costOf[i] = float(c - cost[at(i, j)]);
        } else {
            --j;
        }
    }
    a.phones = size_t(std::count_if(phonemes.begin(), phonemes.end(),
                                    [](const std::string& p) { return !IsBoundaryPhoneme(p); }));
    return a;
}

}  // namespace vox::voicebuild
