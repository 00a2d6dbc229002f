#include "engine/prosody/ProsodicDataset.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/audio/Samples.h"
#include "engine/prosody/ConfigText.h"

namespace vox {

namespace {

constexpr double kSampleRate = 22050.0;

std::string_view NextField(std::string_view& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
    const std::string_view field = text.substr(i, end - i);
    text.remove_prefix(end);
    return field;
}

bool Usable(const DatasetUnit& u) {
    return u.entry != nullptr && u.entry->frequency > 0;
}

// Segments whose position lies in [from, to), in order.
template <class F>
void ForSegments(std::span<SynthesisSegment> segments, int64_t from, int64_t to, F f) {
    auto it = std::lower_bound(segments.begin(), segments.end(), from,
                               [](const SynthesisSegment& s, int64_t p) { return s.position < p; });
    for (; it != segments.end() && it->position < to; ++it) f(*it);
}

}  // namespace

void ProsodicDataset::Clear() {
    entries_.clear();
    path_.clear();
}

bool ProsodicDataset::Load(const std::string& path, bool force) {
    if (!force && !path_.empty() && path == path_) return true;
    Clear();
    const std::optional<std::string> text = ReadConfigFile(path);
    if (!text) return false;
    return LoadText(*text, path);
}

bool ProsodicDataset::LoadText(std::string_view text, const std::string& path) {
    Clear();
    const std::optional<std::vector<ConfigLine>> lines =
        LinesAfterHeader(text, path, kProsodicDatasetHeader, "a prosodic dataset");
    if (!lines) return false;
    for (const ConfigLine& line : *lines) {
        std::string_view rest = line.text;
        const std::string_view name = NextField(rest);
        ProsodicEntry e;
        e.frequency = LeadingInteger(NextField(rest));
        e.peak = LeadingInteger(NextField(rest));
        e.third = LeadingInteger(NextField(rest));
        const ProsodicEntry raw = e;
        if (e.frequency != 0) e.frequency = std::clamp(e.frequency, kMinFrequency, kMaxFrequency);
        if (e.frequency < 0) e.frequency = 0;
        e.peak = std::clamp(e.peak, 0, 32767);
        if (raw.frequency != e.frequency || raw.peak != e.peak)
            ReportAtLine(kDefaultCaption, path, line.number,
                         "\"" + std::string(name) +
                             "\": frequency outside 30..1000 Hz or peak outside 0..32767; clamped");
        if (entries_.size() >= kMaxEntries && !entries_.count(name)) {
            ReportAtLine(kDefaultCaption, path, line.number,
                         "more than 200000 entries; the rest is ignored");
            break;
        }
        entries_.try_emplace(std::string(name), e);  // the first line of a name stays
    }
    path_ = path;
    return true;
}

const ProsodicEntry* ProsodicDataset::Lookup(std::string_view name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : &it->second;
}

void NormaliseLoudness(const ProsodicDataset& dataset, std::string_view name, Unit& unit) {
    const ProsodicEntry* e = dataset.Lookup(name);
    if (e == nullptr || e->peak <= 0) return;
    int32_t largest = 0;
    for (int16_t s : unit.samples) largest = std::max(largest, std::abs(int32_t{s}));
    if (largest == 0) return;
    const double gain = static_cast<double>(e->peak) / largest;
    for (int16_t& s : unit.samples) s = ScaleSample(s, gain);
}

void ApplyDatasetPitch(std::span<const DatasetUnit> units, std::span<SynthesisSegment> segments) {
    for (SynthesisSegment& s : segments) s.pitchPeriod = 0.0f;
    if (units.empty()) return;
    auto period = [](double hz) { return static_cast<float>(kSampleRate / hz); };
    auto takesPart = [](const DatasetUnit& u) { return u.intonable && Usable(u); };
    const DatasetUnit& first = units.front();
    if (takesPart(first))
        ForSegments(segments, first.start, first.start + first.length / 2,
                    [&](SynthesisSegment& s) { s.pitchPeriod = period(first.entry->frequency); });
    for (size_t i = 0; i + 1 < units.size(); ++i) {
        const DatasetUnit &a = units[i], &b = units[i + 1];
        if (!Usable(a) && !Usable(b)) continue;
        const double f1 = Usable(a) ? a.entry->frequency : b.entry->frequency;
        const double f2 = Usable(b) ? b.entry->frequency : a.entry->frequency;
        const int64_t midA = int64_t{a.start} + a.length / 2;
        const int64_t midB = int64_t{b.start} + b.length / 2;
        const double span = a.length / 2 + b.length / 2;
        if (span <= 0.0) continue;
        auto glide = [&](SynthesisSegment& s) {
            const double t = static_cast<double>(s.position - midA);
            const double w = (1.0 - std::cos(std::numbers::pi * t / span)) / 2.0;
            s.pitchPeriod = period((1.0 - w) * f1 + w * f2);
        };
        if (a.intonable) ForSegments(segments, midA, int64_t{a.start} + a.length, glide);
        if (b.intonable) ForSegments(segments, b.start, midB, glide);
    }
    const DatasetUnit& last = units.back();
    if (takesPart(last))
        ForSegments(segments, int64_t{last.start} + last.length / 2,
                    int64_t{last.start} + last.length,
                    [&](SynthesisSegment& s) { s.pitchPeriod = period(last.entry->frequency); });
}

}  // namespace vox
