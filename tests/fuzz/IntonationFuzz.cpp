// "Intonation.cfg" on arbitrary bytes: the reader never crashes; every
// contour it kept renders finite curves over a phrase, and applying them
// gives finite, positive periods.
#include <string_view>

#include "engine/prosody/IntonationContour.h"
#include "platform/Messages.h"
#include "tests/fuzz/ProsodyFuzzPhrase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vox::IntonationProfile profile;
    profile.LoadText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    std::vector<float> pitch;
    for (const char* mark : {"(.)", "(?)", "(,)", "(-)"}) {
        vox::PrepareProfileIntonation(profile, mark, vox::fuzz::FuzzPhrase(),
                                      vox::fuzz::FuzzLengths(), pitch);
        vox::fuzz::CheckFinite(pitch);
        std::vector<vox::SynthesisSegment> segments;
        for (int32_t p = 0; p < 6700; p += 150) segments.push_back({p, 150.0f, 1.0f});
        vox::ApplyAbsoluteIntonation(pitch, {}, {80.0, 200.0, false}, segments);
        vox::ApplyRelativeIntonation(pitch, {}, {80.0, 200.0, false}, segments);
        for (const vox::SynthesisSegment& s : segments)
            if (!(s.pitchPeriod > 0.0f) || !std::isfinite(s.pitchPeriod)) std::abort();
    }
    return 0;
}
