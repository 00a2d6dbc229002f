#include "tools/voicebuild/JoinQuality.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <numbers>
#include <sstream>

#include "tools/voicebuild/Aligner.h"
#include "tools/voicebuild/Median.h"
#include "tools/voicebuild/Spectrum.h"

namespace vox::voicebuild {

namespace {

constexpr int kRate = 22050;
constexpr double kHighBandHz = 7500.0;
constexpr long kWindow = 66;         // 3 ms
constexpr double kSilentDb = -20.0;  // level of a window of digital silence
constexpr const char* kNaturalHeader = "natural boundaries\tmedian distance dB\tcount";

// Fourth-order Butterworth high-pass from two RBJ sections.
std::vector<double> HighPassed(std::span<const int16_t> x, double cutoff, int rate) {
    std::vector<double> y(x.begin(), x.end());
    for (double q : {0.5412, 1.3066}) {
        const double w0 = 2.0 * std::numbers::pi * cutoff / rate;
        const double alpha = std::sin(w0) / (2.0 * q), c = std::cos(w0), a0 = 1.0 + alpha;
        const double b0 = (1.0 + c) / 2.0 / a0, b1 = -(1.0 + c) / a0, b2 = b0;
        const double a1 = -2.0 * c / a0, a2 = (1.0 - alpha) / a0;
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (double& v : y) {
            const double out = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1, x1 = v, y2 = y1, y1 = out;
            v = out;
        }
    }
    return y;
}

// Energy prefix sums, so that a window's mean power is one subtraction.
std::vector<double> PrefixEnergy(std::span<const double> x) {
    std::vector<double> sum(x.size() + 1, 0.0);
    for (size_t i = 0; i < x.size(); ++i) sum[i + 1] = sum[i] + x[i] * x[i];
    return sum;
}

// dB of the mean power of the window centred on `centre`.
double WindowDb(const std::vector<double>& prefix, long centre) {
    const long n = long(prefix.size()) - 1;
    const long from = std::clamp(centre - kWindow / 2, 0L, n);
    const long to = std::clamp(centre + kWindow / 2, 0L, n);
    if (to <= from) return kSilentDb;
    const double power = (prefix[size_t(to)] - prefix[size_t(from)]) / double(to - from);
    return std::max(kSilentDb, 10.0 * std::log10(power + 1e-12));
}

}  // namespace

std::vector<JoinMeasure> MeasureJoins(const RenderedPhrase& phrase) {
    std::vector<JoinMeasure> joins;
    const std::vector<double> high = HighPassed(phrase.signal, kHighBandHz, kRate);
    const std::vector<double> highPrefix = PrefixEnergy(high);
    const std::vector<double> full(phrase.signal.begin(), phrase.signal.end());
    const std::vector<double> fullPrefix = PrefixEnergy(full);
    std::vector<float> samples(phrase.signal.begin(), phrase.signal.end());

    // The phrase's typical high-band level: 3 ms windows tiling its sounds.
    std::vector<double> levels;
    for (const RenderedUnit& u : phrase.units) {
        if (u.pause) continue;
        for (long c = u.start + kWindow / 2; c + kWindow / 2 <= u.start + u.length; c += kWindow)
            levels.push_back(WindowDb(highPrefix, c));
    }
    const double median = Median(levels);

    for (size_t k = 0; k + 1 < phrase.units.size(); ++k) {
        const RenderedUnit &a = phrase.units[k], &b = phrase.units[k + 1];
        if (a.pause || b.pause) continue;
        JoinMeasure m;
        m.left = a.name;
        m.right = b.name;
        m.pair = PairKey(a.phoneme, b.phoneme);
        const long at = b.start;
        double beside = median;
        if (at - 2 * kWindow >= a.start)
            beside = std::max(beside, WindowDb(highPrefix, at - 2 * kWindow));
        if (at + 2 * kWindow <= b.start + b.length)
            beside = std::max(beside, WindowDb(highPrefix, at + 2 * kWindow));
        m.burstDb = WindowDb(highPrefix, at) - beside;
        double quieter = std::numeric_limits<double>::infinity();
        if (at - 2 * kWindow >= a.start)
            quieter = std::min(quieter, WindowDb(fullPrefix, at - 2 * kWindow));
        if (at + 2 * kWindow <= b.start + b.length)
            quieter = std::min(quieter, WindowDb(fullPrefix, at + 2 * kWindow));
        if (std::isfinite(quieter)) m.dipDb = std::min(0.0, WindowDb(fullPrefix, at) - quieter);
        m.distance = DistanceAcross(samples, at, kRate);
        joins.push_back(std::move(m));
    }
    return joins;
}

std::string JoinKind(const std::string& pair) {
    const size_t bar = pair.find('|');
    auto side = [](const std::string& p) { return IsVowelPhoneme(p) ? "vowel" : "consonant"; };
    if (bar == std::string::npos) return side(pair);
    return std::string(side(pair.substr(0, bar))) + "|" + side(pair.substr(bar + 1));
}

JoinFigures SummariseJoins(const std::vector<JoinMeasure>& joins, size_t phrases,
                           const NaturalDistances& natural, size_t worstCount) {
    JoinFigures f;
    f.phrases = phrases;
    f.joins = joins.size();
    std::vector<double> distances, reference;
    std::map<std::string, std::pair<std::vector<double>, std::vector<double>>> byKind;
    for (const JoinMeasure& j : joins) {
        f.clicks += j.burstDb >= kClickDb;
        f.spikes += j.burstDb > kSpikeDb;
        f.dips += j.dipDb < kDipDb;
        f.maxBurstDb = std::max(f.maxBurstDb, j.burstDb);
        f.minDipDb = std::min(f.minDipDb, j.dipDb);
        if (j.distance < 0.0) continue;
        distances.push_back(j.distance);
        auto& [kindDistances, kindReference] = byKind[JoinKind(j.pair)];
        kindDistances.push_back(j.distance);
        auto it = natural.find(j.pair);
        if (it != natural.end()) {
            reference.push_back(it->second), ++f.pairsWithReference;
            kindReference.push_back(it->second);
        }
    }
    for (auto& [kind, values] : byKind)
        f.kinds.push_back({kind, values.first.size(), Median(values.first),
                           values.second.empty() ? -1.0 : Median(values.second)});
    f.medianDistance = Median(distances);
    if (!reference.empty()) f.naturalMedian = Median(reference);
    f.worst = joins;
    std::stable_sort(
        f.worst.begin(), f.worst.end(),
        [](const JoinMeasure& a, const JoinMeasure& b) { return a.burstDb > b.burstDb; });
    if (f.worst.size() > worstCount) f.worst.resize(worstCount);
    f.deepest = joins;
    std::stable_sort(f.deepest.begin(), f.deepest.end(),
                     [](const JoinMeasure& a, const JoinMeasure& b) { return a.dipDb < b.dipDb; });
    if (f.deepest.size() > worstCount) f.deepest.resize(worstCount);
    return f;
}

std::string NaturalDistanceSection(const std::map<std::string, std::vector<float>>& distances) {
    std::ostringstream out;
    out << kNaturalHeader << "\n";
    for (const auto& [pair, values] : distances) {
        if (values.empty()) continue;
        std::vector<double> v(values.begin(), values.end());
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", Median(std::move(v)));
        out << pair << "\t" << text << "\t" << values.size() << "\n";
    }
    return out.str();
}

NaturalDistances ReadNaturalDistances(const std::string& reportText) {
    NaturalDistances out;
    std::istringstream in(reportText);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == kNaturalHeader) {
            inside = true;
            continue;
        }
        if (!inside) continue;
        if (line.empty()) break;
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) break;
        const std::string value = line.substr(tab + 1);
        double d = 0.0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), d);
        if (ec != std::errc() || end == value.data() || !std::isfinite(d)) break;
        out[line.substr(0, tab)] = d;
    }
    return out;
}

}  // namespace vox::voicebuild
