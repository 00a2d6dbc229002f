#include "phonetic/PhraseAnalysis.h"

#include <vector>

#include "phonetic/SoundDescription.h"

namespace vox {

namespace {

struct Syllable {
    size_t first, last;  // phoneme indices, inclusive
};

struct Word {
    size_t firstSyllable, syllableCount;
};

// Homoorganic/NonHomoorganic between plosives, SamePhoneme1/2 between equal
// consonants. The table bits tested here are never changed by the analysis.
void MarkConsonantNeighbours(std::span<const std::string_view> names,
                             const PhonemeInventory& inventory, std::span<uint64_t> sds) {
    const size_t n = names.size();
    for (size_t i = 0; i < n; ++i) {
        if (!HasBit(sds[i], sd::Consonant) || HasBit(sds[i], sd::None)) continue;
        if (int32_t place = inventory.Place(names[i]); place != 0) {
            for (size_t j : {i - 1, i + 1}) {
                if (j >= n) continue;  // i - 1 wraps for i = 0
                if (int32_t other = inventory.Place(names[j]); other != 0)
                    sds[i] |= SdMask(other == place ? sd::Homoorganic : sd::NonHomoorganic);
            }
        }
        if (i > 0 && names[i - 1] == names[i]) sds[i] |= SdMask(sd::SamePhoneme2);
        if (i + 1 < n && names[i + 1] == names[i]) sds[i] |= SdMask(sd::SamePhoneme1);
    }
}

// Splits the phrase into words of syllables.
void FindSyllables(std::span<const uint64_t> sds, std::vector<Syllable>& syllables,
                   std::vector<Word>& words) {
    size_t start = 1;
    size_t wordStart = 0;  // index of the current word's first syllable
    for (size_t i = 1; i < sds.size(); ++i) {
        if (HasBit(sds[i], sd::Space) || HasBit(sds[i], sd::Terminator)) {
            if (HasBit(sds[i - 1], sd::Consonant)) {
                if (syllables.size() > wordStart)
                    syllables.back().last = i - 1;
                else
                    syllables.push_back({start, i - 1});
            }
            words.push_back({wordStart, syllables.size() - wordStart});
            wordStart = syllables.size();
            start = i + 1;
        } else if (HasBit(sds[i], sd::Vowel)) {
            syllables.push_back({start, i});
            start = i + 1;
        }
    }
}

constexpr size_t kNoStress = static_cast<size_t>(-1);

// The syllable (0-based within the word) holding the first FullStressed vowel.
size_t StressedSyllable(std::span<const Syllable> word, std::span<const uint64_t> sds) {
    for (size_t j = 0; j < word.size(); ++j)
        for (size_t i = word[j].first; i <= word[j].last; ++i)
            if (HasBit(sds[i], sd::FullStressed)) return j;
    return kNoStress;
}

uint64_t SyllableMask(size_t j, size_t count, size_t stress, uint64_t lastPhonemeSd) {
    uint64_t m = 0;
    if (j == count - 1)
        m |= SdMask(sd::LastSyl);
    else if (j == 0)
        m |= SdMask(sd::FirstSyl) | SdMask(sd::NonLastSyl);
    else
        m |= SdMask(sd::MidSyl) | SdMask(sd::NonFirstSyl) | SdMask(sd::NonLastSyl);

    if (stress == kNoStress) {
        m |= SdMask(sd::PretonicSyl) | SdMask(sd::InPretonicSyl) | SdMask(sd::NonAdjoining);
    } else if (j == stress) {
        m |= SdMask(sd::StressedSyl) | SdMask(sd::InStressedSyl);
    } else if (j < stress) {
        m |= SdMask(sd::PretonicSyl) | SdMask(sd::InPretonicSyl) |
             SdMask(j + 1 == stress ? sd::Adjoining : sd::NonAdjoining);
    } else {
        m |= SdMask(sd::PosttonicSyl) | SdMask(sd::InPosttonicSyl) |
             SdMask(j - 1 == stress ? sd::Adjoining : sd::NonAdjoining);
    }
    if (j == count - 1) m |= SdMask(HasBit(lastPhonemeSd, sd::Consonant) ? sd::Closed : sd::Open);
    return m;
}

uint64_t WordMask(size_t w, size_t wordCount, size_t stress, size_t syllableCount) {
    uint64_t m = 0;
    if (w == wordCount - 1)
        m |= SdMask(sd::LastAU);
    else if (w == 0)
        m |= SdMask(sd::FirstAU) | SdMask(sd::NonLastAU);
    else
        m |= SdMask(sd::MidAU) | SdMask(sd::NonFirstAU) | SdMask(sd::NonLastAU);

    if (stress == kNoStress) return m | SdMask(sd::NoPretonicSyl) | SdMask(sd::NoPosttonicSyl);
    m |= SdMask(stress != 0 ? sd::HasPretonicSyl : sd::NoPretonicSyl);
    m |= SdMask(stress + 1 != syllableCount ? sd::HasPosttonicSyl : sd::NoPosttonicSyl);
    return m;
}

void MarkWord(std::span<const Syllable> word, size_t w, size_t wordCount, std::span<uint64_t> sds) {
    const size_t stress = StressedSyllable(word, sds);
    const size_t count = word.size();
    for (size_t j = 0; j < count; ++j) {
        const uint64_t mask = SyllableMask(j, count, stress, sds[word.back().last]);
        for (size_t i = word[j].first; i <= word[j].last; ++i) {
            sds[i] |= mask;
            if (!HasBit(sds[i], sd::PartialStressed)) continue;
            if (HasBit(mask, sd::PretonicSyl)) sds[i] |= SdMask(sd::Pretonic);
            if (HasBit(mask, sd::PosttonicSyl)) sds[i] |= SdMask(sd::Posttonic);
        }
    }
    const uint64_t wordMask = WordMask(w, wordCount, stress, count);
    for (size_t i = word.front().first; i <= word.back().last; ++i) sds[i] |= wordMask;
}

}  // namespace

void AddPositionalBits(std::span<const std::string_view> names, const PhonemeInventory& inventory,
                       std::span<uint64_t> sds) {
    MarkConsonantNeighbours(names, inventory, sds);
    std::vector<Syllable> syllables;
    std::vector<Word> words;
    syllables.reserve(names.size() / 2 + 1);
    words.reserve(names.size() / 2 + 1);
    FindSyllables(sds, syllables, words);
    for (size_t w = 0; w < words.size(); ++w) {
        if (words[w].syllableCount == 0) continue;  // only an unvalidated list has one
        std::span<const Syllable> word(syllables.data() + words[w].firstSyllable,
                                       words[w].syllableCount);
        MarkWord(word, w, words.size(), sds);
    }
}

}  // namespace vox
