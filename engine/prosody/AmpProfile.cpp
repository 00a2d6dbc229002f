#include "engine/prosody/AmpProfile.h"

#include <algorithm>
#include <cmath>

#include "engine/audio/Samples.h"
#include "engine/prosody/ConfigText.h"
#include "platform/Messages.h"
#include "platform/Text.h"

namespace vox {

namespace {

constexpr double kMaxGain = 5.0;

void Report(const std::string& path, int line, const std::string& text,
            std::string_view offending = {}) {
    std::string message = text + " in " + path + ":" + std::to_string(line + 1);
    if (!offending.empty()) message += "\r\n" + std::string(offending);
    MessageBox(kDefaultCaption, message);
}

}  // namespace

void AmpProfile::Clear() {
    groups_.clear();
    rules_.clear();
    path_.clear();
}

bool AmpProfile::Load(const std::string& path) {
    Clear();
    path_ = path;
    const std::optional<std::string> text = ReadConfigFile(path);
    if (!text) return false;
    return LoadText(*text, path);
}

bool AmpProfile::LoadText(std::string_view text, const std::string& path) {
    path_ = path;
    const ConfigLines read = SplitConfigLines(text, kMaxLineLength, true, false);
    if (read.tooLongAt >= 0) {
        Report(path, read.tooLongAt, "Line longer than 1023 characters");
        return false;
    }
    const std::vector<ConfigLine>& lines = read.lines;
    if (lines.empty()) return false;
    if (lines[0].text != kAmpProfileHeader) {
        Report(path, lines[0].number, "Invalid Amp Profile version");
        return false;
    }
    groups_.clear();
    rules_.clear();
    bool sawGroups = false, sawRules = false;
    for (size_t at = 1; at < lines.size(); ++at) {
        const bool groups = lines[at].text == "{Groups";
        if (!groups && lines[at].text != "{Rules") {
            Report(path, lines[at].number, "Syntax error", lines[at].text);
            return false;
        }
        for (++at;; ++at) {
            if (at >= lines.size()) return false;  // ends inside a section
            const ConfigLine& line = lines[at];
            if (line.text == "}") break;
            const size_t colon = line.text.find(':');
            if (colon == std::string_view::npos) {
                Report(path, line.number, "Syntax error", line.text);
                return false;
            }
            if (groups_.size() + rules_.size() >= kMaxEntries) {
                Report(path, line.number, "More than 100000 names and rules");
                return false;
            }
            const std::string name(Trim(line.text.substr(0, colon)));
            const std::vector<std::string> items = SplitList(line.text.substr(colon + 1), ',');
            if (groups) {
                for (const std::string& item : items)
                    if (std::string_view phoneme = Trim(item); !phoneme.empty())
                        groups_.insert_or_assign(std::string(phoneme), name);
                continue;
            }
            std::vector<int32_t> values;
            bool clamped = false;
            for (const std::string& item : items) {
                if (Trim(item).empty()) continue;
                const int32_t v = LeadingInteger(item);
                values.push_back(std::clamp(v, 0, kMaxPercent));
                clamped |= values.back() != v;
            }
            if (values.size() > kMaxValues) {
                values.resize(kMaxValues);
                clamped = true;
            }
            if (clamped)
                Report(path, line.number,
                       "Values outside 0..1000 or more than 100 of them; clamped", line.text);
            rules_.insert_or_assign(name, std::move(values));
        }
        if (groups) {
            sawGroups = true;
        } else {
            sawRules = true;
            if (!rules_.count("Default")) {
                Report(path, lines[at].number, "Syntax error", "Default contour not found");
                return false;
            }
        }
    }
    if (!sawGroups || !sawRules) {
        Report(path, lines.back().number, "Incomplete Amp Profile");
        return false;
    }
    return true;
}

const std::string* AmpProfile::GroupOf(std::string_view name) const {
    auto it = groups_.find(name);
    return it == groups_.end() ? nullptr : &it->second;
}

const std::vector<int32_t>* AmpProfile::Contour(const std::string& previous,
                                                const std::string& current,
                                                const std::string& next) const {
    auto it = rules_.find(previous + "-" + current + "-" + next);
    if (it == rules_.end()) it = rules_.find("Default");
    return it == rules_.end() ? nullptr : &it->second;
}

std::vector<int32_t> AmpProfile::ContourByNames(std::string_view previous, std::string_view current,
                                                std::string_view next) const {
    const std::string *a = GroupOf(previous), *b = GroupOf(current), *c = GroupOf(next);
    if (a == nullptr || b == nullptr || c == nullptr) return {};
    const std::vector<int32_t>* values = Contour(*a, *b, *c);
    return values != nullptr ? *values : std::vector<int32_t>{};
}

namespace {

// t in [0, 1] with x(t) = position on the piece S → E around P: Newton's
// steps from the straight-line guess (x(t) is monotonic there), bisection
// when a step leaves the bracket.
double SolveBezierT(double s, double p, double e, double x) {
    double lo = 0.0, hi = 1.0;
    double t = e > s ? std::clamp((x - s) / (e - s), 0.0, 1.0) : 0.5;
    for (int i = 0; i < 60; ++i) {
        const double u = 1.0 - t;
        const double f = u * u * u * s + 3.0 * t * u * p + t * t * t * e - x;
        if (std::abs(f) < 1e-8) break;
        (f < 0.0 ? lo : hi) = t;
        const double d = -3.0 * u * u * s + 3.0 * (1.0 - 2.0 * t) * p + 3.0 * t * t * e;
        double next = d != 0.0 ? t - f / d : 0.5 * (lo + hi);
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (hi - lo < 1e-12) break;
        t = next;
    }
    return t;
}

double Bezier(double s, double p, double e, double t) {
    const double u = 1.0 - t;
    return u * u * u * s + 3.0 * t * u * p + t * t * t * e;
}

AmpPoint Midpoint(const AmpPoint& a, const AmpPoint& b) {
    const int64_t x = (a.position + b.position) / 2;
    const double span = static_cast<double>(b.position - a.position);
    const double u = span > 0.0 ? static_cast<double>(x - a.position) / span : 0.0;
    return {x, a.value + u * (b.value - a.value)};
}

}  // namespace

void EnvelopeAt(std::span<const AmpPoint> points, std::span<const int64_t> positions,
                std::span<double> values) {
    const size_t m = points.size();
    size_t piece = 1;
    for (size_t q = 0; q < positions.size(); ++q) {
        const int64_t x = positions[q];
        if (m == 0) {
            values[q] = 0.0;
        } else if (x <= points.front().position) {
            values[q] = points.front().value;
        } else if (x >= points.back().position) {
            values[q] = points.back().value;
        } else if (m == 2) {  // no interior point: a straight line
            const double span = static_cast<double>(points[1].position - points[0].position);
            values[q] = points[0].value + (points[1].value - points[0].value) *
                                              static_cast<double>(x - points[0].position) / span;
        } else {
            // The piece around interior point `piece` covers [S, E).
            auto bounds = [&](size_t k, AmpPoint& s, AmpPoint& e) {
                s = k == 1 ? points[0] : Midpoint(points[k - 1], points[k]);
                e = k + 2 == m ? points[m - 1] : Midpoint(points[k], points[k + 1]);
            };
            AmpPoint s, e;
            bounds(piece, s, e);
            while (piece + 2 < m && x >= e.position) bounds(++piece, s, e);
            const AmpPoint& p = points[piece];
            if (e.position <= s.position) {
                values[q] = e.value;
                continue;
            }
            const double t =
                SolveBezierT(static_cast<double>(s.position), static_cast<double>(p.position),
                             static_cast<double>(e.position), static_cast<double>(x));
            values[q] = Bezier(s.value, p.value, e.value, t);
        }
    }
}

namespace {

// sample × gain, truncated toward zero and saturated; a plain loop the
// compiler can vectorise.
inline int16_t Scaled(int16_t sample, float gain) {
    const float v = std::clamp(static_cast<float>(sample) * gain, -32768.0f, 32767.0f);
    return static_cast<int16_t>(v);
}

void ScaleAll(std::vector<int16_t>& samples, double gain) {
    const float g = static_cast<float>(gain);
    for (int16_t& s : samples) s = Scaled(s, g);
}

int32_t LargestMagnitude(std::span<const int16_t> samples) {
    int32_t largest = 0;
    for (int16_t s : samples) largest = std::max(largest, std::abs(int32_t{s}));
    return largest;
}

// Period by period between `bounds`: the gain at each bound is the target
// over the level of the period it starts (the last bound: the period it
// ends); a gain above 5 takes the other end's, both above 5 leave the period.
void ScalePeriods(std::vector<int16_t>& samples, std::span<const int64_t> bounds,
                  std::span<const double> targets) {
    const size_t m = bounds.size();
    std::vector<double> gains(m, 0.0);
    for (size_t j = 0; j < m; ++j) {
        const size_t from = j + 1 < m ? j : j - 1;
        const int64_t a = bounds[from], b = bounds[from + 1];
        const int32_t level = LargestMagnitude(
            std::span<const int16_t>(samples.data() + a, static_cast<size_t>(b - a)));
        gains[j] = level > 0 ? targets[j] / level : 0.0;
    }
    for (size_t j = 0; j + 1 < m; ++j) {
        double g0 = gains[j], g1 = gains[j + 1];
        if (g0 > kMaxGain && g1 > kMaxGain) continue;
        if (g0 > kMaxGain) g0 = g1;
        if (g1 > kMaxGain) g1 = g0;
        const int64_t a = bounds[j], b = bounds[j + 1];
        const float step = static_cast<float>((g1 - g0) / static_cast<double>(b - a));
        const float base = static_cast<float>(g0);
        int16_t* x = samples.data() + a;
        // A 32-bit index: its conversion to float vectorises, a 64-bit one does not.
        const int32_t n = static_cast<int32_t>(b - a);
        for (int32_t k = 0; k < n; ++k) x[k] = Scaled(x[k], base + step * static_cast<float>(k));
    }
}

}  // namespace

void ApplyAmplitudeContours(const AmpProfile& profile, std::span<AmpUnit> units, bool maxCut) {
    auto group = [&](size_t i) -> const std::string* {
        static const std::string kPause = "#";
        if (i >= units.size()) return profile.GroupOf(kPause);
        const std::string* g = profile.GroupOf(units[i].name);
        return g != nullptr ? g : profile.GroupOf(units[i].phoneme);
    };
    // Target points over the phrase.
    std::vector<AmpPoint> points;
    std::vector<double> peaks(units.size(), 0.0);
    int64_t start = 0;
    for (size_t i = 0; i < units.size(); ++i) {
        const Unit& unit = *units[i].unit;
        const int64_t len = static_cast<int64_t>(unit.samples.size());
        const std::string* prev = i == 0 ? group(units.size()) : group(i - 1);
        const std::string *cur = group(i), *next = group(i + 1);
        const std::vector<int32_t>* found =
            prev && cur && next ? profile.Contour(*prev, *cur, *next) : nullptr;
        static const std::vector<int32_t> kFlat = {100, 100};
        const std::vector<int32_t>& values = found && found->size() >= 2 ? *found : kFlat;
        const ProsodicEntry* e = units[i].entry;
        peaks[i] = e && e->peak > 0 ? e->peak : LargestMagnitude(unit.samples);
        const size_t k = values.size();
        for (size_t j = 0; j < k; ++j) {
            const AmpPoint p{start + static_cast<int64_t>(j) * len / static_cast<int64_t>(k - 1),
                             values[j] * peaks[i] * 0.01};
            if (!points.empty() && points.back().position == p.position)
                points.back().value = 0.5 * (points.back().value + p.value);
            else
                points.push_back(p);
        }
        start += len;
    }
    // Period bounds of every unit that is shaped, collected first so that
    // the envelope is walked once over the phrase.
    struct Shaped {
        size_t unit;
        size_t first, count;  // its bounds in `bounds`
    };
    std::vector<Shaped> shaped;
    std::vector<int64_t> bounds, positions;
    start = 0;
    for (size_t i = 0; i < units.size(); ++i) {
        Unit& unit = *units[i].unit;
        const int64_t len = static_cast<int64_t>(unit.samples.size());
        const int64_t unitStart = start;
        start += len;
        if (len == 0) continue;
        if (!units[i].intonable || units[i].plosive) {
            const ProsodicEntry* e = units[i].entry;
            const int32_t largest = LargestMagnitude(unit.samples);
            if (e && e->peak > 0 && largest > 0)
                ScaleAll(unit.samples, static_cast<double>(e->peak) / largest);
            continue;
        }
        const size_t first = bounds.size();
        for (int32_t m : unit.marks)
            if (m >= 0 && m < len && (bounds.size() == first || m > bounds.back()))
                bounds.push_back(m);
        if (!maxCut) {
            if (bounds.size() == first || bounds[first] > 0)
                bounds.insert(bounds.begin() + static_cast<long>(first), 0);
            if (bounds.back() < len) bounds.push_back(len);
        }
        const size_t count = bounds.size() - first;
        if (count < 2) {
            bounds.resize(first);
            continue;
        }
        for (size_t j = first; j < bounds.size(); ++j) positions.push_back(unitStart + bounds[j]);
        shaped.push_back({i, first, count});
    }
    std::vector<double> targets(positions.size(), 0.0);
    EnvelopeAt(points, positions, targets);
    for (const Shaped& s : shaped)
        ScalePeriods(units[s.unit].unit->samples,
                     std::span<const int64_t>(bounds.data() + s.first, s.count),
                     std::span<const double>(targets.data() + s.first, s.count));
}

}  // namespace vox
