#include "tools/voicebuild/VoiceBuilder.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>

#include "platform/FileText.h"
#include "platform/Text.h"
#include "tools/voicebuild/HeldOut.h"
#include "tools/voicebuild/InstanceSelector.h"
#include "tools/voicebuild/JoinQuality.h"
#include "tools/voicebuild/Notice.h"
#include "tools/voicebuild/ParallelFor.h"
#include "tools/voicebuild/PhoneMap.h"
#include "tools/voicebuild/PromptReader.h"
#include "tools/voicebuild/ProsCfgWriter.h"
#include "tools/voicebuild/ProsodyFitter.h"
#include "tools/voicebuild/UnitCutter.h"
#include "tools/voicebuild/UtterancePreparer.h"
#include "tools/voicebuild/VoiceCoverage.h"
#include "tools/voicebuild/VoiceOutput.h"
#include "tools/voicedb/Resample.h"
#include "tools/voicedb/Wav.h"

namespace vox::voicebuild {

namespace fs = std::filesystem;

namespace {

constexpr size_t kPolaritySamples = 10;  // recordings that decide the residual's polarity
constexpr size_t kHeaderTextMax = 127;

// Everything the text pass produced, kept for the later passes.
struct Corpus {
    std::vector<PreparedUtterance> utterances;
    std::vector<std::vector<SoundClass>> segmentClasses;
    std::vector<std::vector<Instance>> instances;  // per utterance
};

// A log that serialises the workers' calls.
class SharedLog {
  public:
    explicit SharedLog(BuildLog& log) : log_(log) {}
    void Progress(const std::string& stage, size_t total) {
        std::lock_guard lock(mutex_);
        log_.Progress(stage, ++done_[stage], total);
    }
    void Problem(const std::string& text) {
        std::lock_guard lock(mutex_);
        log_.Problem(text);
    }

