#include "phonetic/module-419-2/Allomod4192.h"

#include "phonetic/module-419-2/SequenceContexts.h"
#include "phonetic/module-419-2/Tables4192.h"

namespace vox {

Allomod_419_2::Allomod_419_2() : NeighbourModule(m4192::kTables) {}

std::string Allomod_419_2::VowelAllophone(const Phrase& phrase, std::ptrdiff_t i) const {
    const std::string_view name = phrase[i];
    const std::string_view before = phrase[i - 1];
    std::string allophone(name);
    allophone += '-';
    if (sequences::IsSequenceName(StrippedName(name))) {
        const bool boundary =
            Has(before, sd::Space) || Has(before, sd::Terminator) || Has(before, sd::JoinedPause);
        const char digit = boundary ? '5' : sequences::ContextDigit(before);
        if (digit != '\0') return allophone + digit;
    }
    if (!Has(before, sd::None)) return allophone + std::string(StrippedName(before));
    // After a word break: the sound that ends the previous word.
    if (Has(before, sd::Terminator) || i < 2) return allophone + '#';
    std::string_view sound = StrippedName(phrase[i - 2]);
    if (sequences::IsSequenceName(sound)) sound.remove_prefix(1);  // "AE" gives "E"
    return allophone + std::string(sound);
}

std::string Allomod_419_2::ConsonantBeforeVowel(std::string_view consonant,
                                                std::string_view vowel) const {
    std::string allophone(consonant);
    allophone += '-';
    if (sequences::IsSequenceName(StrippedName(vowel))) {
        allophone += vowel.front();  // "AE0" gives "A0", "UJ'2" gives "U2"
        allophone += vowel.back();
    } else {
        allophone += vowel;
    }
    return allophone;
}

}  // namespace vox
