#include "phonetic/module-419-0/RuleFileModule.h"

#include <filesystem>

#include "phonetic/module-419-0/RuleFileReader.h"
#include "platform/FileMapping.h"
#include "platform/Messages.h"

namespace vox {

namespace {

bool IsVowelLetter(char c) {
    return c == 'A' || c == 'I' || c == 'E' || c == 'Y' || c == 'U' || c == 'O';
}

bool IsBoundary(const std::string& name) {
    return name == "#" || name == "_";
}

}  // namespace

std::string RuleFileBeside(const std::string& libraryPath) {
    return std::filesystem::path(libraryPath).replace_extension(".cfg").string();
}

RuleFileModule::RuleFileModule(ModuleTables tables, LetterToPhonemeOptions letters,
                               std::string ruleFile)
    : PhoneticModule(tables), letters_(letters), ruleFile_(std::move(ruleFile)) {}

std::string RuleFileModule::DoLettersToPhonemes(std::string_view letters) {
    return vox::LettersToPhonemes(letters, letters_);
}

bool RuleFileModule::LoadRules() {
    MappedFile file;
    if (!file.Open(ruleFile_)) return false;
    const std::string_view text(reinterpret_cast<const char*>(file.Data()), file.Size());
    if (std::optional<RuleFileError> error = ParseRuleFile(text, rules_)) {
        // Shown whatever the debug verbosity: the file needs fixing. The
        // module carries on without allophones instead of ending the host.
        MessageBox(error->caption,
                   error->text + "\n(" + ruleFile_ + ":" + std::to_string(error->line) + ")");
        return false;
    }
    return true;
}

std::vector<std::string> RuleFileModule::DoPhonemesToAllophones(
    const std::vector<std::string>& phonemes) {
    if (!loaded_) {
        loaded_ = LoadRules();
        if (!loaded_) {
            if (DebugVerbosity() >= 1)
                MessageBox("Vostrelin AllomodRus 419.0",
                           "Failed to load Phoneme-to-Allophone rules");
            return {};
        }
    }
    std::vector<std::string> allophones(phonemes.size());
    for (size_t i = 0; i < phonemes.size(); ++i)
        allophones[i] =
            IsBoundary(phonemes[i]) ? phonemes[i] : ChooseAllophone(rules_, phonemes, i);
    return allophones;
}

std::string RuleFileModule::DoAllophoneToPhoneme(const std::string& allophone) {
    if (IsBoundary(allophone)) return allophone;
    const size_t digit = allophone.find_first_of("0123456789");
    if (digit == std::string::npos) return allophone;
    return allophone.substr(0,
                            !allophone.empty() && IsVowelLetter(allophone[0]) ? digit + 1 : digit);
}

std::string RuleFileModule::DoGetBasicAllophone(const std::string& allophone) {
    std::string basic = allophone;
    if (basic.size() >= 2 && IsVowelLetter(basic[0])) basic[1] = '0';
    return basic;
}

std::string RuleFileModule::DoGetSubstituteAllophone(const std::string& allophone) {
    return allophone;
}

void RuleFileModule::OnAllophonesChanged() {}

}  // namespace vox
