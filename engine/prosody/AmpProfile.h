// The amplitude profile "Amp.cfg" (docs/formats/amp-cfg.md): phoneme names
// sorted into groups, and per combination of the groups of the previous,
// the current and the next phoneme a contour of percentages spread evenly
// over the phoneme; "Default" covers every other combination.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/prosody/ProsodicDataset.h"
#include "engine/voice/AudioBase.h"

namespace vox {

inline constexpr const char* kAmpProfileHeader = "* Vostrelin Amp Profile - Version 1";

class AmpProfile {
  public:
    static constexpr size_t kMaxLineLength = 1023;
    static constexpr size_t kMaxEntries = 100000;
    static constexpr int32_t kMaxPercent = 1000;
    static constexpr size_t kMaxValues = 100;

    // Reads the file; faults are reported ("message in path:line" and the
    // line); what was read before a fault stays.
    bool Load(const std::string& path);
    bool LoadText(std::string_view text, const std::string& path);
    void Clear();

    // The group of a name, or null.
    const std::string* GroupOf(std::string_view name) const;
    // The contour for the three groups' rule, "Default" when it has none.
    const std::vector<int32_t>* Contour(const std::string& previous, const std::string& current,
                                        const std::string& next) const;
    // By names: empty when any of the three has no group.
    std::vector<int32_t> ContourByNames(std::string_view previous, std::string_view current,
                                        std::string_view next) const;
    bool HasRules() const { return !rules_.empty(); }

  private:
    std::map<std::string, std::string, std::less<>> groups_;
    std::map<std::string, std::vector<int32_t>, std::less<>> rules_;
    std::string path_;
};

// One voiced unit of the phrase for the amplitude step.
struct AmpUnit {
    Unit* unit = nullptr;
    std::string_view name;     // the unit's name
    std::string_view phoneme;  // its phoneme, tried when the name has no group
    bool intonable = false;
    bool plosive = false;
    const ProsodicEntry* entry = nullptr;  // the dataset's, or null
};

// Shapes the loudness of the units in place (units in phrase order).
void ApplyAmplitudeContours(const AmpProfile& profile, std::span<AmpUnit> units, bool maxCut);

// The envelope through the target points (position, value), by cubic
// Bézier pieces around each interior point, at ascending query positions.
struct AmpPoint {
    int64_t position = 0;
    double value = 0.0;
};
void EnvelopeAt(std::span<const AmpPoint> points, std::span<const int64_t> positions,
                std::span<double> values);

}  // namespace vox
