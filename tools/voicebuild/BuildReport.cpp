#include "tools/voicebuild/BuildReport.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "tools/voicebuild/JoinQuality.h"

namespace vox::voicebuild {

namespace {

std::string Format(const char* format, double a, double b = 0.0) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// Bins of the instance counts per name.
struct Bin {
    size_t from, to;
    const char* label;
};
constexpr Bin kBins[] = {
    {1, 1, "1"}, {2, 4, "2-4"}, {5, 19, "5-19"}, {20, 99, "20-99"}, {100, size_t(-1), ">=100"}};

void WriteUnits(std::ostream& out, const BuildSummary& s) {
    size_t vowels = 0, samples = 0, copies = 0;
    size_t bins[std::size(kBins)] = {};
    for (const UnitLine& u : s.units) {
        vowels += u.vowel;
        samples += u.samples;
        if (!u.copyOf.empty()) {
            ++copies;
            continue;
        }
        for (size_t b = 0; b < std::size(kBins); ++b)
            if (u.instances >= kBins[b].from && u.instances <= kBins[b].to) ++bins[b];
    }
    out << "units: " << s.units.size() << " names (" << vowels << " vowel, "
        << s.units.size() - vowels << " consonant; " << copies << " copies), " << samples
        << " samples = " << Format("%.1f s at 22050 Hz", double(samples) / 22050.0) << "\n";
    out << "names by instances in the corpus:";
    for (size_t b = 0; b < std::size(kBins); ++b)
        out << " " << kBins[b].label << ": " << bins[b] << ";";
    out << "\n";
}

void WriteFallbacks(std::ostream& out, const FallbackPlan& f) {
    out << "fixed substitute targets of the module: " << f.targets.size() << "; filled with copies "
        << f.fill.size() << "; missing " << f.missing.size() << "\n";
    for (const auto& [target, source] : f.fill)
        out << "  filled: " << target << " <- " << source << "\n";
    for (const std::string& m : f.missing)
        out << "  MISSING: " << m << " (no unit of its phoneme)\n";
}

void WriteCuts(std::ostream& out, const CutCounts& c) {
    out << "cuts: " << c.units << " units; edges at period starts " << c.periodStartEdges
        << ", at quiet rising zero crossings " << c.lowAmplitudeEdges << ", without a crossing "
        << c.edgesWithoutCrossing << "; too short for their crossings " << c.tooShort << ", silent "
        << c.silent << ", clipped " << c.clipped << "\n";
    out << "edges within one pitch period of their label boundary: " << c.edgesWithinPeriod
        << " of " << 2 * c.units;
    if (!c.farthest.empty())
        out << " (farthest " << Format("%.2f periods", c.farthestShift) << ", " << c.farthest << ")";
    out << "\n";
    for (const std::string& p : c.problems) out << "  cut: " << p << "\n";
}

}  // namespace

std::string BuildReportText(const BuildSummary& s) {
    std::ostringstream out;
    out << "Voice build report\n"
        << "corpus: " << s.corpus << "\n"
        << "voice: " << s.output << "\n"
        << "phonetic module: " << s.module << "\n"
        << "utterances: " << s.utterancesListed << " listed, " << s.utterancesUsed << " used, "
        << s.skipped.size() << " skipped\n";
    for (const std::string& p : s.skipped) out << "  skipped: " << p << "\n";
    if (s.holdOutEvery > 0) {
        out << "held out (one prompt in " << s.holdOutEvery << "; " << s.heldOut.size()
            << " utterances, not in the units or the prosody fit):";
        for (const std::string& id : s.heldOut) out << " " << id;
        out << "\n";
    }
    for (const std::string& w : s.warnings) out << "  note: " << w << "\n";
    out << "stress of words: from the prompt " << s.stress.prompt << ", dictionary "
        << s.stress.dictionary << ", written yo " << s.stress.yo << ", none " << s.stress.none
        << "\n";
    out << "alignment of transcription and labels: mean cost "
        << Format("%.3f per phone, worst %.3f", s.meanAlignCost, s.worstAlignCost) << " ("
        << s.worstAlignId << ")\n";
    double share =
        s.markIntervals ? 100.0 * double(s.markIntervalsWithin) / double(s.markIntervals) : 0.0;
    out << "pitch marks: " << Format("%.2f %%", share) << " of " << s.markIntervals
        << " intervals between neighbouring marks in voiced speech lie within +-20 % of the YIN "
           "period\n"
        << "  (voiced: both marks and the midpoint in frames YIN calls voiced; period = rate / f0 "
           "at the "
           "midpoint)\n";
    out << "residual polarity: " << (s.residualInverted ? "inverted" : "as recorded") << "\n";
    out << "speaker f0: median " << Format("%.1f Hz", s.speakerF0) << "\n";
    out << "intonation range: " << s.rangeLowHz << "," << s.rangeHighHz
        << " Hz (2nd to 98th percentile of the vowels' f0; voxamen voice add --prosody)\n";
    WriteUnits(out, s);
    WriteFallbacks(out, s.fallbacks);
    const Coverage& c = s.coverage;
    const double requests = double(std::max<size_t>(1, c.Requests()));
    out << "coverage of the corpus prompts (split at punctuation): " << c.Requests()
        << " requests, " << Format("%.2f %% direct, ", 100.0 * double(c.direct) / requests)
        << Format("%.2f %% via substitute, ", 100.0 * double(c.substitute) / requests)
        << Format("%.2f %% missing", 100.0 * double(c.missing) / requests) << "\n";
    WriteCuts(out, s.cuts);
    out << "build time: " << Format("%.1f s", s.seconds) << "\n\n";
    out << "unit\tinstances\tfrom\tpenalty\tsamples\n";
    for (const UnitLine& u : s.units) {
        out << u.name << "\t" << u.instances << "\t"
            << (u.copyOf.empty() ? u.utterance : "copy of " + u.copyOf) << "\t"
            << Format("%.2f", u.penalty) << "\t" << u.samples << "\n";
    }
    if (!s.naturalDistances.empty()) out << "\n" << NaturalDistanceSection(s.naturalDistances);
    return out.str();
}

}  // namespace vox::voicebuild
