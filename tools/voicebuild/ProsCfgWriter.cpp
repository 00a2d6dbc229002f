#include "tools/voicebuild/ProsCfgWriter.h"

#include <algorithm>
#include <cmath>

namespace vox::voicebuild {

std::string ProsCfgText(const std::vector<ProsEntry>& entries) {
    std::string text = std::string(kProsCfgHeader) + "\r\n";
    for (const ProsEntry& e : entries) {
        text += e.name + " " + std::to_string(e.f0) + " " + std::to_string(e.peak) + " " +
                std::to_string(e.length) + "\r\n";
    }
    return text;
}

std::vector<ProsEntry> ReferenceEntries(const std::map<std::string, CutUnit>& units,
                                        const std::map<std::string, SoundClass>& classOf,
                                        double speakerF0) {
    std::map<SoundClass, std::vector<int>> peaks;
    for (const auto& [name, cut] : units) peaks[classOf.at(name)].push_back(cut.peak);
    std::map<SoundClass, int> target;
    for (auto& [cls, values] : peaks) {
        std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
        target[cls] = std::max(1, values[values.size() / 2]);
    }
    std::vector<ProsEntry> entries;
    for (const auto& [name, cut] : units) {
        int f0 = int(std::lround(cut.f0 > 0.0 ? cut.f0 : speakerF0));
        entries.push_back(
            {name, std::max(1, f0), target[classOf.at(name)], int(cut.unit.samples.size())});
    }
    return entries;
}

}  // namespace vox::voicebuild
