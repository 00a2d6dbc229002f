// `CFilter`: digital Butterworth low-pass, high-pass, band-pass and band-stop
// filters, designed as cascades of sections (a low-pass prototype through the
// bilinear transform, then a digital spectral transformation) and run in
// direct form II in double precision. Used by the output filter, the
// reverberation and the Chambrel effect.
//
// Nothing here allocates: a design holds at most ten sections in place.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace vox {

enum FilterType : int32_t { kLowPass = 1, kHighPass = 2, kBandPass = 3, kBandStop = 4 };

inline constexpr int kMaxFilterOrder = 20;

// One section: (b0 + b1 z⁻¹ + …) / (1 + a1 z⁻¹ + …) with c = 3 or 5
// coefficients, and its state s[t−1], s[t−2], … (zero when designed).
struct FilterSection {
    int16_t count = 3;
    std::array<double, 5> b{};
    std::array<double, 5> a{};
    std::array<double, 4> state{};
};

// True when every root of a[0] + a[1] z⁻¹ + … lies inside the unit circle
// (Schur-Cohn step-down); a[0] must be 1.
bool IsStableSection(const FilterSection& section);

class CFilter {
  public:
    // Designs type (1 to 4) of order N (even, at most 20) with edges f1 and
    // f2 (f2 used by types 3 and 4) at sampling rate fs. The edges are kept
    // inside (20 Hz, fs/2 − 20 Hz) and a band at least 20 Hz wide, so that no
    // setting yields degenerate or unstable coefficients. A bad type or order
    // shows its message ("CFilter:FilterDesign") and fails, leaving no
    // sections.
    bool Design(int32_t type, int32_t order, double f1, double f2, double fs);

    // Designs afresh (types 1 and 2 with f2 := f1) and runs `signal` through
    // the cascade in place, each output truncated toward zero and saturated.
    // A failed design shows "Error create filter" ("CFilter:Filter") and
    // leaves the signal as it is.
    void Filter(std::span<int16_t> signal, int32_t type, int32_t order, double f1, double f2,
                double fs);

    // One step of the cascade, keeping the state.
    double FilterOneSample(double x);
    // The cascade over a block in place, keeping the state: the same as
    // FilterOneSample on each value in turn, section by section.
    void RunBlock(std::span<double> block);

    // Runs `signal` through the current cascade in place, keeping the state.
    void Run(std::span<int16_t> signal);

    std::span<const FilterSection> Sections() const { return {sections_.data(), count_}; }
    std::span<FilterSection> Sections() { return {sections_.data(), count_}; }

  private:
    std::array<FilterSection, kMaxFilterOrder / 2> sections_{};
    size_t count_ = 0;
};

}  // namespace vox
