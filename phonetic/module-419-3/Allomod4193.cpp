#include "phonetic/module-419-3/Allomod4193.h"

#include <filesystem>

#include "phonetic/LetterToPhoneme.h"
#include "phonetic/SoundDescription.h"
#include "phonetic/module-419-3/GroupsFile.h"
#include "phonetic/module-419-3/Tables4193.h"
#include "phonetic/module-419-3/UnitCover.h"
#include "phonetic/module-419-3/UnitName.h"
#include "platform/ComServer.h"
#include "platform/Text.h"

namespace vox {

namespace {

bool IsVowelLetter(char c) {
    return c == 'A' || c == 'O' || c == 'I' || c == 'U' || c == 'Y' || c == 'E';
}

}  // namespace

Allomod_419_3::Allomod_419_3()
    : Allomod_419_3(std::filesystem::path(ThisLibraryPath()).replace_extension(".cfg").string()) {}

Allomod_419_3::Allomod_419_3(const std::string& configurationFile)
    : PhoneticModule(m4193::kTables) {
    LoadGroupsFile(configurationFile, MutableGroups());
}

std::string Allomod_419_3::DoLettersToPhonemes(std::string_view letters) {
    return vox::LettersToPhonemes(letters, {.zhClusterRule = true});
}

std::vector<std::string> Allomod_419_3::DoPhonemesToAllophones(
    const std::vector<std::string>& phonemes) {
    return CoverPhrase(phonemes, units_, Groups(), Inventory());
}

std::string Allomod_419_3::DoAllophoneToPhoneme(const std::string& allophone) {
    if (allophone == "#" || allophone == "_") return allophone;
    if (const std::optional<UnitName> unit = ParseUnitName(allophone); unit && unit->HasGroup())
        return std::string(unit->Phoneme());
    const size_t dot = allophone.rfind('.');
    if (dot == std::string::npos) return allophone;
    const std::vector<std::string> parts = SplitList(allophone.substr(0, dot), '-');
    const std::optional<long long> position = ParseInteger(allophone.substr(dot + 1));
    if (!position || *position < 1 || static_cast<size_t>(*position) > parts.size())
        return allophone;
    return parts[static_cast<size_t>(*position - 1)];
}

std::string Allomod_419_3::DoGetBasicAllophone(const std::string& allophone) {
    const std::optional<UnitName> unit = ParseUnitName(allophone);
    if (!unit) return allophone;
    std::string basic(unit->Phoneme());
    if (HasBit(Inventory().SoundDescription(basic), sd::Vowel)) basic.back() = '0';
    return basic;
}

std::string Allomod_419_3::DoGetSubstituteAllophone(const std::string& allophone) {
    std::string name = allophone;
    bool changed = false;
    for (size_t i = 1; i < name.size(); ++i) {
        if (name[i] == '5' && IsVowelLetter(name[i - 1])) {
            name[i] = '0';
            changed = true;
        }
    }
    if (changed) return name;
    const std::optional<UnitName> unit = ParseUnitName(allophone);
    return unit ? std::string(unit->Phoneme()) : allophone;
}

void Allomod_419_3::OnAllophonesChanged() {
    units_.Build(AllophoneList(), Inventory());
}

}  // namespace vox
