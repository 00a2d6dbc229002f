#include "engine/synthesis/Concatenation.h"

#include <climits>
#include <new>

namespace vox {

namespace {

// The delivered block's size in bytes is a signed 32-bit count.
constexpr size_t kMaxSignalLength = INT32_MAX / 2;

}  // namespace

std::vector<int32_t> VoicedList(std::span<const Unit> units) {
    std::vector<int32_t> voiced;
    for (size_t i = 0; i < units.size(); ++i)
        if (!units[i].samples.empty()) voiced.push_back(static_cast<int32_t>(i));
    return voiced;
}

void Concatenate(std::span<const Unit> units, std::span<const int32_t> voiced,
                 std::span<const std::string> allophones, std::vector<int16_t>& signal,
                 std::vector<UnitSpan>& spans) {
    size_t total = 0;
    for (int32_t i : voiced) total += units[i].samples.size();
    if (total > kMaxSignalLength) throw std::bad_alloc();
    signal.clear();
    signal.reserve(total);
    spans.clear();
    spans.reserve(voiced.size());
    for (int32_t i : voiced) {
        const Unit& unit = units[i];
        const std::string& name =
            static_cast<size_t>(i) < allophones.size() ? allophones[i] : unit.name;
        spans.push_back({name, static_cast<int32_t>(signal.size()),
                         static_cast<int32_t>(unit.samples.size()), i});
        signal.insert(signal.end(), unit.samples.begin(), unit.samples.end());
    }
}

std::vector<int32_t> PhonemeSizes(size_t phonemeCount, std::span<const UnitSpan> spans) {
    std::vector<int32_t> sizes(phonemeCount, 0);
    for (const UnitSpan& span : spans)
        if (span.unitIndex >= 0 && static_cast<size_t>(span.unitIndex) < phonemeCount)
            sizes[span.unitIndex] = span.length;
    return sizes;
}

}  // namespace vox
