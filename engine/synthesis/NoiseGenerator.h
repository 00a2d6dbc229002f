// The pseudo-random numbers of pause noise. One generator per engine object,
// seeded the same way for every object so that a phrase is reproducible.
#pragma once

#include <cstdint>

namespace vox {

class NoiseGenerator {
  public:
    explicit NoiseGenerator(uint64_t seed = 0x9E3779B97F4A7C15ull) : state_(seed) {}

    // A fresh non-negative integer below 2^31 (xorshift64*, upper bits).
    int32_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<int32_t>((state_ * 0x2545F4914F6CDD1Dull) >> 33);
    }

  private:
    uint64_t state_;
};

}  // namespace vox
