// Letter-to-phoneme conversion of Russian text in Windows-1251 with the
// writer's stress marks ("+" after the stressed vowel, "-" after a vowel with
// secondary stress), shared by all phonetic modules.
#pragma once

#include <string>
#include <string_view>

namespace vox {

struct LetterToPhonemeOptions {
    // Modules 419.1 to 419.3 add one cluster rule: "ZH" before a voiceless
    // consonant becomes "SH".
    bool zhClusterRule = false;
    // Module 419.0 has no "O1" or "O2": there an unstressed "ё" read as
    // "J',O" is reduced to "J',A" like "я", so that the phrase stays valid.
    bool reduceUnstressedJo = false;
};

// The phrase of the text ("#," phonemes joined by "," with "_" between words,
// ",#"), or "" when a stress mark is misplaced or the text has no sounds.
// Pure and thread-safe; allocates only a few buffers per call.
std::string LettersToPhonemes(std::string_view letters, const LetterToPhonemeOptions& options);

}  // namespace vox
