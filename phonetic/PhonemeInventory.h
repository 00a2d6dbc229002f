// A module's phoneme inventory: every phoneme name with its table sound
// description and viseme code, kept sorted by the byte order of the names so
// that a phoneme's code is its 1-based position, plus the place table used
// for Homoorganic/NonHomoorganic. The tables are constexpr data in each
// module's folder; lookups are binary searches and never allocate.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace vox {

struct PhonemeEntry {
    std::string_view name;
    uint64_t sd = 0;     // table sound description
    int32_t viseme = 0;  // viseme code, 0 (silence) to 21
};

// Place of articulation of a plosive: 1 alveolar, 2 velar, 3 labial.
struct PlaceEntry {
    std::string_view name;
    int32_t place = 0;
};

constexpr bool NameLess(const PhonemeEntry& a, const PhonemeEntry& b) {
    return a.name < b.name;
}

// True when the names are strictly ascending (sorted and unique).
template <class Entry>
constexpr bool StrictlySorted(std::span<const Entry> entries) {
    for (size_t i = 1; i < entries.size(); ++i)
        if (!(entries[i - 1].name < entries[i].name)) return false;
    return true;
}

// The tables one module is built from.
struct ModuleTables {
    std::span<const PhonemeEntry> phonemes;  // strictly sorted by name
    std::span<const PlaceEntry> places;      // strictly sorted by name
};

class PhonemeInventory {
  public:
    explicit PhonemeInventory(ModuleTables tables) : tables_(tables) {}

    // The entry of a phoneme, or nullptr when the module does not know it.
    const PhonemeEntry* Find(std::string_view name) const;

    uint64_t SoundDescription(std::string_view name) const;  // 0 when unknown
    int32_t Code(std::string_view name) const;               // 0 when unknown
    int32_t Viseme(std::string_view name) const;             // 0 when unknown
    int32_t Place(std::string_view name) const;              // 0 when not a plosive of the table
    // The phoneme with that code; "" when there is none.
    std::string_view NameOfCode(int32_t code) const;

    std::span<const PhonemeEntry> Entries() const { return tables_.phonemes; }

  private:
    ModuleTables tables_;
};

// Compile-time helpers for modules whose inventory extends another's.

// Adds `bits` to every entry for which `select(entry)` holds.
template <size_t N, class Select>
constexpr std::array<PhonemeEntry, N> WithBits(std::array<PhonemeEntry, N> entries, Select select,
                                               uint64_t bits) {
    for (PhonemeEntry& e : entries)
        if (select(e)) e.sd |= bits;
    return entries;
}

// The union of two inventories, sorted by name.
template <size_t N, size_t M>
constexpr std::array<PhonemeEntry, N + M> Merged(const std::array<PhonemeEntry, N>& a,
                                                 const std::array<PhonemeEntry, M>& b) {
    std::array<PhonemeEntry, N + M> out{};
    std::copy(a.begin(), a.end(), out.begin());
    std::copy(b.begin(), b.end(), out.begin() + N);
    std::sort(out.begin(), out.end(), NameLess);
    return out;
}

}  // namespace vox
