// f0, pitch marks and boundary refinement on synthetic speech with known
// pulses and boundaries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "tests/voices/SyntheticCorpus.h"
#include "tools/voicebuild/BoundaryRefiner.h"
#include "tools/voicebuild/FrameFeatures.h"
#include "tools/voicebuild/LinearPrediction.h"
#include "tools/voicebuild/PitchMarker.h"
#include "tools/voicebuild/PitchTracker.h"

namespace vox::voicebuild {
namespace {

using test::SynthKind;
using test::SynthPhone;

Waveform WaveOf(const test::RenderedSpeech& s) {
    return FromPcm16(s.samples, s.rate);
}

std::vector<long> Marks(const Waveform& w, const PitchTrack& track) {
    std::vector<float> residual = LpResidual(w);
    return FindPitchMarks(residual, track);
}

// Every true pulse away from the run edges has exactly one mark within
// `tolerance` samples, at the same phase for all pulses.
void ExpectMarksOnPulses(const std::vector<long>& marks, const std::vector<long>& pulses, long edge,
                         double tolerance) {
    std::vector<long> offsets;
    for (size_t i = 1; i + 1 < pulses.size(); ++i) {
        if (pulses[i] < pulses.front() + edge || pulses[i] > pulses.back() - edge) continue;
        long best = -1;
        int near = 0;
        for (long m : marks) {
            long half = (pulses[i + 1] - pulses[i - 1]) / 4;
            if (m > pulses[i] - half && m <= pulses[i] + half) ++near, best = m;
        }
        ASSERT_EQ(near, 1) << "pulse at " << pulses[i];
        offsets.push_back(best - pulses[i]);
    }
    ASSERT_FALSE(offsets.empty());
    std::sort(offsets.begin(), offsets.end());
    const long phase = offsets[offsets.size() / 2];
    for (long o : offsets) EXPECT_LE(std::abs(o - phase), tolerance);
    EXPECT_LE(std::abs(phase), 3) << "marks sit at the pulses";
}

TEST(PitchTrackerTest, FindsTheF0OfAVowelAndNothingInSilenceOrNoise) {
    test::RenderedSpeech s = test::RenderSpeech({{"pau", SynthKind::Pause, 0.2},
                                                 {"aa", SynthKind::Vowel, 0.5},
                                                 {"s", SynthKind::Fricative, 0.2},
                                                 {"pau", SynthKind::Pause, 0.2}},
                                                140.0);
    Waveform w = WaveOf(s);
    PitchTrack track = TrackPitch(w);
    for (size_t t = 0; t < track.Frames(); ++t) {
        double seconds = double(track.CentreOf(t)) / w.rate;
        if (seconds > 0.25 && seconds < 0.65) {
            ASSERT_GT(track.f0[t], 0.0f) << seconds;
            EXPECT_NEAR(track.f0[t], 140.0, 140.0 * 0.06) << seconds;  // the glide is ±5 %
        }
        if (seconds < 0.17 || (seconds > 0.75 && seconds < 0.85) || seconds > 0.95) {
            EXPECT_EQ(track.f0[t], 0.0f) << seconds;
        }
    }
}

TEST(PitchTrackerTest, ClampsToTheSpeakersRange) {
    test::RenderedSpeech s = test::RenderSpeech({{"aa", SynthKind::Vowel, 0.4}}, 300.0);
    PitchOptions o;
    o.maxF0 = 260.0;
    PitchTrack track = TrackPitch(WaveOf(s), o);
    for (float f : track.f0) EXPECT_LE(f, 260.0f);
}

TEST(PitchTrackerTest, AStrongSecondHarmonicIsNotTakenForTheF0) {
    // A nasal-like murmur at 95 Hz whose second harmonic is five times its
    // first: the first dip of the difference function lies at half the period.
    Waveform w;
    w.rate = 22050;
    for (int n = 0; n < w.rate * 2 / 5; ++n) {
        const double phase = 2.0 * 3.14159265358979 * 95.0 * n / w.rate;
        w.samples.push_back(float(0.06 * std::sin(phase) + 0.3 * std::sin(2.0 * phase + 0.4) +
                                  0.03 * std::sin(3.0 * phase + 1.1)));
    }
    auto medianF0 = [&](const PitchOptions& o) {
        std::vector<float> voiced;
        for (float f : TrackPitch(w, o).f0)
            if (f > 0.0f) voiced.push_back(f);
        if (voiced.empty()) return 0.0f;
        std::nth_element(voiced.begin(), voiced.begin() + long(voiced.size() / 2), voiced.end());
        return voiced[voiced.size() / 2];
    };
    EXPECT_NEAR(medianF0({}), 95.0, 95.0 * 0.03);
    PitchOptions firstDipOnly;
    firstDipOnly.octaveBelowDip = 0.0;
    EXPECT_NEAR(medianF0(firstDipOnly), 190.0, 190.0 * 0.03) << "the case the check is for";
}

TEST(PitchMarkerTest, OneMarkPerPulseAtAConstantPhase) {
    for (double f0 : {90.0, 140.0, 210.0}) {
        SCOPED_TRACE(f0);
        test::RenderedSpeech s = test::RenderSpeech({{"pau", SynthKind::Pause, 0.1},
                                                     {"aa", SynthKind::Vowel, 0.6},
                                                     {"pau", SynthKind::Pause, 0.1}},
                                                    f0);
        Waveform w = WaveOf(s);
        PitchTrack track = TrackPitch(w);
        std::vector<long> marks = Marks(w, track);
        ExpectMarksOnPulses(marks, s.pulses, long(0.03 * w.rate), 0.0005 * w.rate);
        MarkAgreement a = CompareWithTrack(marks, track);
        EXPECT_GT(a.intervals, 20u);
        EXPECT_GE(a.Share(), 0.95);
    }
}

TEST(PitchMarkerTest, SonorantsAndVowelsShareOneChainAcrossTheirBoundary) {
    test::RenderedSpeech s = test::RenderSpeech({{"pau", SynthKind::Pause, 0.1},
                                                 {"m", SynthKind::Sonorant, 0.15},
                                                 {"aa", SynthKind::Vowel, 0.3},
                                                 {"pau", SynthKind::Pause, 0.1}},
                                                120.0);
    Waveform w = WaveOf(s);
    std::vector<long> marks = Marks(w, TrackPitch(w));
    ExpectMarksOnPulses(marks, s.pulses, long(0.03 * w.rate), 0.0005 * w.rate);
}

TEST(PitchMarkerTest, NoMarksWithoutVoicing) {
    test::RenderedSpeech s = test::RenderSpeech(
        {{"s", SynthKind::Fricative, 0.3}, {"pau", SynthKind::Pause, 0.3}}, 120.0);
    Waveform w = WaveOf(s);
    EXPECT_TRUE(Marks(w, TrackPitch(w)).empty());
    EXPECT_TRUE(FindPitchMarks(std::vector<float>{}, PitchTrack{}).empty());
}

TEST(LinearPredictionTest, ResidualOfAnAllPoleSignalIsItsExcitation) {
    // A resonator driven by pulses: the residual peaks at the pulses and is
    // small elsewhere, and its skewness is positive.
    test::RenderedSpeech s = test::RenderSpeech({{"aa", SynthKind::Vowel, 0.4}}, 100.0);
    Waveform w = WaveOf(s);
    std::vector<float> r = LpResidual(w);
    std::vector<std::pair<long, long>> all{{0, long(r.size())}};
    EXPECT_GT(Skewness(r, all), 1.0);
    std::vector<double> a;
    EXPECT_FALSE(LpcCoefficients(std::vector<float>(400, 0.0f), 18, a))
        << "silence has no predictor";
}

struct BoundaryCase {
    const char* name;
    std::vector<SynthPhone> phones;
    size_t boundary;  // index of the left phone
};

TEST(BoundaryRefinerTest, MovesDisplacedBoundariesBackOntoTheEvent) {
    const std::vector<BoundaryCase> cases = {
        {"vowel|fricative", {{"aa", SynthKind::Vowel, 0.2}, {"s", SynthKind::Fricative, 0.15}}, 0},
        {"fricative|vowel", {{"s", SynthKind::Fricative, 0.15}, {"aa", SynthKind::Vowel, 0.2}}, 0},
        {"vowel|stop",
         {{"aa", SynthKind::Vowel, 0.2},
          {"t", SynthKind::Stop, 0.12},
          {"aa", SynthKind::Vowel, 0.2}},
         0},
        {"stop|vowel",
         {{"aa", SynthKind::Vowel, 0.2},
          {"t", SynthKind::Stop, 0.12},
          {"aa", SynthKind::Vowel, 0.2}},
         1},
    };
    const std::map<SynthKind, SoundClass> classOf = {
        {SynthKind::Vowel, SoundClass::StressedVowel},
        {SynthKind::Fricative, SoundClass::VoicelessFricative},
        {SynthKind::Stop, SoundClass::VoicelessStop}};
    for (const BoundaryCase& c : cases) {
        for (double shift : {-0.03, 0.03}) {
            SCOPED_TRACE(std::string(c.name) + " shifted by " + std::to_string(shift));
            std::vector<SynthPhone> phones = c.phones;
            phones.insert(phones.begin(), {"pau", SynthKind::Pause, 0.1});
            phones.push_back({"pau", SynthKind::Pause, 0.1});
            test::RenderedSpeech s = test::RenderSpeech(phones, 120.0);
            Waveform w = WaveOf(s);
            std::vector<TimedPhone> timed;
            for (size_t i = 0; i < phones.size(); ++i) {
                SoundClass cls = phones[i].kind == SynthKind::Pause ? SoundClass::Pause
                                                                    : classOf.at(phones[i].kind);
                timed.push_back({cls, i == 0 ? 0.0 : s.ends[i - 1], s.ends[i]});
            }
            const size_t left = c.boundary + 1;
            const double truth = timed[left].end;
            timed[left].end = timed[left + 1].start = truth + shift;
            PitchTrack track = TrackPitch(w);
            RefineBoundaries(timed, ComputeFrameFeatures(w), track, Marks(w, track));
            // A voicing onset is found on the vowel's first pulse, up to one
            // period after the boundary; the other events within 8 ms.
            if (std::string(c.name) == "stop|vowel") {
                EXPECT_GE(timed[left].end, truth - 0.002);
                EXPECT_LE(timed[left].end, truth + 1.0 / 120.0 + 0.002);
            } else {
                EXPECT_NEAR(timed[left].end, truth, 0.008);
            }
            EXPECT_EQ(timed[left].end, timed[left + 1].start);
        }
    }
}

TEST(BoundaryRefinerTest, LeavesPauseEdgesAndPairsWithoutADetector) {
    EXPECT_EQ(DetectorFor(SoundClass::StressedVowel, SoundClass::Pause), Detector::None);
    EXPECT_EQ(DetectorFor(SoundClass::Pause, SoundClass::VoicelessFricative), Detector::None);
    EXPECT_EQ(DetectorFor(SoundClass::Sonorant, SoundClass::UnstressedVowel), Detector::None);
    EXPECT_EQ(DetectorFor(SoundClass::VoicedObstruent, SoundClass::VoicelessFricative),
              Detector::HighBandRise);

    test::RenderedSpeech s =
        test::RenderSpeech({{"aa", SynthKind::Vowel, 0.2}, {"pau", SynthKind::Pause, 0.2}}, 120.0);
    Waveform w = WaveOf(s);
    std::vector<TimedPhone> timed = {{SoundClass::StressedVowel, 0.0, 0.23},
                                     {SoundClass::Pause, 0.23, 0.4}};
    EXPECT_EQ(RefineBoundaries(timed, ComputeFrameFeatures(w), TrackPitch(w), {}), 0u);
    EXPECT_EQ(timed[0].end, 0.23);
}

}  // namespace
}  // namespace vox::voicebuild
