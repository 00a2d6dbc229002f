#include "phonetic/module-419-3/UnitCover.h"

#include <cstddef>

#include "phonetic/SoundDescription.h"

namespace vox {

namespace {

// How position j was reached: the unit covering start..j-1 (none: the
// phoneme at j-1 alone).
struct Step {
    size_t start = 0;
    const Unit* unit = nullptr;
};

class Cover {
  public:
    Cover(const std::vector<std::string>& phonemes, const UnitInventory& units,
          const GroupTable& groups, const PhonemeInventory& inventory);

    void Search();
    std::vector<std::string> Names() const;

  private:
    bool Is(size_t i, sd::Bit bit) const { return HasBit(sds_[i], bit); }
    bool InGroup(const std::string& group, size_t i) const;
    bool Matches(const Unit& unit, size_t pos) const;
    bool ContextFits(const Unit& unit, size_t pos) const;
    // Step a: true when a unit reached the phrase end (the search stops).
    bool TryContextUnits(size_t pos);
    // Step b: true when the search stops.
    bool TryPlainUnits(size_t pos);
    void Take(size_t pos, const Unit& unit) {
        const size_t end = pos + unit.phonemes.size();
        cost_[end] = cost_[pos] + 1;
        back_[end] = {pos, &unit};
    }
    void RepairConsonantVowelPairs(std::vector<std::string>& names) const;

    const std::vector<std::string>& phonemes_;
    const UnitInventory& units_;
    const GroupTable& groups_;
    size_t n_;
    std::vector<std::string> matched_;  // secondary stress read as full stress
    std::vector<int32_t> codes_;        // of matched_
    std::vector<uint64_t> sds_;         // table SDs
    std::vector<size_t> cost_;
    std::vector<Step> back_;
};

Cover::Cover(const std::vector<std::string>& phonemes, const UnitInventory& units,
             const GroupTable& groups, const PhonemeInventory& inventory)
    : phonemes_(phonemes), units_(units), groups_(groups), n_(phonemes.size()) {
    matched_ = phonemes;
    codes_.resize(n_);
    sds_.resize(n_);
    cost_.resize(n_ + 1);
    back_.resize(n_ + 1);
    for (size_t i = 0; i < n_; ++i) {
        sds_[i] = inventory.SoundDescription(phonemes[i]);
        if (HasBit(sds_[i], sd::PartialStressed) && matched_[i].back() == '5')
            matched_[i].back() = '0';
        codes_[i] = inventory.Code(matched_[i]);
    }
    for (size_t j = 0; j <= n_; ++j) {
        cost_[j] = j;
        back_[j] = {j == 0 ? 0 : j - 1, nullptr};
    }
}

bool Cover::InGroup(const std::string& group, size_t i) const {
    const auto found = groups_.find(group);
    return found != groups_.end() && found->second.count(matched_[i]) != 0;
}

bool Cover::Matches(const Unit& unit, size_t pos) const {
    for (size_t k = 0; k < unit.phonemes.size(); ++k)
        if (unit.phonemes[k] != codes_[pos + k]) return false;
    return true;
}

bool Cover::ContextFits(const Unit& unit, size_t pos) const {
    if (unit.leftGroup) {
        // A vowel after a word break is joined to the vowel before the break.
        const bool acrossBreak =
            pos > 2 && Is(pos, sd::Vowel) && phonemes_[pos - 1] == "_" && Is(pos - 2, sd::Vowel);
        if (!InGroup(*unit.leftGroup, acrossBreak ? pos - 2 : pos - 1)) return false;
    }
    if (unit.rightGroup) {
        const size_t after = pos + unit.phonemes.size();
        if (after >= n_ || !InGroup(*unit.rightGroup, after)) return false;
    }
    return true;
}

bool Cover::TryContextUnits(size_t pos) {
    for (const Unit& unit : units_.ContextUnits(codes_[pos])) {
        const size_t end = pos + unit.phonemes.size();
        if (end > n_ || !ContextFits(unit, pos) || !Matches(unit, pos)) continue;
        if (cost_[pos] + 1 <= cost_[end]) {  // a later candidate wins a tie
            Take(pos, unit);
            if (end == n_) return true;
        }
    }
    return false;
}

bool Cover::TryPlainUnits(size_t pos) {
    for (const Unit& unit : units_.PlainUnits(codes_[pos])) {
        const size_t end = pos + unit.phonemes.size();
        if (end > n_ || !Matches(unit, pos)) continue;
        if (cost_[pos] + 1 < cost_[end]) {  // an earlier candidate keeps a tie
            Take(pos, unit);
            if (end == n_) {
                if (pos + 2 < n_) TryContextUnits(pos + 1);
                return true;
            }
        }
    }
    return false;
}

void Cover::Search() {
    // The first phoneme ("#") is never part of a unit, nor is the last
    // one the start of one.
    for (size_t pos = 1; pos + 1 < n_; ++pos)
        if (TryContextUnits(pos) || TryPlainUnits(pos)) return;
}

std::vector<std::string> Cover::Names() const {
    std::vector<std::string> names(n_);
    for (size_t j = n_; j > 0; j = back_[j].start) {
        const Step& step = back_[j];
        std::string name;
        if (step.unit != nullptr && step.unit->leftGroup) name += "(" + *step.unit->leftGroup + ")";
        for (size_t i = step.start; i < j; ++i) {
            if (i > step.start) name += '-';
            name += phonemes_[i];
        }
        if (step.unit != nullptr && step.unit->rightGroup)
            name += "(" + *step.unit->rightGroup + ")";
        if (j - step.start == 1) {
            names[step.start] = std::move(name);
            continue;
        }
        for (size_t i = step.start; i < j; ++i)
            names[i] = name + "." + std::to_string(i - step.start + 1);
    }
    RepairConsonantVowelPairs(names);
    return names;
}

// A consonant and the vowel after it that no multi-phoneme unit named get
// the names of their pair. A name with a group is a unit the voice has and
// is kept.
void Cover::RepairConsonantVowelPairs(std::vector<std::string>& names) const {
    const auto single = [](const std::string& name) {
        return name.find('.') == std::string::npos && name.find('(') == std::string::npos;
    };
    for (size_t p = 1; p + 2 < n_; ++p) {
        if (!Is(p, sd::Consonant) || !Is(p + 1, sd::Vowel)) continue;
        const std::string pair = phonemes_[p] + "-" + phonemes_[p + 1];
        if (single(names[p])) names[p] = pair + ".1";
        if (single(names[p + 1])) names[p + 1] = pair + ".2";
    }
}

}  // namespace

std::vector<std::string> CoverPhrase(const std::vector<std::string>& phonemes,
                                     const UnitInventory& units, const GroupTable& groups,
                                     const PhonemeInventory& inventory) {
    if (phonemes.empty()) return {};
    Cover cover(phonemes, units, groups, inventory);
    cover.Search();
    return cover.Names();
}

}  // namespace vox
