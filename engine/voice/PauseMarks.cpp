#include "engine/voice/PauseMarks.h"

namespace vox {

void ResetPauseTable(PauseTable& table) {
    for (const auto& m : kPauseMarks)
        table[std::string(m.mark)] = static_cast<double>(m.defaultFactor);
}

PauseTable DefaultPauseTable() {
    PauseTable table;
    ResetPauseTable(table);
    return table;
}

int PhraseTypeOfMark(std::string_view mark) {
    for (const auto& m : kPauseMarks)
        if (m.inPhraseTypeTable && m.mark == mark) return m.phraseType;
    return 1;
}

}  // namespace vox
