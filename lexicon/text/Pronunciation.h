// Pronunciation that the letter rules of the phonetic modules do not know,
// written back into the letters before they are transcribed, so that every
// module benefits:
//   - whole words from the exceptions table: "что" is read "што",
//     "конечно" "конешно", "скучно" "скушно", "сегодня" "севодня", ...;
//   - silent consonants: "вств" "ств" (здравствуйте, чувство), "лнц" "нц"
//     (солнце), "рдц" "рц" (сердце), "стл" "сл" (счастливый), "здн" "зн"
//     (поздно), "ндск"/"нтск" "нск" (голландский, гигантский);
//   - final "-тся"/"-ться" as one affricate: "ца";
//   - "г" as "в" in final "-ого"/"-его" (except "много", "дорого", ...).
// Stress marks "+" stay on their vowels; "-" separates the parts of a
// hyphenated word.
#pragma once

#include <string>
#include <string_view>

namespace lexicon {

// One word (hyphenated parts allowed), lower-case 1251 with stress marks.
std::string FixPronunciation(std::string_view word);

}  // namespace lexicon
