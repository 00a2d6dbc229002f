#include "engine/audio/OutputFilter.h"

#include <utility>

namespace vox {

namespace {

constexpr double kRate = 22050;
constexpr double kTop = 11025;
constexpr int32_t kOrder = 16;

double Edge(int32_t hz) {
    return hz > kTop || hz < 0 ? kTop : hz;
}

}  // namespace

FilterBand OutputFilterBand(const VoiceProperties& s) {
    FilterBand band{s.filterType, 0, 0};
    switch (s.filterType) {
        case kLowPass:
            band.f1 = band.f2 = Edge(s.lowPassCutoff);
            break;
        case kHighPass:
            band.f1 = band.f2 = Edge(s.highPassCutoff);
            break;
        case kBandPass:
            band.f1 = Edge(s.bandPassF1), band.f2 = Edge(s.bandPassF2);
            break;
        case kBandStop:
            band.f1 = Edge(s.bandStopF1), band.f2 = Edge(s.bandStopF2);
            break;
        default:
            break;
    }
    if (band.f2 < band.f1) std::swap(band.f1, band.f2);
    return band;
}

void ApplyOutputFilter(std::span<int16_t> signal, const VoiceProperties& settings,
                       CFilter& filter) {
    const FilterBand band = OutputFilterBand(settings);
    filter.Filter(signal, band.type, kOrder, band.f1, band.f2, kRate);
}

}  // namespace vox
