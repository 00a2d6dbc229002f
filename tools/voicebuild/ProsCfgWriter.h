// Writes the prosodic dataset "Pros.cfg" of a voice (docs/formats/pros-cfg.md):
// the header line "Vostrelin Prosodic Dataset * Version 1", then one line
// per unit, "NAME F0 PEAK LENGTH".
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/voicebuild/SoundClass.h"
#include "tools/voicebuild/UnitCutter.h"

namespace vox::voicebuild {

inline constexpr const char* kProsCfgHeader = "Vostrelin Prosodic Dataset * Version 1";

struct ProsEntry {
    std::string name;  // Windows-1251, no blanks
    int f0 = 0;        // reference frequency, Hz (> 0)
    int peak = 0;      // reference peak, 16-bit sample units (> 0)
    int length = 0;    // samples of the unit (not used by the engine)
};

std::string ProsCfgText(const std::vector<ProsEntry>& entries);

// The reference values of a voice's units, in byte order of their names: f0
// is the unit's own (median of its detected periods) or, without periods,
// the speaker's; the peak is the median peak of the unit's sound class, so
// that loudness normalisation evens units of a class out. Neither is ever 0.
std::vector<ProsEntry> ReferenceEntries(const std::map<std::string, CutUnit>& units,
                                        const std::map<std::string, SoundClass>& classOf,
                                        double speakerF0);

}  // namespace vox::voicebuild
