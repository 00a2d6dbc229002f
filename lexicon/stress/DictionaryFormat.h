// Layout of the compiled stress dictionary; docs/formats/stress-dictionary.md
// describes it. All numbers are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lexicon::format {

inline constexpr char kMagic[8] = {'V', 'X', 'S', 'T', 'R', 'E', 'S', 'S'};
inline constexpr uint32_t kVersion = 1;
inline constexpr size_t kHeaderSize = 64;
inline constexpr size_t kNodeSize = 8;

// Header fields: byte offsets.
inline constexpr size_t kVersionAt = 8;
inline constexpr size_t kFileSizeAt = 12;
inline constexpr size_t kEntryCountAt = 16;
inline constexpr size_t kIndexAt = 20;
inline constexpr size_t kRecordsAt = 24;
inline constexpr size_t kRecordsSizeAt = 28;
inline constexpr size_t kNodeCountAt = 32;
inline constexpr size_t kNodesAt = 36;
inline constexpr size_t kNoticeAt = 40;
inline constexpr size_t kNoticeSizeAt = 44;
inline constexpr size_t kMinStemAt = 48;   // u8: model, shortest shared stem
inline constexpr size_t kMaxTailAt = 49;   // u8: model, longest differing ending
inline constexpr size_t kMaxDepthAt = 50;  // u8: model, deepest ending node

inline uint32_t ReadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void WriteU32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

}  // namespace lexicon::format
