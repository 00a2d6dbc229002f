// The reverberation step of a phrase: the voice's "\Rever" settings through a
// Reverberator, the phrase kept at its length, and the reverberation that
// rings on beyond its end (the tail) carried onto the start of the next
// phrase. The tail is the only effect state kept between phrases.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/audio/Reverberator.h"
#include "engine/voice/VoiceProperties.h"

namespace vox {

class Reverberation {
  public:
    void Apply(std::vector<int16_t>& signal, const VoiceProperties& settings);
    // A phrase without reverberation, or another voice: no tail to carry.
    void ForgetTail() { tail_.clear(); }
    const std::vector<int16_t>& Tail() const { return tail_; }

  private:
    Reverberator reverberator_;
    std::vector<int16_t> tail_, nextTail_;
};

ReverbParams ReverbParamsOf(const VoiceProperties& settings);

}  // namespace vox
