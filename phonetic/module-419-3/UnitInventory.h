// The units module 419.3 can cover a phrase with, built from the voice's
// allophone list (SetAllophones). A unit is taken once per base name, only
// when the list names each of its sounds ("T-A0.1" and "T-A0.2" for the unit
// "T-A0"; "#" and "_" need no name of their own), and only when the module
// knows all its phonemes. Units are kept by their first phoneme's code, in
// the byte order of their base names, apart for context units (with a
// group) and plain units.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "phonetic/PhonemeInventory.h"

namespace vox {

struct Unit {
    std::string base;               // "(Lab)A0", "T-A0"
    std::vector<int32_t> phonemes;  // phoneme codes, at least one
    std::optional<std::string> leftGroup;
    std::optional<std::string> rightGroup;
};

class UnitInventory {
  public:
    void Build(const std::vector<std::string>& allophones, const PhonemeInventory& inventory);

    std::span<const Unit> ContextUnits(int32_t firstPhoneme) const {
        return Bucket(context_, firstPhoneme);
    }
    std::span<const Unit> PlainUnits(int32_t firstPhoneme) const {
        return Bucket(plain_, firstPhoneme);
    }
    size_t Size() const { return size_; }

  private:
    static std::span<const Unit> Bucket(const std::vector<std::vector<Unit>>& buckets,
                                        int32_t code);

    std::vector<std::vector<Unit>> context_;  // by the code of the first phoneme
    std::vector<std::vector<Unit>> plain_;
    size_t size_ = 0;
};

}  // namespace vox
