// The rhythmics model: the duration of every phoneme from the rule file
// "Rhytmics.cfg" (docs/formats/rhytmics-cfg.md). Phonemes fall into four
// classes (stressed, pretonic and posttonic vowels, consonants); the first
// rule of its class whose conditions hold gives a phoneme its coefficient,
// a multiple of its basic allophone's recorded length.
//
// Allocates only while loading; matching allocates nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/prosody/AttributeConditions.h"
#include "engine/prosody/ConfigText.h"

namespace vox {

enum class RhythmicsClass : int { Stressed = 0, Posttonic = 1, Pretonic = 2, Consonant = 3 };
inline constexpr int kRhythmicsClasses = 4;

struct RhythmicsRule {
    ConditionRecord conditions;
    std::string name;
    float coefficient = 0.0f;  // the table's value for `name` once loading ends
};

// One phoneme's result: the rule's name (null when none matched) and its
// coefficient (1.0 when none matched).
struct RhythmicsResult {
    const std::string* name = nullptr;
    float coefficient = 1.0f;
};

class RhythmicsModel {
  public:
    static constexpr size_t kMaxLineLength = 9999;
    static constexpr size_t kMaxRules = 10000;
    static constexpr float kMaxCoefficient = 20.0f;

    // Reads the file unless `force` is off and it is the file last loaded
    // successfully. A missing or empty file fails silently; other faults are
    // reported with the file and line, and leave the rules read so far.
    bool Load(const std::string& path, bool force);
    // The same on the file's text (`path` names it in messages).
    bool LoadText(std::string_view text, const std::string& path);
    void Clear();

    // The class a description selects, or -1: FullStressed, else Pretonic,
    // else Posttonic, else Consonant.
    static int ClassOf(uint64_t sd);
    // The first rule of the phoneme's class that matches, or null.
    const RhythmicsRule* FindRule(const PhonemeContext& context) const;
    void ForUtterance(std::span<const uint64_t> sds, std::vector<RhythmicsResult>& results) const;

    const std::vector<RhythmicsRule>& Rules(RhythmicsClass c) const {
        return rules_[static_cast<int>(c)];
    }
    size_t RuleCount() const;
    // The coefficient table's entry, or -1 when absent.
    float Coefficient(const std::string& name) const;
    const std::string& LoadedPath() const { return path_; }

  private:
    bool ParseSection(std::span<const ConfigLine> lines, size_t& at, int cls,
                      const std::string& path);
    void StoreRule(int cls, const ConditionRecord& record, const std::string& name, float value);

    std::vector<RhythmicsRule> rules_[kRhythmicsClasses];
    std::map<std::string, float, std::less<>> coefficients_;
    std::string path_;
    size_t stored_ = 0;
    bool overflow_ = false;  // the rule limit was reached
};

// Duration factor per phoneme: recorded length over wanted length, where the
// wanted length is the basic allophone's recorded length (`referenceLength`
// of the unit's name) times the coefficient; 1.0 without a rule, or when
// either length is 0.
std::vector<float> DurationFactors(std::span<const RhythmicsResult> results,
                                   std::span<const int32_t> unitLengths,
                                   const std::function<int32_t(size_t phoneme)>& referenceLength);

}  // namespace vox
