// The design follows the classic route: Butterworth poles of the analog
// prototype at the prewarped edge tan(π w), the bilinear transform, unity
// gain at 0 Hz, then Constantinides' spectral transformations for the other
// types. The high-pass takes its prototype at (fs − f1)/fs, beyond the
// Nyquist frequency; the mirrored prototype and the inverted transformation
// cancel, giving exactly the high-pass whose −3 dB point is f1.
#include "engine/audio/Filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/audio/Samples.h"
#include "platform/Messages.h"

namespace vox {

namespace {

constexpr const char* kDesignCaption = "CFilter:FilterDesign";
constexpr const char* kFilterCaption = "CFilter:Filter";
constexpr double kPi = std::numbers::pi;
constexpr double kEdgeMarginHz = 20.0;

struct Edges {
    double f1, f2;
};

// Edges strictly inside the band (0, fs/2), a band at least the margin wide:
// narrower or lower bands put the clustered poles of the 4th-order sections
// so near z = 1 that double precision no longer keeps them inside the circle.
Edges SafeEdges(int32_t type, double f1, double f2, double fs) {
    const double low = kEdgeMarginHz, high = fs / 2 - kEdgeMarginHz;
    auto clamp = [&](double f) { return std::isnan(f) ? low : std::clamp(f, low, high); };
    f1 = clamp(f1);
    f2 = clamp(f2);
    if (type == kBandPass || type == kBandStop) {
        if (f2 < f1) std::swap(f1, f2);
        if (f2 - f1 < kEdgeMarginHz) {
            f2 = std::min(f1 + kEdgeMarginHz, high);
            f1 = f2 - kEdgeMarginHz;
        }
    }
    return {f1, f2};
}

// Low-pass section k of N at prototype edge T = tan(π w).
FilterSection LowPassSection(int k, int order, double t) {
    const double theta = (2 * k + 1) * kPi / (2 * order);
    const double re = -t * std::cos(theta), im = t * std::sin(theta);
    const double d = (1 - re) * (1 - re) + im * im;
    const double zr = (1 - re * re - im * im) / d, zi = 2 * im / d;
    FilterSection s;
    s.count = 3;
    s.a = {1, -2 * zr, zr * zr + zi * zi, 0, 0};
    const double g = (s.a[0] + s.a[1] + s.a[2]) / 4;
    s.b = {g, 2 * g, g, 0, 0};
    return s;
}

// Polynomials in z⁻¹ of degree up to 4.
using Poly = std::array<double, 5>;

Poly Multiply(const Poly& x, const Poly& y) {
    Poly r{};
    for (int i = 0; i < 5; ++i)
        for (int j = 0; i + j < 5; ++j) r[i + j] += x[i] * y[j];
    return r;
}

Poly Combine(const std::array<double, 5>& c, const Poly& p, const Poly& q) {
    const Poly qq = Multiply(q, q), pq = Multiply(p, q), pp = Multiply(p, p);
    Poly r{};
    for (int i = 0; i < 5; ++i) r[i] = c[0] * qq[i] + c[1] * pq[i] + c[2] * pp[i];
    return r;
}

// Substitutes z⁻¹ → P/Q in a low-pass section and normalises by the new a[0].
void Transform(FilterSection& s, const Poly& p, const Poly& q, int16_t count) {
    const Poly b = Combine(s.b, p, q), a = Combine(s.a, p, q);
    s.count = count;
    for (int i = 0; i < 5; ++i) {
        s.b[i] = i < count ? b[i] / a[0] : 0;
        s.a[i] = i < count ? a[i] / a[0] : 0;
    }
}

// Direct form II of one section with c coefficients, its state in locals
// while a block runs. The terms that do not depend on the newest state are
// summed first, so that one multiply and one subtraction separate a sample
// from the next.
template <int C>
struct LiveSection {
    explicit LiveSection(const FilterSection& s) : a(s.a), b(s.b), st(s.state) {}
    double Step(double x) {
        double older = x, feed = 0;
        for (int i = C - 1; i >= 2; --i) {
            older -= a[i] * st[i - 1];
            feed += b[i] * st[i - 1];
        }
        const double w = older - a[1] * st[0];
        const double y = (feed + b[1] * st[0]) + b[0] * w;
        for (int i = C - 2; i > 0; --i) st[i] = st[i - 1];
        st[0] = w;
        return y;
    }
    std::array<double, 5> a, b;
    std::array<double, 4> st;
};

template <int C>
void RunOne(FilterSection& s, std::span<double> block) {
    LiveSection<C> live(s);
    for (double& x : block) x = live.Step(x);
    s.state = live.st;
}

// Two consecutive sections in one loop, the second one sample behind the
// first: at step i the first takes x[i] while the second takes the first's
// output for x[i − 1]. The two recursions are then independent within a
// step, so the processor runs them side by side instead of waiting for each
// in turn; each section computes exactly what it computes alone.
template <int C>
void RunPair(FilterSection& first, FilterSection& second, std::span<double> block) {
    const size_t n = block.size();
    if (n == 0) return;
    LiveSection<C> one(first), two(second);
    double carried = one.Step(block[0]);
    for (size_t i = 1; i < n; ++i) {
        const double next = one.Step(block[i]);
        block[i - 1] = two.Step(carried);
        carried = next;
    }
    block[n - 1] = two.Step(carried);
    first.state = one.st;
    second.state = two.st;
}

template <int C>
void RunSections(std::span<FilterSection> sections, std::span<double> block) {
    size_t k = 0;
    for (; k + 1 < sections.size(); k += 2) RunPair<C>(sections[k], sections[k + 1], block);
    for (; k < sections.size(); ++k) RunOne<C>(sections[k], block);
}

constexpr size_t kBlock = 1024;

}  // namespace

bool IsStableSection(const FilterSection& section) {
    std::array<double, 5> a = section.a;
    for (int m = section.count - 1; m >= 1; --m) {
        const double k = a[m];
        if (!std::isfinite(k) || std::abs(k) >= 1) return false;
        std::array<double, 5> next{};
        for (int i = 0; i < m; ++i) next[i] = (a[i] - k * a[m - i]) / (1 - k * k);
        a = next;
    }
    return true;
}

bool CFilter::Design(int32_t type, int32_t order, double f1, double f2, double fs) {
    count_ = 0;
    if (type < kLowPass || type > kBandStop) {
        MessageBox(kDesignCaption, "Unknown filter type", MessageIcon::Information);
        return false;
    }
    if (order > kMaxFilterOrder) {
        MessageBox(kDesignCaption, "Order of filter too large", MessageIcon::Information);
        return false;
    }
    if (order % 2 != 0 || order <= 0) {
        MessageBox(kDesignCaption, "Filter order must be even", MessageIcon::Information);
        return false;
    }
    if (!(fs > 4 * kEdgeMarginHz)) {
        MessageBox(kDesignCaption, "Sampling rate too low", MessageIcon::Information);
        return false;
    }
    const Edges e = SafeEdges(type, f1, f2, fs);
    const double u1 = e.f1 / fs, u2 = e.f2 / fs;
    const double w = type == kLowPass ? u1 : type == kHighPass ? (fs - e.f1) / fs : u2 - u1;
    const double t = std::tan(kPi * w);

    Poly p{}, q{};
    int16_t count = 3;
    if (type == kHighPass) {
        const double alpha = std::cos(kPi * (w + u1)) / std::cos(kPi * (w - u1));
        p = {alpha, -1};
        q = {1, -alpha};
    } else if (type == kBandPass || type == kBandStop) {
        const double alpha = std::cos(kPi * (u1 + u2)) / std::cos(kPi * (u2 - u1));
        const double band = std::tan(kPi * (u2 - u1));
        count = 5;
        if (type == kBandPass) {
            const double k = t / band, r = (k - 1) / (k + 1), s = 2 * alpha * k / (k + 1);
            p = {-r, s, -1};
            q = {1, -s, r};
        } else {
            const double k = t * band, r = (1 - k) / (1 + k), s = 2 * alpha / (1 + k);
            p = {r, -s, 1};
            q = {1, -s, r};
        }
    }
    for (int k = 0; k < order / 2; ++k) {
        FilterSection s = LowPassSection(k, order, t);
        if (type != kLowPass) Transform(s, p, q, count);
        sections_[k] = s;
    }
    count_ = static_cast<size_t>(order / 2);
    for (const FilterSection& s : Sections()) {
        const bool finite =
            std::all_of(s.b.begin(), s.b.end(), [](double v) { return std::isfinite(v); });
        if (!finite || !IsStableSection(s)) {
            count_ = 0;
            MessageBox(kDesignCaption, "Filter is unstable", MessageIcon::Information);
            return false;
        }
    }
    return true;
}

double CFilter::FilterOneSample(double x) {
    RunBlock({&x, 1});
    return x;
}

void CFilter::RunBlock(std::span<double> block) {
    if (count_ == 0) return;
    if (sections_[0].count == 3)
        RunSections<3>(Sections(), block);
    else
        RunSections<5>(Sections(), block);
}

void CFilter::Run(std::span<int16_t> signal) {
    if (count_ == 0) return;
    std::array<double, kBlock> block;
    for (size_t from = 0; from < signal.size(); from += kBlock) {
        const std::span<int16_t> part =
            signal.subspan(from, std::min(kBlock, signal.size() - from));
        for (size_t i = 0; i < part.size(); ++i) block[i] = part[i];
        RunBlock({block.data(), part.size()});
        for (size_t i = 0; i < part.size(); ++i) part[i] = SaturateSample(block[i]);
    }
}

void CFilter::Filter(std::span<int16_t> signal, int32_t type, int32_t order, double f1, double f2,
                     double fs) {
    if (type == kLowPass || type == kHighPass) f2 = f1;
    if (!Design(type, order, f1, f2, fs)) {
        MessageBox(kFilterCaption, "Error create filter", MessageIcon::Information);
        return;
    }
    Run(signal);
}

}  // namespace vox
