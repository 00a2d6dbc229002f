#include "engine/synthesis/JoinSmoothing.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

#include "engine/audio/Samples.h"
#include "interfaces/SoundDescription.h"

namespace vox {

namespace {

constexpr int32_t kJoinLength = 150;

// Multiplies the first `count` samples from `edge` going inward by
// (1 − k/count)·level + k/count.
void FadeFrom(int16_t* edge, int step, int32_t count, double level) {
    for (int32_t k = 0; k < count; ++k) {
        const double ramp = static_cast<double>(k) / count;
        int16_t& s = edge[static_cast<std::ptrdiff_t>(k) * step];
        s = ScaleSample(s, (1.0 - ramp) * level + ramp);
    }
}

void SmoothPair(Unit& a, Unit& b, uint64_t sdA, uint64_t sdB, bool maxCut) {
    const int32_t la = std::abs(static_cast<int32_t>(a.samples.back()));
    const int32_t fb = std::abs(static_cast<int32_t>(b.samples.front()));
    const int32_t na = std::min<int32_t>(kJoinLength, static_cast<int32_t>(a.samples.size()));
    const int32_t nb = std::min<int32_t>(kJoinLength, static_cast<int32_t>(b.samples.size()));
    int16_t* aEnd = &a.samples.back();
    int16_t* bStart = &b.samples.front();
    // Meeting at the mean needs both edges non-zero; otherwise the louder
    // side comes down to the silent one.
    if (maxCut && HasBit(sdA, sd::Intonable) && HasBit(sdB, sd::Intonable) &&
        !HasBit(sdB, sd::Plosive) && la != 0 && fb != 0) {
        const int32_t target = (la + fb) / 2;
        FadeFrom(aEnd, -1, na, static_cast<double>(target) / la);
        FadeFrom(bStart, 1, nb, static_cast<double>(target) / fb);
    } else if (fb < la) {
        FadeFrom(aEnd, -1, na, static_cast<double>(fb) / la);
    } else if (fb > la) {
        FadeFrom(bStart, 1, nb, static_cast<double>(la) / fb);
    }
}

}  // namespace

bool IsMirroredPair(const std::string& a, const std::string& b) {
    const size_t dash = a.find('-');
    if (dash == std::string::npos) return false;
    return b == a.substr(dash + 1) + "-" + a.substr(0, dash);
}

void SmoothJoins(std::vector<Unit>& units, std::span<const uint64_t> sds,
                 std::span<const int32_t> voiced, bool maxCut) {
    for (size_t i = 0; i + 1 < voiced.size(); ++i) {
        Unit& a = units[voiced[i]];
        Unit& b = units[voiced[i + 1]];
        if (!maxCut && IsMirroredPair(a.name, b.name)) continue;
        SmoothPair(a, b, sds[voiced[i]], sds[voiced[i + 1]], maxCut);
    }
}

}  // namespace vox
