// Module 419.0's hooks: allophones chosen by the rule file that lies beside
// the module's library, allophone names of the form phoneme name without its
// stress digit + suffix (vowels keep the digit as the suffix's first
// character, e.g. "A012"), and letters to phonemes by the shared converter.
#pragma once

#include <string>

#include "phonetic/LetterToPhoneme.h"
#include "phonetic/PhoneticModule.h"
#include "phonetic/module-419-0/AllophoneRules.h"

namespace vox {

// The rule file of a library: its path with the extension replaced by ".cfg"
// ("/lib/allomod-419-0.so" gives "/lib/allomod-419-0.cfg").
std::string RuleFileBeside(const std::string& libraryPath);

class RuleFileModule : public PhoneticModule {
  public:
    RuleFileModule(ModuleTables tables, LetterToPhonemeOptions letters, std::string ruleFile);

    std::string DoLettersToPhonemes(std::string_view letters) override;
    // Reads the rule file at the first call (again at the next call when the
    // read failed); "#" and "_" stay as they are.
    std::vector<std::string> DoPhonemesToAllophones(
        const std::vector<std::string>& phonemes) override;
    std::string DoAllophoneToPhoneme(const std::string& allophone) override;
    std::string DoGetBasicAllophone(const std::string& allophone) override;
    std::string DoGetSubstituteAllophone(const std::string& allophone) override;
    void OnAllophonesChanged() override;

    const std::string& RuleFile() const { return ruleFile_; }

  private:
    // Reads the rule file; a malformed line is shown and fails the read.
    bool LoadRules();

    LetterToPhonemeOptions letters_;
    std::string ruleFile_;
    RuleSet rules_;
    bool loaded_ = false;
};

}  // namespace vox
