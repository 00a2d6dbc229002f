// The rule language of the prosody files over phoneme attributes: the
// keyword vocabulary (keyword → one bit of the 64-bit sound description),
// the condition record a rule carries (required bits of the phoneme and of
// its two neighbours on each side), condition lines and the match test.
// Used by the rhythmics model (docs/formats/rhytmics-cfg.md).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vox {

// Positions of a condition record and of a phoneme context, in this order.
enum ConditionPosition : int { kSelf = 0, kL2 = 1, kL1 = 2, kR1 = 3, kR2 = 4 };
inline constexpr int kConditionPositions = 5;

// Required bits per position; 0 requires nothing.
struct ConditionRecord {
    uint64_t mask[kConditionPositions] = {};
    bool operator==(const ConditionRecord&) const = default;
};

// Descriptions of a phoneme and its neighbours; a neighbour outside the
// utterance is exactly "None" (bit 0).
struct PhonemeContext {
    uint64_t sd[kConditionPositions] = {};
};

// The keyword's mask (exact, case-sensitive text), or nullopt.
std::optional<uint64_t> KeywordMask(std::string_view keyword);

// Adds one condition line's attributes to `record`. The first token picks
// the position ("L2", "L1", "R1", "R2"; anything else is the phoneme
// itself); position words elsewhere are ignored. On the first unknown token
// the line fails with it in `unknown` (attributes before it stay added).
bool ParseConditionLine(std::string_view line, ConditionRecord& record, std::string& unknown);

PhonemeContext BuildContext(std::span<const uint64_t> sds, size_t index);

// Every bit the record requires is present at every position.
inline bool Matches(const PhonemeContext& context, const ConditionRecord& record) {
    bool ok = true;
    for (int p = 0; p < kConditionPositions; ++p)
        ok &= (context.sd[p] & record.mask[p]) == record.mask[p];
    return ok;
}

}  // namespace vox
