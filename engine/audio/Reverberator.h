// The reverberation: a set of feedback comb filters ("taps") whose delays
// halve over the taps and whose gains follow one reverberation time, each
// optionally band-limited by the reverberator's tap filter.
//
// A Reverberator keeps its buffers between calls; they grow to the longest
// phrase and are not allocated again.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/audio/Filter.h"

namespace vox {

struct ReverbParams {
    double delay = 0.2;     // seconds, kept within 0.001 to 0.5
    double feedback = 0.5;  // kept within 0 to kMaxReverbFeedback
    int32_t numDelays = 3;  // kept within 1 to 10
    double sourceAmount = 1.0;
    double delayAmount = 1.0;
    bool useFilter = true;
};

// A feedback of 1 would never decay (and its reverberation time divides by
// log10(1) = 0); the taps stay just below.
inline constexpr double kMaxReverbFeedback = 0.99;

struct ReverbTap {
    double delay;  // seconds
    double gain;
};

// Tap k of n: delay d / 2^(k/n), gain f^(2^(−k/n)) (the same as
// 10^(−3 delay / rt) with rt = −3 d / log10 f, without its divisions).
ReverbTap TapOf(int32_t k, int32_t n, double delay, double feedback);

// The parameters brought into their ranges (NaN to the lower end).
ReverbParams SafeReverbParams(ReverbParams p);

class Reverberator {
  public:
    explicit Reverberator(double rate = 22050);

    // The tap filter, order 4 (types 1 and 2 at f1); the default is
    // band-pass 70 to 7040 Hz. False (and no filtering) when the design fails.
    bool SetFilter(int32_t type, double f1, double f2);

    // Mixes the taps into `signal` and extends it by trunc(delay × rate)
    // samples, the extension faded out; see ReverbParams for the ranges.
    void Reverberate(std::vector<int16_t>& signal, const ReverbParams& params);

  private:
    void AddTap(const std::vector<int16_t>& signal, ReverbTap tap, int32_t taps, bool filtered);

    double rate_;
    CFilter filter_;
    std::vector<int16_t> copy_, accumulator_;
};

}  // namespace vox
