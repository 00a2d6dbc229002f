// The vocabulary of pause marks: each mark's default pause factor (in units of
// the voice's "DurationUnit") and the phrase type it gives a phrase.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace vox {

struct PauseMark {
    std::string_view mark;
    float defaultFactor;  // the single-precision value, widened where used
    int phraseType;       // 1 to 3
    bool inPhraseTypeTable;
};

inline constexpr PauseMark kPauseMarks[] = {
    {"(W)", 0.0f, 1, false},  {"(W=)", 0.0f, 1, false}, {"(.)", 3.0f, 1, true},
    {"(..)", 3.5f, 1, true},  {"(;)", 2.7f, 1, true},   {"(:)", 2.5f, 1, true},
    {"(-.)", 1.5f, 1, true},  {"(,)", 1.0f, 2, true},   {"(-,)", 1.6f, 2, true},
    {"(,,)", 1.2f, 2, true},  {"(-)", 1.3f, 3, true},   {"(!)", 2.5f, 3, true},
    {"(!.)", 2.5f, 1, true},  {"(?)", 3.0f, 2, true},   {"(?.)", 3.0f, 1, true},
    {"(())", 1.2f, 1, true},  {"(=)", 1.4f, 2, true},   {"(,-,)", 1.8f, 3, true},
    {"(~)", 0.67f, 1, false},
};

// Mark text → pause factor. Ordered by mark text.
using PauseTable = std::map<std::string, double>;

// The table of the default marks with their default factors.
PauseTable DefaultPauseTable();

// Puts every default mark back to its default factor; other marks stay.
void ResetPauseTable(PauseTable& table);

// The phrase type of a phrase mark: 1 for marks outside the table.
int PhraseTypeOfMark(std::string_view mark);

}  // namespace vox
