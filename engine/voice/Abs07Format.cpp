#include "engine/voice/Abs07Format.h"

#include <bit>
#include <cstring>

#include "engine/voice/ByteReader.h"

namespace vox::abs07 {

namespace {

using Failure = std::optional<Defect>;

std::string Bytes(uint64_t n) {
    return std::to_string(n) + (n == 1 ? " byte" : " bytes");
}

Defect Make(DefectKind kind, std::string field, size_t offset, std::string what) {
    return Defect{kind, std::move(field), offset, std::move(what)};
}

// A short string: a signed length byte, then that many bytes of text.
Failure ReadShortString(ByteReader& in, const std::string& field, std::string& text) {
    const size_t at = in.Offset();
    uint8_t length = 0;
    if (!in.ReadU8(length))
        return Make(DefectKind::Bounds, field, at, "the file ends before its length byte");
    if (length > kMaxShortString)
        return Make(DefectKind::Bounds, field, at,
                    "length byte " + std::to_string(length) +
                        " is negative as a signed byte (texts hold 0 to 127 bytes)");
    if (!in.ReadText(length, text))
        return Make(DefectKind::Bounds, field, at,
                    Bytes(length) + " declared, only " + Bytes(in.Left()) + " left in the file");
    return std::nullopt;
}

// A signed 32-bit count that must not be negative.
Failure ReadCount(ByteReader& in, const std::string& field, int32_t& value) {
    const size_t at = in.Offset();
    if (!in.ReadI32(value))
        return Make(DefectKind::Bounds, field, at,
                    "the file ends here (" + Bytes(in.Left()) + " left, 4 needed)");
    if (value < 0)
        return Make(DefectKind::Bounds, field, at, "negative count " + std::to_string(value));
    return std::nullopt;
}

Failure ReadVersion(ByteReader& in) {
    std::string version;
    if (ReadShortString(in, "version", version) || version != kVersion)
        return Make(DefectKind::Version, "version", 0,
                    "not an \"abs.07\" file (it must start with the bytes 06 61 62 73 2E 30 37)");
    return std::nullopt;
}

// The three totals and where the blocks and the index lie.
Failure ReadTotals(std::span<const uint8_t> file, ByteReader& in, Index& index) {
    const size_t unitCountAt = in.Offset();
    if (Failure f = ReadCount(in, "unit count", index.unitCount)) return f;
    const size_t markTotalAt = in.Offset();
    if (Failure f = ReadCount(in, "mark total", index.markTotal)) return f;
    const size_t sampleTotalAt = in.Offset();
    if (Failure f = ReadCount(in, "sample total", index.sampleTotal)) return f;

    index.markBlock = in.Offset();
    const uint64_t markBytes = 4 * static_cast<uint64_t>(index.markTotal);
    if (markBytes > in.Left())
        return Make(DefectKind::Bounds, "mark total", markTotalAt,
                    std::to_string(index.markTotal) + " marks need " + Bytes(markBytes) +
                        ", only " + Bytes(in.Left()) + " follow the header");
    index.sampleBlock = index.markBlock + static_cast<size_t>(markBytes);
    const uint64_t sampleBytes = 2 * static_cast<uint64_t>(index.sampleTotal);
    const size_t afterMarks = file.size() - index.sampleBlock;
    if (sampleBytes > afterMarks)
        return Make(DefectKind::Bounds, "sample total", sampleTotalAt,
                    std::to_string(index.sampleTotal) + " samples need " + Bytes(sampleBytes) +
                        ", only " + Bytes(afterMarks) + " follow the mark block");
    index.indexStart = index.sampleBlock + static_cast<size_t>(sampleBytes);
    const size_t indexBytes = file.size() - index.indexStart;
    if (static_cast<uint64_t>(index.unitCount) > indexBytes / kMinEntryBytes)
        return Make(DefectKind::Bounds, "unit count", unitCountAt,
                    std::to_string(index.unitCount) + " index entries need at least " +
                        Bytes(kMinEntryBytes * static_cast<uint64_t>(index.unitCount)) + ", only " +
                        Bytes(indexBytes) + " follow the sample block");
    return std::nullopt;
}

// One index entry; its marks and samples follow those of the entries before.
Failure ReadEntry(ByteReader& in, size_t number, Index& index, Entry& e) {
    e.offset = in.Offset();
    const std::string field = "index entry " + std::to_string(number);
    if (Failure f = ReadShortString(in, field + " name", e.name)) return f;
    const std::string named = field + " \"" + Printable(e.name) + "\"";
    const size_t markCountAt = in.Offset();
    if (Failure f = ReadCount(in, named + " mark count", e.markCount)) return f;
    const size_t sampleCountAt = in.Offset();
    if (Failure f = ReadCount(in, named + " sample count", e.sampleCount)) return f;
    if (index.marksUsed + e.markCount > index.markTotal)
        return Make(DefectKind::Bounds, named + " mark count", markCountAt,
                    "the unit's " + std::to_string(e.markCount) +
                        " marks run past the mark block (" + std::to_string(index.marksUsed) +
                        " of " + std::to_string(index.markTotal) + " used before it)");
    if (index.samplesUsed + e.sampleCount > index.sampleTotal)
        return Make(DefectKind::Bounds, named + " sample count", sampleCountAt,
                    "the unit's " + std::to_string(e.sampleCount) +
                        " samples run past the sample block (" + std::to_string(index.samplesUsed) +
                        " of " + std::to_string(index.sampleTotal) + " used before it)");
    e.markOffset = index.markBlock + 4 * static_cast<size_t>(index.marksUsed);
    e.sampleOffset = index.sampleBlock + 2 * static_cast<size_t>(index.samplesUsed);
    index.marksUsed += e.markCount;
    index.samplesUsed += e.sampleCount;
    return std::nullopt;
}

bool Inside(std::span<const uint8_t> file, size_t offset, int32_t count, size_t width) {
    return count >= 0 && offset <= file.size() &&
           static_cast<uint64_t>(count) * width <= file.size() - offset;
}

}  // namespace

std::string Printable(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '\\') {
            out += c;
        } else {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

std::string Defect::Text() const {
    return field + " at offset " + std::to_string(offset) + ": " + what;
}

std::optional<Defect> ReadIndex(std::span<const uint8_t> file, Index& index) {
    index = Index{};
    ByteReader in(file);
    if (Failure f = ReadVersion(in)) return f;
    if (Failure f = ReadShortString(in, "first header text", index.firstText)) return f;
    if (Failure f = ReadShortString(in, "second header text", index.secondText)) return f;
    if (Failure f = ReadTotals(file, in, index)) return f;

    ByteReader entries(file, index.indexStart);
    index.entries.resize(static_cast<size_t>(index.unitCount));
    for (size_t k = 0; k < index.entries.size(); ++k)
        if (Failure f = ReadEntry(entries, k, index, index.entries[k])) return f;
    index.indexEnd = entries.Offset();
    return std::nullopt;
}

std::string NameProblem(std::string_view name) {
    if (name.size() > kMaxShortString)
        return "it is " + Bytes(name.size()) + " long; names hold 0 to 127 bytes";
    if (name.find('\0') != std::string_view::npos)
        return "it contains a zero byte, which ends an allophone name";
    if (name.find(',') != std::string_view::npos)
        return "it contains \",\", which separates allophone names";
    return {};
}

bool CopySamples(std::span<const uint8_t> file, size_t offset, int32_t count,
                 std::vector<int16_t>& samples) {
    if (!Inside(file, offset, count, 2)) return false;
    std::vector<int16_t> out(static_cast<size_t>(count));
    const uint8_t* p = file.data() + offset;
    if constexpr (std::endian::native == std::endian::little) {
        if (!out.empty()) std::memcpy(out.data(), p, out.size() * 2);
    } else {
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = static_cast<int16_t>(static_cast<uint16_t>(p[2 * i] | (p[2 * i + 1] << 8)));
    }
    samples = std::move(out);
    return true;
}

bool CopyMarks(std::span<const uint8_t> file, size_t offset, int32_t count,
               std::vector<int32_t>& marks) {
    if (!Inside(file, offset, count, 4)) return false;
    std::vector<int32_t> out(static_cast<size_t>(count));
    const uint8_t* p = file.data() + offset;
    if constexpr (std::endian::native == std::endian::little) {
        if (!out.empty()) std::memcpy(out.data(), p, out.size() * 4);
    } else {
        for (size_t i = 0; i < out.size(); ++i) {
            const uint8_t* q = p + 4 * i;
            out[i] = static_cast<int32_t>(static_cast<uint32_t>(q[0]) | (uint32_t{q[1]} << 8) |
                                          (uint32_t{q[2]} << 16) | (uint32_t{q[3]} << 24));
        }
    }
    marks = std::move(out);
    return true;
}

}  // namespace vox::abs07
