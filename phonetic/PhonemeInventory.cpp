#include "phonetic/PhonemeInventory.h"

namespace vox {

namespace {

template <class Entry>
const Entry* FindByName(std::span<const Entry> entries, std::string_view name) {
    auto it = std::lower_bound(entries.begin(), entries.end(), name,
                               [](const Entry& e, std::string_view n) { return e.name < n; });
    return it != entries.end() && it->name == name ? &*it : nullptr;
}

}  // namespace

const PhonemeEntry* PhonemeInventory::Find(std::string_view name) const {
    return FindByName(tables_.phonemes, name);
}

uint64_t PhonemeInventory::SoundDescription(std::string_view name) const {
    const PhonemeEntry* e = Find(name);
    return e != nullptr ? e->sd : 0;
}

int32_t PhonemeInventory::Code(std::string_view name) const {
    const PhonemeEntry* e = Find(name);
    return e != nullptr ? static_cast<int32_t>(e - tables_.phonemes.data()) + 1 : 0;
}

int32_t PhonemeInventory::Viseme(std::string_view name) const {
    const PhonemeEntry* e = Find(name);
    return e != nullptr ? e->viseme : 0;
}

int32_t PhonemeInventory::Place(std::string_view name) const {
    const PlaceEntry* e = FindByName(tables_.places, name);
    return e != nullptr ? e->place : 0;
}

std::string_view PhonemeInventory::NameOfCode(int32_t code) const {
    if (code < 1 || static_cast<size_t>(code) > tables_.phonemes.size()) return {};
    return tables_.phonemes[static_cast<size_t>(code) - 1].name;
}

}  // namespace vox
