#include "ModelEvaluation.h"

#include <algorithm>
#include <random>
#include <string>

#include "StressDictionary.h"
#include "StressText.h"

namespace lexicon {

namespace {

// Families: runs of neighbouring words (in sorted order) that share all but
// the last three letters of the run's first word, at least four letters.
std::vector<size_t> Families(const std::vector<LexiconWord>& words, size_t& count) {
    std::vector<size_t> family(words.size());
    std::string head;
    count = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string key = FoldYo(words[i].word);
        const size_t stem = std::max<size_t>(4, head.size() >= 3 ? head.size() - 3 : 0);
        if (i == 0 || key.size() < 4 || head.size() < stem ||
            key.compare(0, stem, head, 0, stem) != 0) {
            head = key;
            ++count;
        }
        family[i] = count - 1;
    }
    return family;
}

bool Testable(const LexiconWord& w) {
    return !w.homograph && CountVowels(w.word) >= 2;
}

// Trains on the words not held out and scores the model on the others,
// given as their "ё"-less spelling (as people mostly type them); `inflected`
// also counts those whose family keeps a word in the training.
Accuracy Score(const std::vector<LexiconWord>& words, const std::vector<bool>& held,
               const ModelSettings& settings, const std::vector<size_t>& family,
               Accuracy* inflected = nullptr) {
    std::vector<LexiconWord> train;
    std::vector<bool> known(words.empty() ? 0 : family.back() + 1, false);
    for (size_t i = 0; i < words.size(); ++i)
        if (!held[i]) {
            train.push_back(words[i]);
            known[family[i]] = true;
        }
    StressDictionary model;
    Accuracy a;
    if (!model.Attach(CompileDictionary(train, {}, settings), nullptr)) return a;
    for (size_t i = 0; i < words.size(); ++i) {
        if (!held[i] || !Testable(words[i])) continue;
        const bool right = model.Predict(FoldYo(words[i].word)) == words[i].stress;
        ++a.total;
        a.right += right ? 1 : 0;
        if (inflected && known[family[i]]) {
            ++inflected->total;
            inflected->right += right ? 1 : 0;
        }
    }
    return a;
}

}  // namespace

ModelReport EvaluateModel(const std::vector<LexiconWord>& words, const ModelSettings& settings,
                          uint32_t seed) {
    ModelReport report;
    std::mt19937 random(seed);

    StressDictionary full;
    if (full.Attach(CompileDictionary(words, {}, settings), nullptr)) {
        std::vector<size_t> candidates;
        for (size_t i = 0; i < words.size(); ++i)
            if (!words[i].homograph) candidates.push_back(i);
        std::shuffle(candidates.begin(), candidates.end(), random);
        candidates.resize(std::min<size_t>(candidates.size(), 2000));
        std::string spelled;
        size_t stress = 0;
        for (size_t i : candidates) {
            ++report.dictionarySample.total;
            const std::string typed = FoldYo(words[i].word);
            report.dictionarySample.right += full.Find(typed, spelled, stress) &&
                                                     spelled == words[i].word &&
                                                     stress == words[i].stress
                                                 ? 1
                                                 : 0;
        }
    }

    size_t familyCount = 0;
    const std::vector<size_t> family = Families(words, familyCount);
    std::vector<size_t> order(familyCount);
    for (size_t i = 0; i < familyCount; ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), random);
    std::vector<bool> heldFamily(familyCount, false);
    for (size_t i = 0; i < familyCount / 10; ++i) heldFamily[order[i]] = true;
    std::vector<bool> held(words.size());
    for (size_t i = 0; i < words.size(); ++i) held[i] = heldFamily[family[i]];
    report.heldOutFamilies = Score(words, held, settings, family);

    std::vector<size_t> chosen(words.size());
    for (size_t i = 0; i < words.size(); ++i) chosen[i] = i;
    std::shuffle(chosen.begin(), chosen.end(), random);
    std::fill(held.begin(), held.end(), false);
    for (size_t i = 0; i < words.size() / 10; ++i) held[chosen[i]] = true;
    report.heldOutTenth = Score(words, held, settings, family, &report.unseenInflections);
    return report;
}

}  // namespace lexicon