  private:
    BuildLog& log_;
    std::mutex mutex_;
    std::map<std::string, size_t> done_;
};

// Inputs every build needs; false with `error`.
struct Inputs {
    std::vector<Prompt> prompts;
    std::optional<PhoneMap> phoneMap;
    std::optional<StressDictionary> dictionary;
    std::string licence;
};

bool ReadInputs(const BuildOptions& o, Inputs& in, BuildSummary& summary, std::string& error) {
    const std::string promptPath = (fs::path(o.corpusDir) / "etc" / "txt.done.data").string();
    std::optional<std::vector<Prompt>> prompts = ReadPrompts(promptPath, summary.skipped);
    if (!prompts) {
        error = promptPath + ": cannot be read (is " + o.corpusDir +
                " a corpus in the festvox layout?)";
        return false;
    }
    in.prompts = std::move(*prompts);
    summary.utterancesListed = in.prompts.size() + summary.skipped.size();
    if (in.prompts.empty()) {
        error = promptPath + ": the corpus lists no usable utterances";
        return false;
    }
    in.phoneMap = PhoneMap::Load(o.phoneMapPath, error);
    if (!in.phoneMap) return false;
    if (!o.dictionaryPath.empty()) {
        in.dictionary = StressDictionary::Load(o.dictionaryPath, summary.warnings);
        if (!in.dictionary) {
            error = o.dictionaryPath + ": cannot be read";
            return false;
        }
    }
    if (!o.licencePath.empty()) {
        std::optional<std::string> text = ReadWholeFile(o.licencePath);
        if (!text) {
            error = o.licencePath + ": cannot be read";
            return false;
        }
        in.licence = LicenceText(*text);
    }
    return true;
}

Corpus PrepareText(const BuildOptions& o, const Inputs& in, const ModuleClient& module,
                   SharedLog& log, BuildSummary& summary) {
    PreparationSettings settings;
    settings.promptPath = (fs::path(o.corpusDir) / "etc" / "txt.done.data").string();
    settings.phoneMap = &*in.phoneMap;
    settings.dictionary = in.dictionary ? &*in.dictionary : nullptr;
    settings.module = &module;
    settings.promptMarks = o.promptMarks;
    settings.maxAlignCostPerPhone = o.maxAlignCostPerPhone;
    Corpus corpus;
    for (const Prompt& p : in.prompts) {
        const std::string wav = (fs::path(o.corpusDir) / "wav" / (p.id + ".wav")).string();
        const std::string lab = (fs::path(o.corpusDir) / "lab" / (p.id + ".lab")).string();
        std::string problem;
        std::error_code ec;
        std::optional<PreparedWithInstances> prepared;
        if (!fs::exists(wav, ec))
            problem = wav + ": missing";
        else
            prepared =
                PrepareUtterance(p, wav, lab, settings, summary.stress, problem, summary.warnings);
        log.Progress("preparing", in.prompts.size());
        if (!prepared) {
            summary.skipped.push_back(p.id + ": " + problem);
            log.Problem("skipped " + p.id + ": " + problem);
            continue;
        }
        corpus.utterances.push_back(std::move(prepared->utterance));
        corpus.segmentClasses.push_back(std::move(prepared->segmentClass));
        corpus.instances.push_back(std::move(prepared->instances));
    }
    return corpus;
}

// The polarity of the glottal pulses in the LP residual, from a few
// recordings spread over the corpus.
bool ResidualIsInverted(const Corpus& corpus, const AnalysisSettings& settings, unsigned jobs) {
    const size_t n = std::min(kPolaritySamples, corpus.utterances.size());
    std::vector<double> skew(n, 0.0);
    ParallelFor(n, jobs, [&](size_t k) {
        Waveform wave;
        std::string ignored;
        size_t index = k * corpus.utterances.size() / n;
        if (LoadRecording(corpus.utterances[index].wavPath, wave, ignored))
            skew[k] = ResidualSkewness(wave, settings);
    });
    double sum = 0.0;
    for (double s : skew) sum += s;
    return sum < 0.0;
}

// Moves utterance i of `from` (with its marks) to the end of `to`.
void MoveUtterance(Corpus& from, std::vector<UtteranceMarks>& fromMarks, size_t i, Corpus& to,
                   std::vector<UtteranceMarks>& toMarks) {
    to.utterances.push_back(std::move(from.utterances[i]));
    to.segmentClasses.push_back(std::move(from.segmentClasses[i]));
    to.instances.push_back(std::move(from.instances[i]));
    toMarks.push_back(std::move(fromMarks[i]));
}

// Pass 2; utterances that fail are dropped from the corpus.
std::vector<UtteranceMarks> AnalyseSignals(Corpus& corpus, const BuildOptions& o, bool inverted,
                                           SharedLog& log, BuildSummary& summary) {
    AnalysisSettings settings = o.analysis;
    settings.invertResidual = inverted;
    const size_t n = corpus.utterances.size();
    std::vector<UtteranceMarks> marks(n);
    std::vector<std::string> problems(n);
    std::vector<char> ok(n, 0);
    ParallelFor(n, o.jobs, [&](size_t i) {
        ok[i] = AnalyseUtterance(corpus.utterances[i], corpus.segmentClasses[i],
                                 corpus.instances[i], settings, marks[i], problems[i]);
        if (!ok[i]) log.Problem("skipped " + corpus.utterances[i].id + ": " + problems[i]);
        log.Progress("analysing", n);
    });
    Corpus kept;
    std::vector<UtteranceMarks> keptMarks;
    for (size_t i = 0; i < n; ++i) {
        if (!ok[i]) {
            summary.skipped.push_back(corpus.utterances[i].id + ": " + problems[i]);
            continue;
        }
        MoveUtterance(corpus, marks, i, kept, keptMarks);
    }
    corpus = std::move(kept);
    return keptMarks;
}

HeldOutSyntagma HeldOutOf(const PreparedUtterance& u, const FitSyntagma& s) {
    HeldOutSyntagma h{u.id, u.wavPath, s.mark, s.phonemes, s.starts, s.starts};
    for (size_t i = 0; i < s.seconds.size(); ++i) h.ends[i] += std::max(0.0, s.seconds[i]);
    return h;
}

// Moves every `every`-th prompt's utterance out of the corpus (before its
// instances are flattened): it takes no part in unit selection or the prosody
// fit, and its syntagmas, with their times in the recording, are returned for
// "held-out.txt".
std::vector<HeldOutSyntagma> HoldOut(Corpus& corpus, std::vector<UtteranceMarks>& marks,
                                     const Inputs& in, size_t every, BuildSummary& summary) {
    std::vector<HeldOutSyntagma> held;
    summary.holdOutEvery = every;
    if (every == 0) return held;
    std::map<std::string, const Prompt*> heldPrompts;
    for (size_t i = 0; i < in.prompts.size(); ++i)
        if (IsHeldOut(i, every)) heldPrompts[in.prompts[i].id] = &in.prompts[i];
    Corpus kept;
    std::vector<UtteranceMarks> keptMarks;
    for (size_t u = 0; u < corpus.utterances.size(); ++u) {
        const PreparedUtterance& utterance = corpus.utterances[u];
        auto prompt = heldPrompts.find(utterance.id);
        if (prompt != heldPrompts.end()) {
            summary.heldOut.push_back(utterance.id);
            for (const FitSyntagma& s :
                 SplitAtPauses(utterance, corpus.instances[u], prompt->second->text))
                held.push_back(HeldOutOf(utterance, s));
            continue;
        }
        MoveUtterance(corpus, marks, u, kept, keptMarks);
    }
    corpus = std::move(kept);
    marks = std::move(keptMarks);
    return held;
}

// One flat instance list with utterance indices and global instanceOf.
std::vector<Instance> Flatten(Corpus& corpus) {
    std::vector<Instance> all;
    for (size_t u = 0; u < corpus.utterances.size(); ++u) {
        const int offset = int(all.size());
        for (int& i : corpus.utterances[u].instanceOf)
            if (i >= 0) i += offset;
        for (Instance& in : corpus.instances[u]) {
            in.utterance = int(u);
            all.push_back(std::move(in));
        }
    }
    return all;
}

// The `fraction` quantile of the vowels' f0 (`fallback` without any).
double VowelF0Quantile(const std::vector<Instance>& all, double fraction, double fallback) {
    std::vector<float> f0;
    for (const Instance& in : all)
        if (IsVowelClass(in.cls) && in.f0 > 0.0f) f0.push_back(in.f0);
    if (f0.empty()) return fallback;
    size_t k = std::min(f0.size() - 1, size_t(fraction * double(f0.size())));
    std::nth_element(f0.begin(), f0.begin() + long(k), f0.end());
    return f0[k];
}

// The speaker's intonation range: the 2nd to 98th percentile of the vowels'
// f0, whole hertz, inside the analysis range; the intonation files are
// written relative to it and the voice's settings must name the same range.
void SpeakerRange(const std::vector<Instance>& all, const BuildOptions& o, BuildSummary& s) {
    const double minF0 = o.analysis.pitch.minF0, maxF0 = o.analysis.pitch.maxF0;
    double low = std::floor(VowelF0Quantile(all, 0.02, minF0));
    double high = std::ceil(VowelF0Quantile(all, 0.98, maxF0));
    low = std::clamp(low, minF0, maxF0);
    high = std::clamp(high, minF0, maxF0);
    if (high - low < 10.0) low = minF0, high = maxF0;  // too few or too flat to trust
    s.rangeLowHz = int(low);
    s.rangeHighHz = int(high);
}

void CountCut(const CutUnit& c, CutCounts& counts) {
    ++counts.units;
    counts.edgesWithoutCrossing += size_t(c.edgesWithoutCrossing);
    for (CutKind k : {c.startKind, c.endKind}) {
        counts.periodStartEdges += k == CutKind::PeriodStart;
        counts.lowAmplitudeEdges += k == CutKind::LowAmplitude;
    }
    for (auto [edge, shift] : {std::pair{"start", c.startShift}, {"end", c.endShift}}) {
        counts.edgesWithinPeriod += shift <= 1.0;
        if (shift > 1.0) {
            char text[64];
            std::snprintf(text, sizeof text, ": %s %.2f periods from its label boundary", edge,
                          shift);
            counts.problems.push_back(c.unit.name + text);
        }
        if (shift > counts.farthestShift) counts.farthestShift = shift, counts.farthest = c.unit.name;
    }
    if (c.tooShort) counts.problems.push_back(c.unit.name + ": too short for its crossings");
    if (c.silent) counts.problems.push_back(c.unit.name + ": silent");
    if (c.clipped) counts.problems.push_back(c.unit.name + ": clipped");
    if (c.edgesWithoutCrossing > 0 && !c.tooShort)
        counts.problems.push_back(c.unit.name + ": " + std::to_string(c.edgesWithoutCrossing) +
                                  " edge(s) without a rising zero crossing");
    counts.tooShort += c.tooShort;
    counts.silent += c.silent;
    counts.clipped += c.clipped;
}

// Pass 4: each utterance holding chosen instances is resampled once and cut.
std::map<std::string, CutUnit> CutUnits(const Corpus& corpus,
                                        const std::vector<UtteranceMarks>& marks,
                                        const std::vector<Instance>& all,
                                        const std::vector<NameChoice>& choices, double speakerF0,
                                        const BuildOptions& o, SharedLog& log,
                                        BuildSummary& summary) {
    std::map<int, std::vector<int>> byUtterance;
    for (const NameChoice& c : choices)
        byUtterance[all[size_t(c.instance)].utterance].push_back(c.instance);
    std::vector<std::pair<int, std::vector<int>>> work(byUtterance.begin(), byUtterance.end());
    std::vector<std::vector<CutUnit>> cuts(work.size());
    std::vector<std::string> problems(work.size());
    const int rate = int(voicedb::kDatabaseRate);
    ParallelFor(work.size(), o.jobs, [&](size_t w) {
        const auto& [u, chosen] = work[w];
        voicedb::WavAudio audio;
        std::vector<int16_t> resampled;
        if (!voicedb::ReadWav(corpus.utterances[size_t(u)].wavPath, audio, problems[w]) ||
            !voicedb::Resample(audio.samples, audio.sampleRate, voicedb::kDatabaseRate, resampled,
                               problems[w])) {
            log.Problem(problems[w]);
            return;
        }
        std::vector<long> scaled =
            ScaleMarkPositions(marks[size_t(u)].marks, marks[size_t(u)].rate, rate);
        for (int i : chosen)
            cuts[w].push_back(
                CutInstance(resampled, scaled, rate, all[size_t(i)], rate / speakerF0));
        log.Progress("cutting", work.size());
    });
    std::map<std::string, CutUnit> units;
    for (size_t w = 0; w < work.size(); ++w) {
        if (!problems[w].empty())
            summary.warnings.push_back("units of " + corpus.utterances[size_t(work[w].first)].id +
                                       " lost: " + problems[w]);
        for (CutUnit& c : cuts[w]) {
            if (c.unit.samples.empty()) {
                summary.warnings.push_back("unit " + c.unit.name +
                                           ": its instance cut to nothing; left out");
                continue;
            }
            CountCut(c, summary.cuts);
            std::string name = c.unit.name;
            units.emplace(std::move(name), std::move(c));
        }
    }
    return units;
}

std::string FolderName(const std::string& dir) {
    fs::path p = fs::path(dir).lexically_normal();
    return p.filename().empty() ? p.parent_path().filename().string() : p.filename().string();
}

// The rate of the recordings, 0 when they differ.
int SourceRate(const std::vector<UtteranceMarks>& marks) {
    for (const UtteranceMarks& m : marks)
        if (m.rate != marks.front().rate) return 0;
    return marks.empty() ? 0 : marks.front().rate;
}

std::string Clip(std::string text) {
    if (text.size() > kHeaderTextMax) text.resize(kHeaderTextMax);
    return text;
}

// The second header text: the licence's first line (its copyright notice),
// blanks collapsed, marked as modified.
std::string Attribution(const std::string& licence) {
    std::istringstream in(licence);
    for (std::string line; std::getline(in, line);) {
        std::string collapsed;
        for (char c : Trim(line)) {
            if (c == '\t') c = ' ';
            if (c != ' ' || (!collapsed.empty() && collapsed.back() != ' ')) collapsed += c;
        }
        if (!collapsed.empty()) return Clip(collapsed + "; modified, see NOTICE");
    }
    return "Derived data; see NOTICE for the corpus licence and the modifications";
}

Coverage PromptCoverage(const Inputs& inputs, const std::map<std::string, CutUnit>& units,
                        const ModuleClient& module, PromptMarks marks) {
    std::set<std::string> names;
    for (const auto& [name, cut] : units) names.insert(name);
    Coverage coverage;
    const StressDictionary* dictionary = inputs.dictionary ? &*inputs.dictionary : nullptr;
    for (const Prompt& p : inputs.prompts)
        MeasureCoverage(p.text, names, module, dictionary, marks, coverage);
    return coverage;
}

// Rhythmics, intonation and loudness fitted to the corpus and the units.
FittedProsody FitCorpusProsody(const Corpus& corpus, const std::vector<Instance>& all,
                               const Inputs& inputs, const std::map<std::string, CutUnit>& units,
                               const ModuleClient& module, const BuildSummary& summary) {
    std::map<std::string, std::string> promptText;
    for (const Prompt& p : inputs.prompts) promptText[p.id] = p.text;
    std::map<std::string, const Unit*> unitOf;
    FitInput in;
    for (const auto& [name, cut] : units) {
        unitOf[name] = &cut.unit;
        if (std::optional<std::string> basic = module.BasicAllophone(name)) in.basic[name] = *basic;
    }
    for (const PreparedUtterance& u : corpus.utterances)
        for (FitSyntagma& s : UtteranceSyntagmas(u, all, promptText[u.id], module))
            in.syntagmas.push_back(std::move(s));
    in.units = &unitOf;
    in.lowHz = summary.rangeLowHz;
    in.highHz = summary.rangeHighHz;
    in.speakerF0 = summary.speakerF0;
    return FitProsody(in);
}

}  // namespace

BuildResult BuildVoice(const BuildOptions& o, const ModuleClient& module, BuildLog& baseLog) {
    const auto started = std::chrono::steady_clock::now();
    BuildResult result;
    BuildSummary& summary = result.summary;
    summary.corpus = o.corpusDir;
    summary.output = o.outputDir;
    summary.module = o.moduleName;
    SharedLog log(baseLog);
    std::error_code ec;
    if (fs::exists(o.outputDir, ec) && !o.replace) {
        result.error = o.outputDir + " already exists (replace it with --force)";
        return result;
    }
    Inputs inputs;
    if (!ReadInputs(o, inputs, summary, result.error)) return result;
    for (const std::string& p : summary.skipped) log.Problem("skipped: " + p);

    Corpus corpus = PrepareText(o, inputs, module, log, summary);
    summary.residualInverted = ResidualIsInverted(corpus, o.analysis, o.jobs);
    std::vector<UtteranceMarks> marks =
        AnalyseSignals(corpus, o, summary.residualInverted, log, summary);
    summary.utterancesUsed = corpus.utterances.size();
    if (corpus.utterances.empty()) {
        result.error = "no utterance of " + o.corpusDir + " could be used (see the problems above)";
        return result;
    }
    for (size_t u = 0; u < corpus.utterances.size(); ++u) {
        summary.markIntervals += marks[u].intervals;
        summary.markIntervalsWithin += marks[u].intervalsWithin;
        double cost = corpus.utterances[u].alignCostPerPhone;
        summary.meanAlignCost += cost / double(corpus.utterances.size());
        if (cost >= summary.worstAlignCost)
            summary.worstAlignCost = cost, summary.worstAlignId = corpus.utterances[u].id;
    }

    const std::vector<HeldOutSyntagma> heldOut = HoldOut(corpus, marks, inputs, o.holdOut, summary);
    summary.utterancesUsed = corpus.utterances.size();
    if (corpus.utterances.empty()) {
        result.error =
            "--hold-out " + std::to_string(o.holdOut) + " leaves no utterance to build from";
        return result;
    }
    std::vector<Instance> all = Flatten(corpus);
    for (const Instance& in : all)
        if (in.distanceToNext >= 0.0f)
            summary.naturalDistances[PairKey(in.phoneme, in.nextPhoneme)].push_back(
                in.distanceToNext);
    summary.speakerF0 = VowelF0Quantile(all, 0.5, 150.0);
    SpeakerRange(all, o, summary);
    const std::vector<Instance> options = WithCutVariants(all);
    std::vector<NameChoice> choices = SelectInstances(options, corpus.utterances);
    std::map<std::string, CutUnit> units =
        CutUnits(corpus, marks, options, choices, summary.speakerF0, o, log, summary);

    std::map<std::string, SoundClass> classOf;
    std::map<std::string, size_t> instanceCount;
    for (const NameChoice& c : choices) {
        if (!units.count(c.name)) continue;
        const Instance& chosen = options[size_t(c.instance)];
        classOf[c.name] = chosen.cls;
        instanceCount[c.name] = c.candidates;
        summary.units.push_back({c.name, c.candidates,
                                 corpus.utterances[size_t(chosen.utterance)].id, "", c.penalty,
                                 units.at(c.name).unit.samples.size(), IsVowelClass(chosen.cls)});
    }
    summary.fallbacks = PlanFallbacks(module, instanceCount);
    for (const auto& [target, source] : summary.fallbacks.fill) {
        CutUnit copy = units.at(source);
        copy.unit.name = target;
        units.emplace(target, std::move(copy));
        classOf[target] = classOf.at(source);
        summary.units.push_back({target, 0, "", source, 0.0, units.at(target).unit.samples.size(),
                                 IsVowelClass(classOf.at(target))});
    }
    for (const std::string& m : summary.fallbacks.missing)
        log.Problem("missing substitute target " + m);

    VoiceFiles files;
    files.headerFirst = Clip("Built by voxamen voice build from " + FolderName(o.corpusDir));
    files.headerSecond = Attribution(inputs.licence);
    for (auto& [name, cut] : units) files.units.push_back(cut.unit);
    files.prosCfg = ProsCfgText(ReferenceEntries(units, classOf, summary.speakerF0));
    FittedProsody prosody = FitCorpusProsody(corpus, all, inputs, units, module, summary);
    files.rhytmics = std::move(prosody.rhytmics);
    files.intonation = std::move(prosody.intonation);
    files.intonationNew = std::move(prosody.intonationNew);
    files.amp = std::move(prosody.amp);
    if (o.holdOut > 0) files.heldOut = HeldOutText(heldOut);
    summary.coverage = PromptCoverage(inputs, units, module, o.promptMarks);
    NoticeFacts facts{o.corpusDir,  inputs.licence,    o.licencePath,
                      o.moduleName, SourceRate(marks), int(voicedb::kDatabaseRate)};
    files.notice = NoticeText(facts);
    summary.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    files.report = BuildReportText(summary);
    if (!WriteVoiceFolder(o.outputDir, files, o.replace, result.error)) return result;
    result.ok = true;
    return result;
}

}  // namespace vox::voicebuild
