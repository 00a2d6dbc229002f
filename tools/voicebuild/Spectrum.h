// Short-time spectra for comparing two sides of a boundary: band levels of
// one Hann-windowed frame, and the distance between two such frames. The
// bands are fixed in Hz so that recordings at 16 kHz and units at 22050 Hz
// are measured alike.
#pragma once

#include <span>
#include <vector>

namespace vox::voicebuild {

inline constexpr int kSpectrumBands = 20;         // equal widths from 100 Hz to 7 kHz
inline constexpr double kSpectrumFrame = 0.0116;  // seconds (256 samples at 22050 Hz)

// Band levels (dB of mean power, samples as given) of `frame`; a frame of
// silence gives -100 dB in every band.
std::vector<float> BandLevels(std::span<const float> frame, int rate);

// The RMS difference of two band-level vectors in dB, each band floored at
// 50 dB below the louder frame's strongest band so that silence is not
// measured at its noise floor.
double SpectralDistance(std::span<const float> a, std::span<const float> b);

// The distance across `at` in `signal`: the frame just before against the
// frame from `at` on (both clipped to the signal; a side shorter than a
// quarter frame gives -1).
double DistanceAcross(std::span<const float> signal, long at, int rate);

}  // namespace vox::voicebuild
