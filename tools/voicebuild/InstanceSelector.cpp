#include "tools/voicebuild/InstanceSelector.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

#include "tools/voicebuild/Median.h"
#include "tools/voicebuild/NeighbourFit.h"
#include "tools/voicebuild/Spectrum.h"

namespace vox::voicebuild {

namespace {

struct NameMedians {
    double duration = 0.0, f0 = 0.0, level = 0.0;
    std::vector<float> startBands, endBands;
    bool mostlyFinal = false;  // most instances stand before a pause
};

// Band by band medians of the instances' edge spectra.
std::vector<float> MedianBands(const std::vector<Instance>& instances,
                               const std::vector<int>& members,
                               std::vector<float> Instance::*bands) {
    std::vector<float> out;
    std::vector<std::vector<double>> columns;
    for (int i : members) {
        const std::vector<float>& b = instances[size_t(i)].*bands;
        if (b.empty()) continue;
        columns.resize(b.size());
        for (size_t k = 0; k < b.size() && k < columns.size(); ++k) columns[k].push_back(b[k]);
    }
    for (std::vector<double>& c : columns) out.push_back(float(Median(std::move(c))));
    return out;
}

bool QuietEdgesAreTheSound(SoundClass c) {
    return c == SoundClass::VoicelessStop || c == SoundClass::VoicedObstruent;
}

std::map<std::string, std::vector<int>> ByName(const std::vector<Instance>& instances) {
    std::map<std::string, std::vector<int>> names;
    for (size_t i = 0; i < instances.size(); ++i)
        if (instances[i].Duration() > 0.0) names[instances[i].name].push_back(int(i));
    return names;
}

// A name's instances as recorded (its cut variants aside).
std::vector<int> Recorded(const std::vector<Instance>& instances, const std::vector<int>& members) {
    std::vector<int> out;
    for (int i : members)
        if (instances[size_t(i)].primary < 0) out.push_back(i);
    return out;
}

NameMedians MediansOf(const std::vector<Instance>& instances, const std::vector<int>& all) {
    const std::vector<int> members = Recorded(instances, all);
    std::vector<double> d, f, l;
    for (int i : members) {
        d.push_back(instances[size_t(i)].Duration());
        if (instances[size_t(i)].f0 > 0.0f) f.push_back(instances[size_t(i)].f0);
        l.push_back(instances[size_t(i)].levelDb);
    }
    size_t final = 0;
    for (int i : members) final += instances[size_t(i)].beforePause;
    NameMedians m;
    m.duration = Median(d);
    m.f0 = Median(f);
    m.level = Median(l);
    m.startBands = MedianBands(instances, members, &Instance::startBands);
    m.endBands = MedianBands(instances, members, &Instance::endBands);
    m.mostlyFinal = 2 * final > members.size();
    return m;
}

double Penalty(const Instance& in, const NameMedians& m, const SelectionWeights& w) {
    double p = 0.0;
    if (!in.labelAgrees) p += w.labelDisagrees;
    if (in.atAlignerMinimum) p += w.alignerMinimum;
    if (in.Duration() < w.minDuration) p += w.tooShort;
    if (in.afterPause && !in.contextIsPause) p += w.pauseNeighbour;
    if (in.beforePause != m.mostlyFinal) p += w.finalMismatch;
    if (in.cls == SoundClass::StressedVowel && in.inFinalWord && !m.mostlyFinal)
        p += w.finalStressed;
    double edges = 0.0;
    if (!in.startBands.empty() && in.startBands.size() == m.startBands.size())
        edges += SpectralDistance(in.startBands, m.startBands);
    if (!in.endBands.empty() && in.endBands.size() == m.endBands.size())
        edges += SpectralDistance(in.endBands, m.endBands);
    p += w.edgeSpectrumDb * edges / 2.0;
    if (!QuietEdgesAreTheSound(in.cls)) {
        for (float quiet : {in.leadingQuiet, in.trailingQuiet})
            p += w.quietPerMs * std::max(0.0, 1000.0 * quiet - w.quietAllowedMs);
    }
    if (m.duration > 0.0) p += w.durationLog * std::abs(std::log(in.Duration() / m.duration));
    if (in.f0 > 0.0f && m.f0 > 0.0) p += w.f0Semitones * std::abs(12.0 * std::log2(in.f0 / m.f0));
    p += w.levelDb * std::abs(in.levelDb - m.level);
    if (in.intonable) {
        p += w.irregularMarks * (1.0 - in.markRegularity);
        p += w.unvoiced * (1.0 - in.voicedShare);
    }
    return p + w.alignCost * in.alignCost;
}

// Whether the fit to the neighbours may take the instance: the prosody models
// scale units from their recorded length, level and f0, so a unit far from
// its name's medians would speak its sound too long, loud or high.
bool Typical(const Instance& in, const NameMedians& m, const SelectionWeights& w) {
    if (m.duration > 0.0 &&
        std::abs(std::log(in.Duration() / m.duration)) > std::log(w.typicalLength))
        return false;
    if (std::abs(in.levelDb - m.level) > w.typicalLevelDb) return false;
    return in.f0 <= 0.0f || m.f0 <= 0.0 ||
           std::abs(12.0 * std::log2(in.f0 / m.f0)) <= w.typicalSemitones;
}

// The recorded instance that follows `in` directly in its utterance, or -1.
int Follower(const Instance& in, const std::vector<PreparedUtterance>& utterances) {
    const PreparedUtterance& u = utterances[size_t(in.utterance)];
    size_t next = size_t(in.position) + 1;
    return next < u.instanceOf.size() ? u.instanceOf[next] : -1;
}

// The choice units: a consonant and its mirror vowel cut from one token
// (every token where the consonant's name is followed directly by its
// mirror is a candidate), and every other name alone. Each group starts
// with its candidate of the smallest penalty.
std::vector<SelectionGroup> Groups(const std::vector<Instance>& instances,
                                   const std::vector<PreparedUtterance>& utterances,
                                   const std::map<std::string, std::vector<int>>& names,
                                   const std::vector<double>& penalty,
                                   const std::vector<char>& typical) {
    std::vector<SelectionGroup> groups;
    std::vector<std::vector<int>> cutsOf(instances.size());  // an instance and its variants
    for (size_t i = 0; i < instances.size(); ++i)
        cutsOf[size_t(instances[i].primary < 0 ? int(i) : instances[i].primary)].push_back(int(i));
    std::set<std::string> paired;
    for (const auto& [name, members] : names) {
        std::string mirror = MirrorName(name);
        if (mirror.empty() || mirror == name || names.count(mirror) == 0 || paired.count(name) ||
            paired.count(mirror) || IsVowelClass(instances[size_t(members[0])].cls))
            continue;
        SelectionGroup g{{name, mirror}, {}, 0};
        // The pair's own boundary is cut once, where both meet; their outer
        // edges may take either cut.
        for (int i : members) {
            if (instances[size_t(i)].endSide != CutSide::Nearest) continue;
            const int next = Follower(instances[size_t(i)], utterances);
            if (next < 0 || instances[size_t(next)].name != mirror) continue;
            for (int j : cutsOf[size_t(next)]) {
                if (instances[size_t(j)].startSide != CutSide::Nearest) continue;
                g.candidates.push_back({{i, j},
                                        penalty[size_t(i)] + penalty[size_t(j)],
                                        typical[size_t(i)] && typical[size_t(j)]});
            }
        }
        if (g.candidates.empty()) continue;
        paired.insert(name);
        paired.insert(mirror);
        groups.push_back(std::move(g));
    }
    for (const auto& [name, members] : names) {
        if (paired.count(name)) continue;
        SelectionGroup g{{name}, {}, 0};
        for (int i : members)
            g.candidates.push_back({{i}, penalty[size_t(i)], bool(typical[size_t(i)])});
        groups.push_back(std::move(g));
    }
    for (SelectionGroup& g : groups)
        g.chosen = size_t(std::min_element(g.candidates.begin(), g.candidates.end(),
                                           [](const Candidate& a, const Candidate& b) {
                                               return a.penalty < b.penalty;
                                           }) -
                          g.candidates.begin());
    return groups;
}

}  // namespace

std::vector<Instance> WithCutVariants(const std::vector<Instance>& recorded) {
    std::vector<Instance> out = recorded;
    for (size_t i = 0; i < recorded.size(); ++i) {
        const Instance& in = recorded[i];
        const bool start = !in.insideStartBands.empty(), end = !in.insideEndBands.empty();
        for (int sides = 1; sides <= 3; ++sides) {
            if (((sides & 1) && !start) || ((sides & 2) && !end)) continue;
            Instance v = in;
            v.primary = int(i);
            if (sides & 1) v.startSide = CutSide::Inside, v.startBands = in.insideStartBands;
            if (sides & 2) v.endSide = CutSide::Inside, v.endBands = in.insideEndBands;
            v.insideStartBands.clear(), v.insideEndBands.clear();
            out.push_back(std::move(v));
        }
    }
    return out;
}

std::string MirrorName(const std::string& name) {
    size_t dash = name.find('-');
    if (dash == std::string::npos) return "";
    return name.substr(dash + 1) + "-" + name.substr(0, dash);
}

std::vector<NameChoice> SelectInstances(const std::vector<Instance>& instances,
                                        const std::vector<PreparedUtterance>& utterances,
                                        const SelectionWeights& w) {
    const std::map<std::string, std::vector<int>> names = ByName(instances);
    std::vector<double> penalty(instances.size(), std::numeric_limits<double>::infinity());
    std::vector<char> typical(instances.size(), 0);
    for (const auto& [name, members] : names) {
        NameMedians m = MediansOf(instances, members);
        for (int i : members) {
            penalty[size_t(i)] = Penalty(instances[size_t(i)], m, w);
            typical[size_t(i)] = Typical(instances[size_t(i)], m, w);
        }
    }
    std::vector<SelectionGroup> groups = Groups(instances, utterances, names, penalty, typical);
    if (w.neighbours.perDb > 0.0)
        FitNeighbours(groups, instances, CountNeighbours(utterances), w.neighbours);
    std::vector<NameChoice> out;
    for (const SelectionGroup& g : groups)
        for (size_t s = 0; s < g.names.size(); ++s) {
            const int i = g.candidates[g.chosen].instances[s];
            out.push_back({g.names[s], i, Recorded(instances, names.at(g.names[s])).size(),
                           penalty[size_t(i)]});
        }
    std::sort(out.begin(), out.end(),
              [](const NameChoice& a, const NameChoice& b) { return a.name < b.name; });
    return out;
}

}  // namespace vox::voicebuild
