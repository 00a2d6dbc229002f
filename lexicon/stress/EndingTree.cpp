#include "EndingTree.h"

#include <algorithm>
#include <array>
#include <deque>

#include "StressText.h"

namespace lexicon {

namespace {

struct BuildNode {
    std::vector<std::pair<uint8_t, uint32_t>> children;  // letter, node
    std::array<uint32_t, kMaxVowelFromEnd + 1> counts{};
    uint8_t majority = 0;
    bool keep = false;
};

uint32_t Child(std::vector<BuildNode>& nodes, uint32_t at, uint8_t letter) {
    for (const auto& [l, n] : nodes[at].children)
        if (l == letter) return n;
    nodes.emplace_back();
    const auto created = static_cast<uint32_t>(nodes.size() - 1);
    nodes[at].children.emplace_back(letter, created);
    return created;
}

uint8_t Majority(const BuildNode& node) {
    uint8_t best = 1;
    for (int c = 1; c <= kMaxVowelFromEnd; ++c)
        if (node.counts[c] > node.counts[best]) best = static_cast<uint8_t>(c);
    return best;
}

// Marks the nodes worth keeping; returns whether `at` is one.
bool Prune(std::vector<BuildNode>& nodes, uint32_t at, uint8_t inherited) {
    BuildNode& node = nodes[at];
    node.majority = Majority(node);
    bool keep = node.majority != inherited;
    for (const auto& child : nodes[at].children)
        keep = Prune(nodes, child.second, nodes[at].majority) || keep;
    nodes[at].keep = keep;
    return keep;
}

}  // namespace

std::vector<EndingNode> BuildEndingTree(const std::vector<LexiconWord>& words, int maxDepth) {
    std::vector<BuildNode> nodes(1);
    for (const LexiconWord& w : words) {
        if (w.homograph) continue;
        const std::string key = FoldYo(w.word);
        const int cls = std::min(VowelNumberFromEnd(key, w.stress), kMaxVowelFromEnd);
        uint32_t at = 0;
        ++nodes[0].counts[cls];
        const size_t depth = std::min<size_t>(key.size(), static_cast<size_t>(maxDepth));
        for (size_t i = 0; i < depth; ++i) {
            at = Child(nodes, at, static_cast<uint8_t>(key[key.size() - 1 - i]));
            ++nodes[at].counts[cls];
        }
    }
    Prune(nodes, 0, 0);
    nodes[0].keep = true;

    // Breadth-first, so that every node's children follow it.
    std::vector<EndingNode> out;
    std::deque<std::pair<uint32_t, uint8_t>> queue{{0, 0}};
    while (!queue.empty()) {
        auto [at, letter] = queue.front();
        queue.pop_front();
        BuildNode& node = nodes[at];
        std::sort(node.children.begin(), node.children.end());
        EndingNode e;
        e.letter = letter;
        e.vowelFromEnd = node.majority;
        e.firstChild = static_cast<uint32_t>(out.size() + 1 + queue.size());
        for (const auto& [l, n] : node.children)
            if (nodes[n].keep && e.childCount < 255) {
                queue.emplace_back(n, l);
                ++e.childCount;
            }
        out.push_back(e);
    }
    return out;
}

}  // namespace lexicon
