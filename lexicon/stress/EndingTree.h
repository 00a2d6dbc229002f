// The model for words the dictionary lacks, learned from the dictionary:
// a tree of word endings read backwards from the last letter. Each node
// holds the stress most words with that ending have, as the number of the
// stressed vowel counted from the end; a node is kept only when it (or a
// node below it) says something else than its parent, so the deepest node
// a word reaches gives the stress of the most similar known endings.
#pragma once

#include <cstdint>
#include <vector>

#include "DictionaryCompiler.h"

namespace lexicon {

struct EndingNode {
    uint32_t firstChild = 0;  // children are contiguous, sorted by letter
    uint8_t childCount = 0;
    uint8_t letter = 0;        // the letter leading to this node
    uint8_t vowelFromEnd = 0;  // 1: the last vowel
};

inline constexpr int kMaxVowelFromEnd = 15;

// Nodes in breadth-first order, the root first.
std::vector<EndingNode> BuildEndingTree(const std::vector<LexiconWord>& words, int maxDepth);

}  // namespace lexicon
