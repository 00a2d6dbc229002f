// "IntonationNew.cfg" on arbitrary bytes: the reader never crashes, and the
// entries it kept give finite curves and sane segments.
#include <string_view>

#include "engine/prosody/IntonationContour.h"
#include "engine/prosody/IntonationNewBase.h"
#include "tests/fuzz/ProsodyFuzzPhrase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vox::IntonationNewBase model;
    model.LoadText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    std::vector<float> pitch, tempo;
    for (const char* mark : {"(.)", "(?)", "(,)"}) {
        model.Prepare(mark, vox::fuzz::FuzzPhrase(), vox::fuzz::FuzzLengths(), pitch, tempo);
        vox::fuzz::CheckFinite(pitch);
        vox::fuzz::CheckFinite(tempo);
        std::vector<vox::SynthesisSegment> segments;
        for (int32_t p = 0; p < 6700; p += 150) segments.push_back({p, 150.0f, 1.0f});
        vox::ApplyRelativeIntonation(pitch, tempo, {80.0, 200.0, true}, segments);
        for (const vox::SynthesisSegment& s : segments)
            if (!(s.pitchPeriod > 0.0f) || !(s.timeFactor > 0.0f) || !std::isfinite(s.timeFactor))
                std::abort();
    }
    return 0;
}
