// The audio effects on arbitrary settings and signals: the first bytes set
// every effect parameter (any value, NaN and infinities included, not only
// the settings program's ranges), the rest is the signal. Nothing may crash,
// read outside its buffers, convert a non-number to a sample, or change the
// phrase's length; the filter states stay finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/audio/Chambrel.h"
#include "engine/audio/EffectState.h"
#include "engine/audio/OutputFilter.h"
#include "engine/audio/Reverberation.h"
#include "engine/voice/VoiceProperties.h"

namespace {

class Bytes {
  public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    double Real() {
        double v = 0;
        Take(&v, sizeof v);
        return v;
    }
    int32_t Whole() {
        int32_t v = 0;
        Take(&v, sizeof v);
        return v;
    }
    bool Switch() {
        uint8_t v = 0;
        Take(&v, 1);
        return (v & 1) != 0;
    }
    std::vector<int16_t> Rest() {
        std::vector<int16_t> samples(size_ / 2);
        if (!samples.empty()) std::memcpy(samples.data(), data_, samples.size() * 2);
        return samples;
    }

  private:
    void Take(void* out, size_t n) {
        if (size_ < n) return;
        std::memcpy(out, data_, n);
        data_ += n;
        size_ -= n;
    }
    const uint8_t* data_;
    size_t size_;
};

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes bytes(data, size);
    vox::VoiceProperties s;
    s.chambrelIsMale = bytes.Switch();
    s.chambrelDepth = bytes.Real();
    s.chambrelFeedback = bytes.Real();
    s.reverUseFilter = bytes.Switch();
    s.reverFilterType = bytes.Whole();
    s.reverFilterLow = bytes.Whole();
    s.reverFilterHigh = bytes.Whole();
    s.reverDelay = bytes.Real();
    s.reverNumDelays = bytes.Whole();
    s.reverFeedback = bytes.Real();
    s.reverSourceAmount = bytes.Real();
    s.reverDelayAmount = bytes.Real();
    s.filterType = bytes.Whole();
    s.lowPassCutoff = bytes.Whole();
    s.highPassCutoff = bytes.Whole();
    s.bandPassF1 = bytes.Whole();
    s.bandPassF2 = bytes.Whole();
    s.bandStopF1 = bytes.Whole();
    s.bandStopF2 = bytes.Whole();
    // Two phrases in a row, so that the reverberation's carried tail meets
    // a phrase of another length.
    std::vector<int16_t> first = bytes.Rest();
    if (first.size() > 20000) first.resize(20000);
    std::vector<int16_t> second(first.begin(), first.begin() + first.size() / 3);

    vox::EffectState effects;
    for (std::vector<int16_t>* signal : {&first, &second}) {
        const size_t n = signal->size();
        effects.chambrel.Apply(*signal, {s.chambrelIsMale, s.chambrelDepth, s.chambrelFeedback});
        effects.reverberation.Apply(*signal, s);
        vox::ApplyOutputFilter(*signal, s, effects.outputFilter);
        Check(signal->size() == n);
        for (const vox::FilterSection& section : effects.outputFilter.Sections())
            for (double v : section.state) Check(std::isfinite(v));
    }
    return 0;
}
