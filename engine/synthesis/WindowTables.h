// The two half raised-cosine windows of resynthesis, one table per length,
// made the first time a length is asked for and kept for later phrases. No
// cos() is evaluated per sample.
//
// Allocates: once per new length (and when the tables are trimmed).
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vox {

class WindowTables {
  public:
    // Rising half over L samples: 0.5 − 0.5·cos((i + 1)·π / L), i = 0 … L−1
    // (ends at 1.0). L ≥ 1.
    const float* Rising(int32_t length) { return Table(length).data(); }
    // Falling half over L samples: 0.5·(cos(i·π / L) + 1) (starts at 1.0).
    const float* Falling(int32_t length) { return Table(length).data() + length; }

    // Drops every table when they hold more than `maxValues` floats, so that
    // odd lengths from one phrase do not stay forever.
    void Trim(size_t maxValues);

  private:
    const std::vector<float>& Table(int32_t length);

    std::unordered_map<int32_t, std::vector<float>> byLength_;  // rising then falling
    size_t values_ = 0;
};

// One window value as the tables hold it (the reference for tests).
float RisingWindowValue(int32_t index, int32_t length);
float FallingWindowValue(int32_t index, int32_t length);

}  // namespace vox
