// An in-memory voice database for tests and benchmarks.
#pragma once

#include <map>
#include <string>

#include "engine/voice/AudioBase.h"

namespace vox::test {

class MemoryAudioBase final : public AudioBase {
  public:
    std::map<std::string, Unit> units;
    bool open = true;

    void Add(const Unit& unit) { units[unit.name] = unit; }

    bool Open(const std::string&) override { return open; }
    bool GetUnit(Unit& unit) const override {
        auto it = units.find(unit.name);
        if (it == units.end()) return false;
        unit.samples = it->second.samples;
        unit.marks = it->second.marks;
        return true;
    }
    bool IsOpen() const override { return open; }
    int32_t UnitLength(const std::string& name) const override {
        auto it = units.find(name);
        return it == units.end() ? 0 : static_cast<int32_t>(it->second.samples.size());
    }
};

}  // namespace vox::test
