#include "tools/voicebuild/UtteranceAnalyser.h"

#include <algorithm>
#include <cmath>

#include "tools/voicebuild/Spectrum.h"
#include "tools/voicebuild/UnitCutter.h"
#include "tools/voicedb/Wav.h"

namespace vox::voicebuild {

namespace {

constexpr int kMinRate = 8000;
constexpr int kMaxRate = 96000;
// Labels may end a little after the recording (rounding to the label grid).
constexpr double kLabelOverrun = 0.05;

void Measure(Instance& in, const PitchTrack& pitch, const FrameFeatures& features,
             std::span<const long> marks) {
    const long from = long(std::lround(in.start * pitch.rate));
    const long to = long(std::lround(in.end * pitch.rate));
    std::vector<float> voiced;
    size_t frames = 0;
    for (size_t t = pitch.FrameAt(from); t < pitch.Frames() && pitch.CentreOf(t) < to; ++t) {
        if (pitch.CentreOf(t) < from) continue;
        ++frames;
        if (pitch.f0[t] > 0.0f) voiced.push_back(pitch.f0[t]);
    }
    in.voicedShare = frames ? float(voiced.size()) / float(frames) : 0.0f;
    if (!voiced.empty()) {
        std::nth_element(voiced.begin(), voiced.begin() + long(voiced.size() / 2), voiced.end());
        in.f0 = voiced[voiced.size() / 2];
    }
    const double quarter = in.Duration() / 4.0;
    size_t a = features.FrameAt(in.start + quarter), b = features.FrameAt(in.end - quarter);
    double sum = 0.0;
    for (size_t t = a; t <= b; ++t) sum += features.levelDb[t];
    in.levelDb = float(sum / double(b - a + 1));

    auto first = std::lower_bound(marks.begin(), marks.end(), from);
    auto last = std::lower_bound(marks.begin(), marks.end(), to);
    std::vector<long> inside(first, last);
    MarkAgreement agreement = CompareWithTrack(inside, pitch);
    in.markRegularity = inside.size() < 2 ? 0.0f : float(agreement.Share());
}

constexpr double kQuietBelowMiddle = 20.0;  // dB

// The median f0 of a track's voiced frames (150 Hz without any).
double VoicedMedian(const PitchTrack& pitch) {
    std::vector<float> voiced;
    for (float f : pitch.f0)
        if (f > 0.0f) voiced.push_back(f);
    if (voiced.empty()) return 150.0;
    std::nth_element(voiced.begin(), voiced.begin() + long(voiced.size() / 2), voiced.end());
    return voiced[voiced.size() / 2];
}

// The band levels of the first or last frame of [from, to); empty when too short.
std::vector<float> EdgeBands(const Waveform& wave, long from, long to, bool first) {
    const long frame = std::min(to - from, std::lround(kSpectrumFrame * wave.rate));
    if (frame < 8) return {};
    std::span<const float> all(wave.samples);
    return BandLevels(all.subspan(size_t(first ? from : to - frame), size_t(frame)), wave.rate);
}

// Near-silence inside the instance's edges, and the spectrum at each edge
// where the unit will be cut; for a voiced edge also where a cut inside the
// sound would be, when that lies elsewhere.
void MeasureEdges(Instance& in, const Waveform& wave, const FrameFeatures& features,
                  std::span<const int16_t> pcm, std::span<const long> marks, double speakerPeriod) {
    const double threshold = in.levelDb - kQuietBelowMiddle;
    const double hop = double(features.hopSamples) / features.rate;
    const double half = 0.005;  // half a feature window
    double t = in.start + half;
    while (t < in.end - half && features.levelDb[features.FrameAt(t)] < threshold) t += hop;
    in.leadingQuiet = float(std::max(0.0, t - (in.start + half)));
    t = in.end - half;
    while (t > in.start + half && features.levelDb[features.FrameAt(t)] < threshold) t -= hop;
    in.trailingQuiet = float(std::max(0.0, (in.end - half) - t));

    auto cut = [&](double seconds, CutSide side, bool isStart) {
        return FindCut(pcm, marks, wave.rate, seconds, speakerPeriod, side, isStart).sample;
    };
    const long from = cut(in.start, CutSide::Nearest, true), to = cut(in.end, CutSide::Nearest, false);
    if (to <= from) return;
    in.startBands = EdgeBands(wave, from, to, true);
    in.endBands = EdgeBands(wave, from, to, false);
    if (!in.intonable) return;
    if (const long inside = cut(in.start, CutSide::Inside, true); inside != from && inside < to)
        in.insideStartBands = EdgeBands(wave, inside, to, true);
    if (const long inside = cut(in.end, CutSide::Inside, false); inside != to && inside > from)
        in.insideEndBands = EdgeBands(wave, from, inside, false);
}

// The spectral distance across each natural boundary between two sounds
// with no pause between (a word boundary may lie there).
void MeasureNaturalBoundaries(const PreparedUtterance& u, std::span<Instance> instances,
                              const Waveform& wave) {
    for (Instance& in : instances) {
        size_t j = size_t(in.position) + 1;
        while (j < u.phonemes.size() && u.phonemes[j] == "_") ++j;
        if (j >= u.phonemes.size() || u.phonemes[j] == "#" || u.instanceOf[j] < 0) continue;
        if (u.segmentOf[j] != u.segmentOf[size_t(in.position)] + 1) continue;
        in.nextPhoneme = u.phonemes[j];
        in.distanceToNext =
            float(DistanceAcross(wave.samples, long(wave.IndexAt(in.end)), wave.rate));
    }
}

std::vector<std::pair<long, long>> RunRanges(const PitchTrack& track, long samples) {
    std::vector<std::pair<long, long>> ranges;
    for (const VoicedRun& r : VoicedRuns(track, samples)) ranges.emplace_back(r.from, r.to);
    return ranges;
}

}  // namespace

bool LoadRecording(const std::string& path, Waveform& wave, std::string& problem) {
    voicedb::WavAudio audio;
    if (!voicedb::ReadWav(path, audio, problem)) return false;
    if (audio.sampleRate < kMinRate || audio.sampleRate > kMaxRate) {
        problem = path + ": sample rate " + std::to_string(audio.sampleRate) + " Hz is outside " +
                  std::to_string(kMinRate) + "…" + std::to_string(kMaxRate) + " Hz";
        return false;
    }
    if (audio.samples.empty()) {
        problem = path + ": no samples";
        return false;
    }
    wave = FromPcm16(audio.samples, int(audio.sampleRate));
    return true;
}

double ResidualSkewness(const Waveform& wave, const AnalysisSettings& s) {
    PitchTrack track = TrackPitch(wave, s.pitch);
    std::vector<float> residual = LpResidual(wave, s.residual);
    return Skewness(residual, RunRanges(track, long(wave.samples.size())));
}

bool AnalyseUtterance(const PreparedUtterance& u, const std::vector<SoundClass>& segmentClass,
                      std::span<Instance> instances, const AnalysisSettings& s,
                      UtteranceMarks& result, std::string& problem) {
    Waveform wave;
    if (!LoadRecording(u.wavPath, wave, problem)) return false;
    if (!u.labels.empty() && u.labels.back().end > wave.Duration() + kLabelOverrun) {
        problem = u.labPath + ":" + std::to_string(u.labels.back().line) + ": the labels run to " +
                  std::to_string(u.labels.back().end) + " s, past the end of " + u.wavPath + " (" +
                  std::to_string(wave.Duration()) + " s)";
        return false;
    }
    PitchTrack pitch = TrackPitch(wave, s.pitch);
    std::vector<float> residual = LpResidual(wave, s.residual);
    if (s.invertResidual)
        for (float& v : residual) v = -v;
    result.rate = wave.rate;
    result.marks = FindPitchMarks(residual, pitch, s.marks);
    MarkAgreement agreement = CompareWithTrack(result.marks, pitch);
    result.intervals = agreement.intervals;
    result.intervalsWithin = agreement.withinTolerance;

    std::vector<TimedPhone> phones;
    for (size_t k = 0; k < u.labels.size(); ++k)
        phones.push_back(
            {segmentClass[k], u.labels[k].start, std::min(u.labels[k].end, wave.Duration())});
    FrameFeatures features = ComputeFrameFeatures(wave);
    RefineBoundaries(phones, features, pitch, result.marks, s.refine);

    std::vector<int16_t> pcm;
    pcm.reserve(wave.samples.size());
    for (float v : wave.samples) pcm.push_back(ToPcm16(v));
    // The cutting pass takes the speaker's period where a unit has no pulses;
    // here an utterance's own median f0 stands in for it.
    const double speakerPeriod = wave.rate / VoicedMedian(pitch);
    for (Instance& in : instances) {
        const TimedPhone& p = phones[size_t(u.segmentOf[size_t(in.position)])];
        in.start = p.start;
        in.end = p.end;
        Measure(in, pitch, features, result.marks);
        MeasureEdges(in, wave, features, pcm, result.marks, speakerPeriod);
    }
    MeasureNaturalBoundaries(u, instances, wave);
    return true;
}

}  // namespace vox::voicebuild
