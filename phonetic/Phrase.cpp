#include "phonetic/Phrase.h"

#include "phonetic/SoundDescription.h"

namespace vox {

std::vector<std::string_view> SplitItems(std::string_view list) {
    std::vector<std::string_view> items;
    size_t pos = 0;
    while (pos < list.size()) {
        size_t end = list.find(',', pos);
        if (end == std::string_view::npos) end = list.size();
        if (end > pos) items.push_back(list.substr(pos, end - pos));
        pos = end + 1;
    }
    return items;
}

PhraseCheck ValidatePhrase(std::span<const std::string_view> names,
                           const PhonemeInventory& inventory, std::vector<uint64_t>& sds) {
    if (names.size() < 3) return {PhraseFault::TooShort, 0};
    sds.resize(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        sds[i] = inventory.SoundDescription(names[i]);
        if (sds[i] == 0) return {PhraseFault::UnknownPhoneme, i};
        if (i > 0 && HasBit(sds[i], sd::None) && HasBit(sds[i - 1], sd::None))
            return {PhraseFault::AdjacentBoundaries, i};
    }
    if (!HasBit(sds.front(), sd::Terminator) || !HasBit(sds.back(), sd::Terminator))
        return {PhraseFault::NoTerminators, names.size() - 1};
    return {};
}

}  // namespace vox
