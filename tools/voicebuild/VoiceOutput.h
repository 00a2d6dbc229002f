// Writes a voice folder as a whole: every file goes into a temporary folder
// beside the target, which is renamed into place at the end, so a failed or
// interrupted build never leaves a half-built voice.
#pragma once

#include <string>
#include <vector>

#include "engine/voice/AudioBase.h"

namespace vox::voicebuild {

struct VoiceFiles {
    std::string headerFirst, headerSecond;  // "abs.07" header texts, ≤ 127 bytes each
    std::vector<Unit> units;                // in any order; written in byte order of names
    std::string prosCfg, notice, report;
    // The fitted prosody files; an empty text writes no file.
    std::string rhytmics, intonation, intonationNew, amp;
    std::string heldOut;  // "held-out.txt"; empty without --hold-out
};

// False with `error`; an existing folder is replaced only when `replace`.
bool WriteVoiceFolder(const std::string& folder, const VoiceFiles& files, bool replace,
                      std::string& error);

}  // namespace vox::voicebuild
