// Writes voice database files "abs.07" (docs/formats/abs07.md): units are
// collected with their samples and pitch marks, checked as they are added,
// and written in one go, atomically (a temporary file renamed over the
// target). Used by `voxamen db build`, the voice builder and the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/voice/AudioBase.h"

namespace vox::voicedb {

class Abs07Writer {
  public:
    // The two header texts: 0 to 127 bytes each. False with `error` otherwise.
    bool SetHeaderTexts(std::string first, std::string second, std::string& error);

    // Adds a unit after the ones before. False with `error` (and nothing
    // added) for a name of more than 127 bytes, with a zero byte or ",", a
    // name already added, marks that are not ascending or lie outside the
    // unit's samples, or totals beyond the format's 32-bit counts.
    bool AddUnit(Unit unit, std::string& error);

    size_t UnitCount() const { return units_.size(); }
    const std::vector<Unit>& Units() const { return units_; }

    // The whole file.
    std::string Bytes() const;
    // Writes through a temporary file in the target's folder, synced and
    // renamed over `path`; the old file stays intact when anything fails.
    bool Write(const std::string& path, std::string& error) const;

  private:
    // Hands the file to `sink` piece by piece; stops when it returns false.
    bool Serialize(const std::function<bool(std::string_view)>& sink) const;

    std::string first_, second_;
    std::vector<Unit> units_;
    std::set<std::string, std::less<>> names_;
    int64_t markTotal_ = 0, sampleTotal_ = 0;
};

}  // namespace vox::voicedb
