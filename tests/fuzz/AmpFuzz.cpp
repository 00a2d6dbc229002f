// "Amp.cfg" on arbitrary bytes: the reader never crashes, and the contours
// it kept shape a few units without going outside them.
#include <string_view>

#include "engine/prosody/AmpProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vox::AmpProfile profile;
    profile.LoadText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    vox::Unit vowel{"A0", {}, {0, 100, 200, 300}}, stop{"T", std::vector<int16_t>(300, 700), {}};
    for (int i = 0; i < 400; ++i)
        vowel.samples.push_back(static_cast<int16_t>((i % 100) * 90 - 4000));
    const vox::ProsodicEntry entry{150, 9000, 0};
    vox::AmpUnit units[] = {{&vowel, "A0", "A0", true, false, &entry},
                            {&stop, "T", "T", false, true, nullptr},
                            {&vowel, "A0-#", "A0", true, false, nullptr}};
    vox::ApplyAmplitudeContours(profile, units, false);
    vox::ApplyAmplitudeContours(profile, units, true);
    return 0;
}
