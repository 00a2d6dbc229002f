#include "engine/synthesis/Gemination.h"

#include <algorithm>
#include <cstddef>

#include "interfaces/SoundDescription.h"

namespace vox {

namespace {

constexpr double kFirstKeeps = 0.65;   // the first consonant keeps its beginning
constexpr double kSecondDrops = 0.35;  // the second drops its beginning
constexpr int32_t kVoicelessMarkStep = 100;

// Index of the first mark at or after `threshold`, or marks.size().
size_t FirstMarkFrom(const std::vector<int32_t>& marks, int32_t threshold) {
    return static_cast<size_t>(
        std::find_if(marks.begin(), marks.end(), [&](int32_t m) { return m >= threshold; }) -
        marks.begin());
}

void CutVoiced(Unit& unit, uint64_t sd, bool maxCut, int32_t n) {
    if (HasBit(sd, sd::SamePhoneme1)) {
        const size_t k = FirstMarkFrom(unit.marks, static_cast<int32_t>(n * kFirstKeeps));
        if (k < unit.marks.size()) {
            unit.samples.resize(std::min<size_t>(unit.marks[k], unit.samples.size()));
            unit.marks.resize(maxCut ? k + 1 : k);
        }
    }
    if (HasBit(sd, sd::SamePhoneme2)) {
        const size_t k = FirstMarkFrom(unit.marks, static_cast<int32_t>(n * kSecondDrops));
        if (k < unit.marks.size()) {
            const int32_t v = unit.marks[k];
            unit.samples.erase(unit.samples.begin(),
                               unit.samples.begin() + std::min<size_t>(v, unit.samples.size()));
            unit.marks.erase(unit.marks.begin(),
                             unit.marks.begin() + static_cast<std::ptrdiff_t>(k));
            for (int32_t& m : unit.marks) m -= v;
        }
    }
}

void CutVoiceless(Unit& unit, uint64_t sd, int32_t n) {
    if (HasBit(sd, sd::SamePhoneme1))
        unit.samples.resize(
            std::min<size_t>(static_cast<size_t>(n * kFirstKeeps), unit.samples.size()));
    if (HasBit(sd, sd::SamePhoneme2)) {
        const size_t drop =
            std::min<size_t>(static_cast<size_t>(n * kSecondDrops), unit.samples.size());
        unit.samples.erase(unit.samples.begin(),
                           unit.samples.begin() + static_cast<std::ptrdiff_t>(drop));
    }
    unit.marks.clear();
    for (size_t m = 0; m < unit.samples.size(); m += kVoicelessMarkStep)
        unit.marks.push_back(static_cast<int32_t>(m));
}

}  // namespace

void CutGeminate(Unit& unit, uint64_t sd, bool maxCut) {
    if (!HasBit(sd, sd::Consonant)) return;
    if (!HasBit(sd, sd::SamePhoneme1) && !HasBit(sd, sd::SamePhoneme2)) return;
    const int32_t n = static_cast<int32_t>(unit.samples.size());
    if (HasBit(sd, sd::Voiceless))
        CutVoiceless(unit, sd, n);
    else
        CutVoiced(unit, sd, maxCut, n);
}

}  // namespace vox
