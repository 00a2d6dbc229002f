#include "tools/voicebuild/NeighbourFit.h"

#include <algorithm>

#include "tools/voicebuild/Spectrum.h"

namespace vox::voicebuild {

namespace {

struct Slot {
    size_t group = 0, slot = 0;
};

// A neighbour of a name and its share of the name's joins.
struct Neighbour {
    size_t name = 0;
    double share = 0.0;
};

struct Neighbourhood {
    std::vector<Slot> slotOf;                    // per name
    std::vector<std::vector<Neighbour>> before;  // per name: the names it follows
    std::vector<std::vector<Neighbour>> after;   // … and the names that follow it
};

// Names are numbered in group order; joins inside a group's token are natural
// and left out.
Neighbourhood Build(const std::vector<SelectionGroup>& groups, const NeighbourCounts& counts) {
    Neighbourhood n;
    std::map<std::string, size_t> index;
    for (size_t g = 0; g < groups.size(); ++g)
        for (size_t s = 0; s < groups[g].names.size(); ++s) {
            index.emplace(groups[g].names[s], n.slotOf.size());
            n.slotOf.push_back({g, s});
        }
    n.before.resize(n.slotOf.size());
    n.after.resize(n.slotOf.size());
    std::vector<double> total(n.slotOf.size(), 0.0);
    for (const auto& [pair, count] : counts) {
        auto a = index.find(pair.first), b = index.find(pair.second);
        if (a == index.end() || b == index.end()) continue;
        const Slot sa = n.slotOf[a->second], sb = n.slotOf[b->second];
        if (sa.group == sb.group && sa.slot + 1 == sb.slot) continue;
        n.after[a->second].push_back({b->second, double(count)});
        n.before[b->second].push_back({a->second, double(count)});
        total[a->second] += double(count);
        total[b->second] += double(count);
    }
    for (size_t k = 0; k < n.slotOf.size(); ++k) {
        for (Neighbour& x : n.before[k]) x.share /= total[k];
        for (Neighbour& x : n.after[k]) x.share /= total[k];
    }
    return n;
}

// The cost of one join: its spectral distance, growing at a quarter of the
// rate beyond the knee (a join that far apart is heard whatever its exact
// distance; the slope still keeps the worst from growing).
double JoinDistance(const std::vector<float>& end, const std::vector<float>& start,
                    const NeighbourFitOptions& o) {
    if (end.empty() || end.size() != start.size()) return 0.0;  // too short to measure
    const double d = SpectralDistance(end, start);
    return std::min(d, o.kneeDb) + o.beyondKnee * std::max(0.0, d - o.kneeDb);
}

class Fitter {
  public:
    Fitter(std::vector<SelectionGroup>& groups, const std::vector<Instance>& instances,
           const Neighbourhood& n, const NeighbourFitOptions& o)
        : groups_(groups), instances_(instances), n_(n), o_(o) {}

    // The instance name `k` has while group `g` tries candidate `c`.
    int InstanceOf(size_t k, size_t g, const Candidate& c) const {
        const Slot s = n_.slotOf[k];
        if (s.group == g) return c.instances[s.slot];
        const SelectionGroup& other = groups_[s.group];
        return other.candidates[other.chosen].instances[s.slot];
    }

    // The mean distance across the edges of the candidate's names.
    double JoinCost(size_t g, const Candidate& c, size_t firstName) const {
        double cost = 0.0;
        for (size_t s = 0; s < c.instances.size(); ++s) {
            const size_t k = firstName + s;
            const Instance& own = instances_[size_t(c.instances[s])];
            for (const Neighbour& p : n_.before[k])
                cost +=
                    p.share * JoinDistance(instances_[size_t(InstanceOf(p.name, g, c))].endBands,
                                           own.startBands, o_);
            for (const Neighbour& m : n_.after[k])
                cost += m.share *
                        JoinDistance(own.endBands,
                                     instances_[size_t(InstanceOf(m.name, g, c))].startBands, o_);
        }
        return cost;
    }

    // One pass over the groups; whether a choice changed.
    bool Round(const std::vector<size_t>& firstName) {
        bool changed = false;
        for (size_t g = 0; g < groups_.size(); ++g) {
            SelectionGroup& group = groups_[g];
            if (group.candidates.size() < 2) continue;
            auto total = [&](const Candidate& c) {
                return c.penalty + o_.perDb * JoinCost(g, c, firstName[g]);
            };
            double own = group.candidates[0].penalty;
            for (const Candidate& c : group.candidates) own = std::min(own, c.penalty);
            size_t best = group.chosen;
            double bestCost = total(group.candidates[best]);
            for (size_t c = 0; c < group.candidates.size(); ++c) {
                if (!group.candidates[c].typical || group.candidates[c].penalty > own + o_.margin)
                    continue;
                const double cost = total(group.candidates[c]);
                if (cost < bestCost - 1e-9) best = c, bestCost = cost;
            }
            changed = changed || best != group.chosen;
            group.chosen = best;
        }
        return changed;
    }

  private:
    std::vector<SelectionGroup>& groups_;
    const std::vector<Instance>& instances_;
    const Neighbourhood& n_;
    const NeighbourFitOptions& o_;
};

}  // namespace

NeighbourCounts CountNeighbours(const std::vector<PreparedUtterance>& utterances) {
    NeighbourCounts counts;
    for (const PreparedUtterance& u : utterances) {
        const std::string* previous = nullptr;
        for (size_t k = 0; k < u.phonemes.size() && k < u.names.size(); ++k) {
            if (u.phonemes[k] == "_") continue;
            if (u.phonemes[k] == "#") {
                previous = nullptr;
                continue;
            }
            if (previous) ++counts[{*previous, u.names[k]}];
            previous = &u.names[k];
        }
    }
    return counts;
}

int FitNeighbours(std::vector<SelectionGroup>& groups, const std::vector<Instance>& instances,
                  const NeighbourCounts& counts, const NeighbourFitOptions& options) {
    const Neighbourhood n = Build(groups, counts);
    std::vector<size_t> firstName;
    for (size_t g = 0, k = 0; g < groups.size(); k += groups[g].names.size(), ++g)
        firstName.push_back(k);
    Fitter fitter(groups, instances, n, options);
    int rounds = 0;
    while (rounds < options.maxRounds && fitter.Round(firstName)) ++rounds;
    return rounds;
}

}  // namespace vox::voicebuild
