// The Chambrel effect: the voice blended from three copies of itself — one
// with a notch over its lower formants, one band-limited and reverberated
// (the room), one narrowed to the first formant region (the head).
//
// The object keeps its copies' buffers between phrases.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/audio/Filter.h"
#include "engine/audio/Reverberator.h"

namespace vox {

struct ChambrelParams {
    bool isMale = true;
    double depth = 0.5;     // clamped to 0 … 1
    double feedback = 0.5;  // clamped to 0 … 1
};

class Chambrel {
  public:
    // Keeps the signal's length; its last 20 samples are faded out.
    void Apply(std::vector<int16_t>& signal, ChambrelParams params);

  private:
    CFilter filter_;
    Reverberator room_;
    std::vector<int16_t> notched_, reverberated_, head_;
};

// Values ≤ 0 (and NaN) give 0, values > 1 give 1.
double ClampUnit(double v);

}  // namespace vox
