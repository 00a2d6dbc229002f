// "Pros.cfg" on arbitrary bytes: the reader never crashes; its entries keep
// to their ranges and give finite, positive periods.
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "engine/prosody/ProsodicDataset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vox::ProsodicDataset dataset;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    dataset.LoadText(text, "fuzz");
    // The first name of the second line, if any.
    const size_t line = text.find('\n');
    std::string_view name = line == std::string_view::npos ? "" : text.substr(line + 1);
    name = name.substr(0, name.find_first_of(" \t\r\n"));
    const vox::ProsodicEntry* e = dataset.Lookup(name);
    if (e != nullptr && (e->peak < 0 || e->peak > 32767 || e->frequency < 0 ||
                         e->frequency > vox::ProsodicDataset::kMaxFrequency))
        std::abort();
    vox::Unit unit{std::string(name), {1000, -20000, 300}, {}};
    vox::NormaliseLoudness(dataset, name, unit);
    const vox::DatasetUnit units[] = {{0, 300, true, e && e->frequency > 0 ? e : nullptr},
                                      {300, 300, true, nullptr}};
    std::vector<vox::SynthesisSegment> segments;
    for (int32_t p = 0; p < 600; p += 50) segments.push_back({p, 50.0f, 1.0f});
    vox::ApplyDatasetPitch(units, segments);
    for (const vox::SynthesisSegment& s : segments)
        if (!std::isfinite(s.pitchPeriod) || s.pitchPeriod < 0.0f) std::abort();
    return 0;
}
