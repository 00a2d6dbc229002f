// The prosodic dataset "Pros.cfg" (docs/formats/pros-cfg.md): per unit name
// a reference frequency and a reference peak. It evens out the loudness of
// units ("UseAmpProsody"), gives the amplitude profile its 100 % level and
// imposes each intonable unit's pitch with smooth glides ("UseFreqProsody").
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/synthesis/PhraseRecords.h"
#include "engine/voice/AudioBase.h"

namespace vox {

inline constexpr const char* kProsodicDatasetHeader = "Vostrelin Prosodic Dataset * Version 1";

struct ProsodicEntry {
    int32_t frequency = 0;  // Hz; 0 = none
    int32_t peak = 0;       // 16-bit sample units; 0 = none
    int32_t third = 0;      // not used by the engine
};

class ProsodicDataset {
  public:
    static constexpr size_t kMaxLineLength = 9999;
    static constexpr size_t kMaxEntries = 200000;
    static constexpr int32_t kMinFrequency = 30, kMaxFrequency = 1000;

    // Reads the file unless `force` is off and it is the one loaded last. A
    // missing or empty file or a wrong first line leaves the dataset empty
    // and unloaded; values out of range are reported and clamped.
    bool Load(const std::string& path, bool force);
    bool LoadText(std::string_view text, const std::string& path);
    void Clear();

    bool IsLoaded() const { return !path_.empty(); }
    // Null when the name has no entry.
    const ProsodicEntry* Lookup(std::string_view name) const;
    size_t EntryCount() const { return entries_.size(); }

  private:
    std::map<std::string, ProsodicEntry, std::less<>> entries_;
    std::string path_;
};

// Scales the unit so that its largest absolute sample becomes the entry's
// peak (saturated, truncated toward zero); no entry, a peak of 0 or a
// silent unit leave it.
void NormaliseLoudness(const ProsodicDataset& dataset, std::string_view name, Unit& unit);

// One unit of the phrase as the pitch step sees it.
struct DatasetUnit {
    int32_t start = 0, length = 0;  // in the signal
    bool intonable = false;
    const ProsodicEntry* entry = nullptr;  // with a usable frequency, or null
};

// Pitch periods from the entries' frequencies: every segment's period is
// cleared, then set inside intonable units from their frequency, with a
// raised-cosine glide from the middle of one unit to the middle of the next.
void ApplyDatasetPitch(std::span<const DatasetUnit> units, std::span<SynthesisSegment> segments);

}  // namespace vox
