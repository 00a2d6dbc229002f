// The voice database file "abs.07" (docs/formats/abs07.md): the one parser
// of its header and index, shared by the engine's reader (Allobase), the
// checker of `voxamen db check` and the database tools. Every count and
// offset is checked against the bytes of the file before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vox::abs07 {

// The first seven bytes of every database: the version as a short string.
inline constexpr std::string_view kSignature{
    "\x06"
    "abs.07",
    7};
inline constexpr std::string_view kVersion = "abs.07";
// Short strings have a signed length byte.
inline constexpr size_t kMaxShortString = 127;
// An index entry is at least a length byte and two counts.
inline constexpr size_t kMinEntryBytes = 1 + 4 + 4;

// One index entry, located in the file.
struct Entry {
    std::string name;
    int32_t markCount = 0;
    int32_t sampleCount = 0;
    size_t offset = 0;        // of the entry itself (its name's length byte)
    size_t markOffset = 0;    // of the unit's first mark
    size_t sampleOffset = 0;  // of the unit's first sample
};

struct Index {
    std::string firstText, secondText;
    int32_t unitCount = 0, markTotal = 0, sampleTotal = 0;
    size_t markBlock = 0, sampleBlock = 0, indexStart = 0, indexEnd = 0;
    std::vector<Entry> entries;              // in file order, repeated names included
    int64_t marksUsed = 0, samplesUsed = 0;  // sums over the entries
};

enum class DefectKind {
    Version,    // not an "abs.07" file
    Bounds,     // a count or length that does not fit the file
    Name,       // a unit name no allophone can be asked for
    Mark,       // a pitch mark out of order or outside its unit
    Duplicate,  // a name repeated: lookups find the later entry
    Unused,     // block entries no unit owns, or bytes after the index
};

struct Defect {
    DefectKind kind = DefectKind::Bounds;
    std::string field;  // e.g. "unit count", "index entry 3 \"A0\" sample count"
    size_t offset = 0;  // byte offset of the field in the file
    std::string what;
    // "FIELD at offset N: WHAT"
    std::string Text() const;
};

// Reads the header and the whole index. Returns the first defect that stops
// reading (wrong version, or anything that would read outside the file or
// past the mark and sample blocks); nothing when the index is sound.
std::optional<Defect> ReadIndex(std::span<const uint8_t> file, Index& index);

// A name or text for messages: printable ASCII as is, other bytes as \xNN.
std::string Printable(std::string_view text);

// Why a name cannot be a unit's name; empty when it can.
std::string NameProblem(std::string_view name);

// Copies one unit of an index read from the same bytes; false (outputs
// untouched) when the entry does not lie inside them.
bool CopySamples(std::span<const uint8_t> file, size_t offset, int32_t count,
                 std::vector<int16_t>& samples);
bool CopyMarks(std::span<const uint8_t> file, size_t offset, int32_t count,
               std::vector<int32_t>& marks);

}  // namespace vox::abs07
