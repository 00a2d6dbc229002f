// Splits a prompt into words and marks each word's stress the way the
// letter-to-phoneme conversion expects it: "+" directly after the stressed
// vowel. The stress comes from the prompt's own mark, else the dictionary
// (with "ё" restored where the dictionary says so), else a written "ё",
// else the word stays unstressed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/voicebuild/StressDictionary.h"

namespace vox::voicebuild {

enum class StressSource { Prompt, Dictionary, Yo, None };

struct StressedWord {
    std::string text;  // lower-case Windows-1251, with at most one "+"
    StressSource source = StressSource::None;
    bool phraseBreakBefore = false;  // punctuation between this word and the previous one
};

enum class PromptMarks {
    BeforeVowel,  // festvox corpora: "+" precedes the stressed vowel
    AfterVowel,   // the letter-to-phoneme convention
};

struct StressPlacementResult {
    std::vector<StressedWord> words;
    std::vector<std::string> problems;  // misplaced or repeated marks
};

// `prompt` in UTF-8; `dictionary` may be null.
StressPlacementResult PlaceStress(std::string_view prompt, const StressDictionary* dictionary,
                                  PromptMarks marks = PromptMarks::BeforeVowel);

bool IsVowel1251(char lowerCase);

}  // namespace vox::voicebuild
