// Writes the prosodic dataset "Pros.cfg" of a voice (docs/formats/pros-cfg.md):
// the header line "Vostrelin Prosodic Dataset * Version 1", then one line
// per unit, "NAME F0 PEAK LENGTH".
#pragma once

#include <string>
#include <vector>

namespace vox::voicebuild {

inline constexpr const char* kProsCfgHeader = "Vostrelin Prosodic Dataset * Version 1";

struct ProsEntry {
    std::string name;  // Windows-1251, no blanks
    int f0 = 0;        // reference frequency, Hz (> 0)
    int peak = 0;      // reference peak, 16-bit sample units (> 0)
    int length = 0;    // samples of the unit (not used by the engine)
};

std::string ProsCfgText(const std::vector<ProsEntry>& entries);

}  // namespace vox::voicebuild
