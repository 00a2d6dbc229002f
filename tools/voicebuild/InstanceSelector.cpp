#include "tools/voicebuild/InstanceSelector.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "tools/voicebuild/Spectrum.h"

namespace vox::voicebuild {

namespace {

double Median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    auto mid = v.begin() + long(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

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

NameMedians MediansOf(const std::vector<Instance>& instances, const std::vector<int>& members) {
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

// The instance that follows `i` directly in its utterance, or -1.
int Follower(const Instance& in, const std::vector<PreparedUtterance>& utterances) {
    const PreparedUtterance& u = utterances[size_t(in.utterance)];
    size_t next = size_t(in.position) + 1;
    return next < u.instanceOf.size() ? u.instanceOf[next] : -1;
}

}  // namespace

std::string MirrorName(const std::string& name) {
    size_t dash = name.find('-');
    if (dash == std::string::npos) return "";
    return name.substr(dash + 1) + "-" + name.substr(0, dash);
}

std::vector<NameChoice> SelectInstances(const std::vector<Instance>& instances,
                                        const std::vector<PreparedUtterance>& utterances,
                                        const SelectionWeights& w) {
    const std::map<std::string, std::vector<int>> names = ByName(instances);
    std::map<std::string, double> penaltyOf;
    std::vector<double> penalty(instances.size(), std::numeric_limits<double>::infinity());
    for (const auto& [name, members] : names) {
        NameMedians m = MediansOf(instances, members);
        for (int i : members) penalty[size_t(i)] = Penalty(instances[size_t(i)], m, w);
    }

    std::map<std::string, NameChoice> chosen;
    // Consonant-vowel pairs first: a token where the consonant's name is
    // followed directly by its mirror.
    for (const auto& [name, members] : names) {
        std::string mirror = MirrorName(name);
        if (mirror.empty() || mirror == name || names.count(mirror) == 0 || chosen.count(name) ||
            chosen.count(mirror) || IsVowelClass(instances[size_t(members[0])].cls))
            continue;
        int bestFirst = -1, bestSecond = -1;
        double best = std::numeric_limits<double>::infinity();
        for (int i : members) {
            int j = Follower(instances[size_t(i)], utterances);
            if (j < 0 || instances[size_t(j)].name != mirror) continue;
            double joint = penalty[size_t(i)] + penalty[size_t(j)];
            if (joint < best) best = joint, bestFirst = i, bestSecond = j;
        }
        if (bestFirst < 0) continue;
        chosen[name] = {name, bestFirst, members.size(), penalty[size_t(bestFirst)]};
        chosen[mirror] = {mirror, bestSecond, names.at(mirror).size(), penalty[size_t(bestSecond)]};
    }
    for (const auto& [name, members] : names) {
        if (chosen.count(name)) continue;
        int best = *std::min_element(members.begin(), members.end(), [&](int a, int b) {
            return penalty[size_t(a)] < penalty[size_t(b)];
        });
        chosen[name] = {name, best, members.size(), penalty[size_t(best)]};
    }
    std::vector<NameChoice> out;
    for (auto& [name, choice] : chosen) out.push_back(std::move(choice));
    return out;
}

}  // namespace vox::voicebuild
