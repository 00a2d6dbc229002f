#include "phonetic/module-419-1/NeighbourModule.h"

#include "phonetic/LetterToPhoneme.h"
#include "phonetic/module-419-1/NeighbourRules.h"

namespace vox {

namespace {

bool IsBoundary(std::string_view name) {
    return name == "#" || name == "_";
}

bool IsVowelLetter(char c) {
    return c == 'A' || c == 'O' || c == 'I' || c == 'U' || c == 'Y' || c == 'E';
}

std::string Joined(std::string_view first, std::string_view second) {
    std::string name(first);
    name += '-';
    name += second;
    return name;
}

// The allophone of a consonant before "_" from the first sound of the next word.
std::string BeforeWordBreak(std::string_view consonant, std::string_view nextSound) {
    for (const neighbours::WordJoin& join : neighbours::kWordJoins) {
        if (join.consonant != consonant) continue;
        for (std::string_view next : join.next)
            if (!next.empty() && next == nextSound)
                return Joined(join.prefix.empty() ? consonant : join.prefix, nextSound);
    }
    return Joined(consonant, "_");
}

}  // namespace

std::string_view StrippedName(std::string_view phoneme) {
    return phoneme.substr(0, std::min(phoneme.find_first_of("0125"), phoneme.size()));
}

std::string_view NeighbourModule::Phrase::operator[](std::ptrdiff_t i) const {
    if (i < 0 || i >= static_cast<std::ptrdiff_t>(phonemes_.size())) return "#";
    return phonemes_[static_cast<size_t>(i)];
}

NeighbourModule::NeighbourModule(ModuleTables tables) : PhoneticModule(tables) {}

std::string NeighbourModule::DoLettersToPhonemes(std::string_view letters) {
    return vox::LettersToPhonemes(letters, {.zhClusterRule = true});
}

bool NeighbourModule::Has(std::string_view phoneme, sd::Bit bit) const {
    return HasBit(Inventory().SoundDescription(phoneme), bit);
}

std::vector<std::string> NeighbourModule::DoPhonemesToAllophones(
    const std::vector<std::string>& phonemes) {
    const Phrase phrase(phonemes);
    std::vector<std::string> allophones(phonemes.size());
    for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(phonemes.size()); ++i) {
        const std::string_view name = phrase[i];
        if (Has(name, sd::Vowel))
            allophones[i] = VowelAllophone(phrase, i);
        else if (Has(name, sd::Consonant))
            allophones[i] = ConsonantAllophone(phrase, i);
        else
            allophones[i] = name;  // "#", "_" and names the module does not know
    }
    return allophones;
}

std::string NeighbourModule::VowelAllophone(const Phrase& phrase, std::ptrdiff_t i) const {
    const std::string_view before = phrase[i - 1];
    if (Has(before, sd::None)) return Joined(phrase[i], "#");
    return Joined(phrase[i], StrippedName(before));
}

std::string NeighbourModule::ConsonantBeforeVowel(std::string_view consonant,
                                                  std::string_view vowel) const {
    return Joined(consonant, vowel);
}

std::string NeighbourModule::ConsonantAllophone(const Phrase& phrase, std::ptrdiff_t i) const {
    const std::string_view name = phrase[i];
    const std::string_view next = phrase[i + 1];
    if (Has(next, sd::Consonant))
        return neighbours::IsCluster(name, next) ? Joined(name, next) : std::string(name);
    if (Has(next, sd::Vowel)) return ConsonantBeforeVowel(name, next);
    if (Has(next, sd::Terminator)) return Joined(name, "#");
    if (Has(next, sd::Space)) return BeforeWordBreak(name, phrase[i + 2]);
    return std::string(name);
}

std::string NeighbourModule::DoAllophoneToPhoneme(const std::string& allophone) {
    if (IsBoundary(allophone)) return allophone;
    return allophone.substr(0, allophone.find('-'));
}

std::string NeighbourModule::DoGetBasicAllophone(const std::string& allophone) {
    std::string basic = allophone;
    if (!Has(DoAllophoneToPhoneme(allophone), sd::Vowel)) return basic;
    const size_t digit = basic.find_first_of("0125");
    if (digit != std::string::npos) basic[digit] = '0';
    return basic;
}

std::string NeighbourModule::DoGetSubstituteAllophone(const std::string& allophone) {
    std::string name = allophone;
    // A secondary stress falls back to the full one. Only a "5" written as a
    // stress digit counts: 419.2's context part "-5" is no stress.
    for (size_t i = 1; i < name.size(); ++i) {
        if (name[i] == '5' && IsVowelLetter(name[i - 1])) {
            name[i] = '0';
            return name;
        }
    }
    for (std::string_view unstressedO : {"O1", "O2"}) {
        if (const size_t at = name.find(unstressedO); at != std::string::npos) {
            name[at + 1] = '0';
            return name;
        }
    }
    const std::string phoneme = name.substr(0, name.find('-'));
    for (const neighbours::VowelSubstitute& s : neighbours::kVowelSubstitutes)
        if (s.phoneme == phoneme) return Joined(phoneme, s.context);
    return phoneme;
}

void NeighbourModule::OnAllophonesChanged() {}

}  // namespace vox
