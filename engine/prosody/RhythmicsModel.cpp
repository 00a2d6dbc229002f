#include "engine/prosody/RhythmicsModel.h"

#include <cmath>

#include "engine/prosody/ConfigText.h"
#include "interfaces/SoundDescription.h"

namespace vox {

namespace {

constexpr std::string_view kVersion = ".Version 2";

struct Section {
    std::string_view header;
    RhythmicsClass cls;
    uint64_t self;
};

constexpr uint64_t kAnyVowel = SdMask(sd::Any) | SdMask(sd::Vowel);
const Section kSections[] = {
    {"{Vowel stressed", RhythmicsClass::Stressed, kAnyVowel | SdMask(sd::Stressed)},
    {"{Vowel pretonic", RhythmicsClass::Pretonic, kAnyVowel | SdMask(sd::Pretonic)},
    {"{Vowel posttonic", RhythmicsClass::Posttonic, kAnyVowel | SdMask(sd::Posttonic)},
    {"{Consonant", RhythmicsClass::Consonant, SdMask(sd::Any) | SdMask(sd::Consonant)},
};

const Section* SectionOf(std::string_view line) {
    for (const Section& s : kSections)
        if (line == s.header) return &s;
    return nullptr;
}

ConditionRecord SectionDefault(int cls) {
    ConditionRecord record;
    for (const Section& s : kSections)
        if (static_cast<int>(s.cls) == cls) record.mask[kSelf] = s.self;
    return record;
}

bool Skipped(std::string_view line) {
    return line.empty() || line.front() == ';';
}

}  // namespace

void RhythmicsModel::Clear() {
    for (auto& list : rules_) list.clear();
    coefficients_.clear();
    path_.clear();
    stored_ = 0;
    overflow_ = false;
}

bool RhythmicsModel::Load(const std::string& path, bool force) {
    if (!force && !path_.empty() && path == path_) return true;
    Clear();
    const std::optional<std::string> text = ReadConfigFile(path);
    if (!text) return false;
    return LoadText(*text, path);
}

void RhythmicsModel::StoreRule(int cls, const ConditionRecord& record, const std::string& name,
                               float value) {
    rules_[cls].push_back({record, name, 0.0f});
    coefficients_.insert_or_assign(name, value);
    ++stored_;
}

bool RhythmicsModel::ParseSection(std::span<const ConfigLine> lines, size_t& at, int cls,
                                  const std::string& path) {
    ConditionRecord record = SectionDefault(cls);
    std::string pending;
    float pendingValue = 0.0f;
    while (++at < lines.size()) {
        const ConfigLine& line = lines[at];
        if (Skipped(line.text)) continue;
        const size_t colon = line.text.find(':');
        if (colon == std::string_view::npos && line.text != "}") {
            std::string unknown;
            if (!ParseConditionLine(line.text, record, unknown)) {
                ReportAtLine(kDefaultCaption, path, line.number,
                             "Unknown keyword \"" + unknown + "\"");
                return false;
            }
            continue;
        }
        if (!pending.empty()) {
            if (stored_ >= kMaxRules) {
                ReportAtLine(kDefaultCaption, path, line.number,
                             "more than " + std::to_string(kMaxRules) + " rhytmics rules");
                overflow_ = true;
                return false;
            }
            StoreRule(cls, record, pending, pendingValue);
            record = SectionDefault(cls);
        }
        if (line.text == "}") return true;
        pending.assign(line.text.substr(0, colon));
        double value = LeadingDouble(line.text.substr(colon + 1));
        if (value < 0.0 || value > kMaxCoefficient) {
            ReportAtLine(kDefaultCaption, path, line.number,
                         "coefficient of \"" + pending + "\" out of range 0.." +
                             std::to_string(static_cast<int>(kMaxCoefficient)) + "; clamped");
            value = std::clamp(value, 0.0, double{kMaxCoefficient});
        }
        pendingValue = static_cast<float>(value);
    }
    ReportAtLine(kDefaultCaption, path, lines.empty() ? 0 : lines.back().number,
                 "the file ends inside a section; its last rule is dropped");
    return false;
}

bool RhythmicsModel::LoadText(std::string_view text, const std::string& path) {
    Clear();
    const ConfigLines read = SplitConfigLines(text, kMaxLineLength, false, false);
    if (read.tooLongAt >= 0)
        ReportAtLine(kDefaultCaption, path, read.tooLongAt,
                     "line longer than 9999 characters; reading stops here");
    const std::vector<ConfigLine>& lines = read.lines;
    if (lines.empty()) return false;
    if (lines[0].text != kVersion) {
        ReportAtLine(kDefaultCaption, path, lines[0].number, "Incorrect rhytmics base version");
        return false;
    }
    bool ok = true;
    for (size_t at = 1; at < lines.size() && ok; ++at) {
        const ConfigLine& line = lines[at];
        if (Skipped(line.text)) continue;
        if (const Section* s = SectionOf(line.text)) {
            (void)ParseSection(lines, at, static_cast<int>(s->cls), path);
            ok = !overflow_;
            continue;
        }
        ReportAtLine(kDefaultCaption, path, line.number,
                     "Syntax error in rhytmics rules - line " + std::to_string(line.number));
        ok = false;
    }
    for (auto& list : rules_)
        for (RhythmicsRule& rule : list) rule.coefficient = coefficients_.at(rule.name);
    if (ok) path_ = path;
    return ok;
}

int RhythmicsModel::ClassOf(uint64_t sd) {
    if (HasBit(sd, sd::FullStressed)) return static_cast<int>(RhythmicsClass::Stressed);
    if (HasBit(sd, sd::Pretonic)) return static_cast<int>(RhythmicsClass::Pretonic);
    if (HasBit(sd, sd::Posttonic)) return static_cast<int>(RhythmicsClass::Posttonic);
    if (HasBit(sd, sd::Consonant)) return static_cast<int>(RhythmicsClass::Consonant);
    return -1;
}

const RhythmicsRule* RhythmicsModel::FindRule(const PhonemeContext& context) const {
    const int cls = ClassOf(context.sd[kSelf]);
    if (cls < 0) return nullptr;
    for (const RhythmicsRule& rule : rules_[cls])
        if (Matches(context, rule.conditions)) return &rule;
    return nullptr;
}

void RhythmicsModel::ForUtterance(std::span<const uint64_t> sds,
                                  std::vector<RhythmicsResult>& results) const {
    results.assign(sds.size(), RhythmicsResult{});
    for (size_t i = 0; i < sds.size(); ++i)
        if (const RhythmicsRule* rule = FindRule(BuildContext(sds, i)))
            results[i] = {&rule->name, rule->coefficient};
}

size_t RhythmicsModel::RuleCount() const {
    size_t n = 0;
    for (const auto& list : rules_) n += list.size();
    return n;
}

float RhythmicsModel::Coefficient(const std::string& name) const {
    auto it = coefficients_.find(name);
    return it == coefficients_.end() ? -1.0f : it->second;
}

std::vector<float> DurationFactors(std::span<const RhythmicsResult> results,
                                   std::span<const int32_t> unitLengths,
                                   const std::function<int32_t(size_t)>& referenceLength) {
    std::vector<float> factors(results.size(), 1.0f);
    for (size_t i = 0; i < results.size() && i < unitLengths.size(); ++i) {
        if (results[i].name == nullptr || results[i].name->empty()) continue;
        const int32_t reference = referenceLength(i);
        const double wanted =
            std::trunc(static_cast<double>(reference) * double{results[i].coefficient});
        const int32_t recorded = unitLengths[i];
        if (recorded <= 0 || !(wanted >= 1.0)) continue;
        factors[i] = static_cast<float>(recorded / wanted);
    }
    return factors;
}

}  // namespace vox
