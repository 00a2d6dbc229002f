// Two facts about our consonant phonemes that their sound descriptions do
// not carry: the family (voicing and softness partners, "B'" → "P") and the
// place of articulation. The aligner forgives a label of the same family;
// the fallback planner copies a unit whose context is made at the same place.
#pragma once

#include <string>

namespace vox::voicebuild {

enum class Place { None, Labial, Dental, Palatal, Velar };

// "" and Place::None for names that are not consonants.
std::string ConsonantFamily(const std::string& phoneme);
Place ConsonantPlace(const std::string& phoneme);

}  // namespace vox::voicebuild
