// Letter-to-phoneme conversion of Russian text in Windows-1251 with the
// writer's stress marks ("+" after the stressed vowel, "-" after a vowel with
// secondary stress), shared by all phonetic modules.
#pragma once

#include <string>
#include <string_view>

namespace vox {

struct LetterToPhonemeOptions {
    // Modules 419.1 to 419.3 add one cluster rule (",ZH,").
    bool zhClusterRule = false;
};

// The phoneme list of the text (names joined by ","), or "" when the text
// gives no phrase.
std::string LettersToPhonemes(std::string_view letters, const LetterToPhonemeOptions& options);

}  // namespace vox
