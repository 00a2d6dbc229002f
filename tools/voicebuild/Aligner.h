// Aligns our phonemic transcription of an utterance with its label phones by
// dynamic programming, so that every phoneme can take the times of the label
// segment it stands for. A vowel may stand for any vowel label (the labels
// code reduction differently from us), a consonant prefers its own phone,
// then one of its family (voicing and softness partners); pauses align only
// with phrase and word boundaries.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/voicebuild/LabelReader.h"
#include "tools/voicebuild/PhoneMap.h"

namespace vox::voicebuild {

struct Alignment {
    std::vector<int> segmentOf;  // per phoneme: index of its label segment, or -1
    std::vector<float> costOf;   // per phoneme: cost of its own step
    double cost = 0.0;           // total, insertions included
    size_t phones = 0;           // phonemes and segments that are not pauses or boundaries

    double CostPerPhone() const { return phones ? cost / double(phones) : 0.0; }
};

// `phonemes` is a phrase ("#" first and last, "_" between words). nullopt
// with `error` ("labelPath:line: what") when a label phone is not in the map.
std::optional<Alignment> Align(const std::vector<std::string>& phonemes,
                               const std::vector<LabelSegment>& labels, const PhoneMap& map,
                               const std::string& labelPath, std::string& error);

bool IsVowelPhoneme(const std::string& phoneme);
bool IsBoundaryPhoneme(const std::string& phoneme);

}  // namespace vox::voicebuild
