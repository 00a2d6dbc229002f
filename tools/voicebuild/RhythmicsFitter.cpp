#include "tools/voicebuild/RhythmicsFitter.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "engine/prosody/RhythmicsModel.h"

namespace vox::voicebuild {

namespace {

constexpr size_t kMinObservations = 20;  // a rule needs this many phonemes
constexpr double kMinGain = 0.002;       // share of the class's squared error a rule must save
constexpr size_t kMaxRulesPerClass = 24;
constexpr double kMinCoefficient = 0.05;

// One requirement: a keyword at a position, as the condition line says it.
struct Test {
    int position = kSelf;
    uint64_t mask = 0;
    std::string line;
};

constexpr const char* kSelfKeywords[] = {
    "Voiced",         "Voiceless",      "Occlusive",     "Fricative",
    "Plosive",        "Sonant",         "Affricate",     "Hard",
    "Soft",           "Vibrant",        "Open",          "Closed",
    "FirstSyl",       "MidSyl",         "LastSyl",       "NonLastSyl",
    "StressedSyl",    "PretonicSyl",    "PosttonicSyl",  "Adjoining",
    "NonAdjoining",   "FirstAU",        "MidAU",         "LastAU",
    "NonLastAU",      "HasPretonicSyl", "NoPretonicSyl", "HasPosttonicSyl",
    "NoPosttonicSyl", "Homoorganic",    "SamePhoneme1",  "SamePhoneme2",
    "Type1",          "Type2",          "Type3",         "Short",
    "Long",           "Neutral"};
constexpr const char* kNeighbourKeywords[] = {
    "None",    "Vowel",     "Consonant", "Stressed",  "Unstressed", "Voiced", "Voiceless",
    "Plosive", "Fricative", "Sonant",    "Affricate", "Soft",       "Hard",   "Vibrant"};
constexpr std::pair<int, const char*> kNeighbours[] = {
    {kL2, "L2"}, {kL1, "L1"}, {kR1, "R1"}, {kR2, "R2"}};
// Positional requirements that combine with any other test.
constexpr const char* kAnchors[] = {"R1 None", "R2 None", "L1 None",      "LastAU",
                                    "LastSyl", "FirstAU", "R1 Consonant", "Type2"};

std::vector<Test> SingleTests() {
    std::vector<Test> tests;
    for (const char* k : kSelfKeywords)
        if (std::optional<uint64_t> m = KeywordMask(k)) tests.push_back({kSelf, *m, k});
    for (const auto& [position, word] : kNeighbours)
        for (const char* k : kNeighbourKeywords)
            if (std::optional<uint64_t> m = KeywordMask(k))
                tests.push_back({position, *m, std::string(word) + " " + k});
    return tests;
}

using Candidate = std::vector<Test>;

std::vector<Candidate> Candidates() {
    const std::vector<Test> singles = SingleTests();
    std::vector<Candidate> out;
    for (const Test& t : singles) out.push_back({t});
    for (const char* anchor : kAnchors) {
        auto a = std::find_if(singles.begin(), singles.end(),
                              [&](const Test& t) { return t.line == anchor; });
        if (a == singles.end()) continue;
        for (const Test& t : singles)
            if (t.line != a->line) out.push_back({*a, t});
    }
    return out;
}

bool Holds(const Candidate& c, const PhonemeContext& context) {
    for (const Test& t : c)
        if ((context.sd[t.position] & t.mask) != t.mask) return false;
    return true;
}

// Sums over phonemes for duration = coefficient × reference: the coefficient
// is the ratio of summed durations to summed references (no bias over the
// phonemes it covers), its squared error what a rule is chosen by.
struct Sums {
    double dd = 0.0, dr = 0.0, rr = 0.0, d = 0.0, r = 0.0;
    size_t n = 0;
    void Add(const DurationObservation& o) {
        dd += o.samples * o.samples, dr += o.samples * o.reference, rr += o.reference * o.reference;
        d += o.samples, r += o.reference;
        ++n;
    }
    Sums Minus(const Sums& s) const {
        return {dd - s.dd, dr - s.dr, rr - s.rr, d - s.d, r - s.r, n - s.n};
    }
    double Coefficient() const {
        return r > 0.0 ? std::clamp(d / r, kMinCoefficient, double(RhythmicsModel::kMaxCoefficient))
                       : 1.0;
    }
    double SquaredError() const {
        const double c = Coefficient();
        return std::max(0.0, dd - 2.0 * c * dr + c * c * rr);
    }
};

struct LearnedRule {
    Candidate conditions;
    double coefficient = 1.0;
    size_t observations = 0;
};

// The greedy decision list of one class; the last rule has no conditions.
std::vector<LearnedRule> LearnClass(std::vector<const DurationObservation*> left,
                                    const std::vector<Candidate>& candidates) {
    std::vector<LearnedRule> rules;
    Sums all;
    for (const DurationObservation* o : left) all.Add(*o);
    const double floorGain = kMinGain * all.SquaredError();
    while (rules.size() + 1 < kMaxRulesPerClass) {
        Sums total;
        for (const DurationObservation* o : left) total.Add(*o);
        double bestGain = floorGain;
        const Candidate* best = nullptr;
        Sums bestSums;
        for (const Candidate& c : candidates) {
            Sums in;
            for (const DurationObservation* o : left)
                if (Holds(c, o->context)) in.Add(*o);
            const Sums out = total.Minus(in);
            if (in.n < kMinObservations || out.n < kMinObservations) continue;
            const double gain = total.SquaredError() - in.SquaredError() - out.SquaredError();
            if (gain > bestGain) bestGain = gain, best = &c, bestSums = in;
        }
        if (best == nullptr) break;
        rules.push_back({*best, bestSums.Coefficient(), bestSums.n});
        std::erase_if(left, [&](const DurationObservation* o) { return Holds(*best, o->context); });
    }
    Sums rest;
    for (const DurationObservation* o : left) rest.Add(*o);
    rules.push_back({{}, rest.Coefficient(), rest.n});
    return rules;
}

struct ClassText {
    int cls;
    const char* header;
    const char* name;
};
constexpr ClassText kClasses[] = {
    {int(RhythmicsClass::Stressed), "{Vowel stressed", "stressed"},
    {int(RhythmicsClass::Pretonic), "{Vowel pretonic", "pretonic"},
    {int(RhythmicsClass::Posttonic), "{Vowel posttonic", "posttonic"},
    {int(RhythmicsClass::Consonant), "{Consonant", "consonant"},
};

std::string RuleName(const char* cls, const Candidate& c) {
    std::string name = cls;
    for (size_t i = 0; i < c.size(); ++i) name += (i ? ", " : " [") + c[i].line;
    return c.empty() ? name : name + "]";
}

}  // namespace

std::string FitRhythmicsRules(std::span<const DurationObservation> observations, size_t& rules) {
    const std::vector<Candidate> candidates = Candidates();
    std::string text =
        ".Version 2\n; fitted to the corpus by voxamen voice build: per class a decision list,\n"
        "; first match wins; the numbers after \";\" are the phonemes each rule took\n";
    rules = 0;
    for (const ClassText& k : kClasses) {
        std::vector<const DurationObservation*> of;
        for (const DurationObservation& o : observations)
            if (o.cls == k.cls && o.samples > 0.0 && o.reference > 0.0) of.push_back(&o);
        if (of.empty()) continue;
        text += std::string(k.header) + "\n";
        for (const LearnedRule& r : LearnClass(std::move(of), candidates)) {
            char value[48];
            std::snprintf(value, sizeof value, ": %.3f\n; %zu\n", r.coefficient, r.observations);
            text += RuleName(k.name, r.conditions) + value;
            for (const Test& t : r.conditions) text += t.line + "\n";
            ++rules;
        }
        text += "}\n";
    }
    return text;
}

}  // namespace vox::voicebuild
