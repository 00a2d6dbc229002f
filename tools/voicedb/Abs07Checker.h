// The full check of a voice database file behind `voxamen db check`: the
// shared index reader finds what stops reading (version, counts and lengths
// against the file); then every unit's name and pitch marks, repeated names,
// block entries no unit owns and bytes after the index are examined. Each
// defect names its field and byte offset.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/voice/Abs07Format.h"

namespace vox::voicedb {

struct CheckResult {
    bool indexRead = false;  // false: defects[0] stopped the reading
    abs07::Index index;      // as far as it was read
    std::vector<abs07::Defect> defects;
    bool Sound() const { return indexRead && defects.empty(); }
};

// A unit with bad marks reports its first bad mark and how many more follow.
CheckResult CheckAbs07(std::span<const uint8_t> file);

}  // namespace vox::voicedb
