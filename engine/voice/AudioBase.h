// The engine's view of a voice database: units (recorded allophones) by name.
// The one implementation is Allobase, over an "abs.07" file
// (docs/formats/abs07.md).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vox {

// One recorded allophone: 16-bit samples at 22050 Hz and the pitch marks
// (sample offsets inside the unit, ascending, each at a period start).
struct Unit {
    std::string name;
    std::vector<int16_t> samples;
    std::vector<int32_t> marks;
};

class AudioBase {
  public:
    virtual ~AudioBase() = default;
    virtual bool Open(const std::string& path) = 0;
    // Fills the unit's samples and marks by its name; false (unit unchanged)
    // when the database has no such unit.
    virtual bool GetUnit(Unit& unit) const = 0;
    virtual bool IsOpen() const = 0;
    // Recorded sample count of a unit, 0 when absent.
    virtual int32_t UnitLength(const std::string& name) const = 0;
    // True when the database's file is no longer the one opened (replaced,
    // rewritten or resized): the engine then opens it again.
    virtual bool FileChanged() const { return false; }
};

}  // namespace vox
