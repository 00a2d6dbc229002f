// "Rhytmics.cfg" on arbitrary bytes: the reader never crashes, and the
// rules it kept give finite duration factors on a phrase.
#include <string_view>

#include "engine/prosody/RhythmicsModel.h"
#include "tests/fuzz/ProsodyFuzzPhrase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vox::RhythmicsModel model;
    model.LoadText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    std::vector<vox::RhythmicsResult> results;
    model.ForUtterance(vox::fuzz::FuzzPhrase(), results);
    const std::vector<float> factors =
        vox::DurationFactors(results, vox::fuzz::FuzzLengths(), [](size_t) { return 700; });
    vox::fuzz::CheckFinite(factors);
    return 0;
}
