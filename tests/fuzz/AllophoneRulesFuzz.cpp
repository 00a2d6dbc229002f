// Module 419.0's rule file reader on arbitrary text; whatever it accepts is
// used to choose allophones for phrases made of the file's own names, with
// chains that may run to both ends of the phrase.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "phonetic/module-419-0/RuleFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vox::RuleSet rules;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (vox::ParseRuleFile(text, rules)) return 0;

    // Every name the file mentions, between phrase marks.
    std::vector<std::string> phrase = {"#"};
    for (const auto& [name, members] : rules.groups)
        for (const std::string& member : members) phrase.push_back(member);
    for (const auto& [name, record] : rules.rules) phrase.push_back(name);
    phrase.push_back("#");
    for (size_t i = 0; i < phrase.size(); ++i) vox::ChooseAllophone(rules, phrase, i);
    const std::vector<std::string> single = {phrase[1]};
    vox::ChooseAllophone(rules, single, 0);
    return 0;
}
