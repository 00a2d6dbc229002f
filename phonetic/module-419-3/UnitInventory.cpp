#include "phonetic/module-419-3/UnitInventory.h"

#include <algorithm>
#include <unordered_set>

#include "phonetic/SoundDescription.h"
#include "phonetic/module-419-3/UnitName.h"

namespace vox {

namespace {

// Whether the list names every sound of a multi-phoneme unit.
bool ListNamesEverySound(const UnitName& name, const PhonemeInventory& inventory,
                         const std::unordered_set<std::string_view>& listed) {
    if (name.phonemes.size() == 1) return true;
    std::string part(name.base);
    part += '.';
    const size_t baseLength = part.size();
    for (size_t k = 0; k < name.phonemes.size(); ++k) {
        if (HasBit(inventory.SoundDescription(name.phonemes[k]), sd::None)) continue;
        part.resize(baseLength);
        part += std::to_string(k + 1);
        if (!listed.count(part)) return false;
    }
    return true;
}

std::optional<std::string> Owned(const std::optional<std::string_view>& group) {
    return group ? std::optional<std::string>(*group) : std::nullopt;
}

}  // namespace

void UnitInventory::Build(const std::vector<std::string>& allophones,
                          const PhonemeInventory& inventory) {
    const size_t codes = inventory.Entries().size() + 1;
    context_.assign(codes, {});
    plain_.assign(codes, {});
    size_ = 0;
    const std::unordered_set<std::string_view> listed(allophones.begin(), allophones.end());
    std::unordered_set<std::string_view> handled;
    for (const std::string& allophone : allophones) {
        const std::optional<UnitName> name = ParseUnitName(allophone);
        if (!name || !handled.insert(name->base).second) continue;
        if (!ListNamesEverySound(*name, inventory, listed)) continue;
        Unit unit{std::string(name->base), {}, Owned(name->leftGroup), Owned(name->rightGroup)};
        for (std::string_view phoneme : name->phonemes)
            unit.phonemes.push_back(inventory.Code(phoneme));
        // A phoneme the module does not know never occurs in a phrase.
        if (std::find(unit.phonemes.begin(), unit.phonemes.end(), 0) != unit.phonemes.end())
            continue;
        auto& buckets = name->HasGroup() ? context_ : plain_;
        buckets[static_cast<size_t>(unit.phonemes.front())].push_back(std::move(unit));
        ++size_;
    }
    const auto byBase = [](const Unit& a, const Unit& b) { return a.base < b.base; };
    for (auto* buckets : {&context_, &plain_})
        for (std::vector<Unit>& bucket : *buckets) std::sort(bucket.begin(), bucket.end(), byBase);
}

std::span<const Unit> UnitInventory::Bucket(const std::vector<std::vector<Unit>>& buckets,
                                            int32_t code) {
    if (code <= 0 || static_cast<size_t>(code) >= buckets.size()) return {};
    return buckets[static_cast<size_t>(code)];
}

}  // namespace vox
