// voxamen voice build CORPUS -o VOICE_DIR …: a voice from a labelled corpus.
#include <cmath>
#include <cstdio>
#include <ostream>

#include "platform/Text.h"
#include "tools/voicebuild/VoiceBuilder.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"

namespace vox::cli {

namespace {

constexpr const char* kBuildUsage =
    "usage: voxamen voice build CORPUS -o VOICE_DIR --phone-map FILE [options]\n"
    "  Builds a voice folder (voice.abs, Pros.cfg, NOTICE, build-report.txt) from a\n"
    "  labelled speech corpus in the festvox layout: wav/ID.wav (mono 16-bit PCM),\n"
    "  lab/ID.lab (phone END times) and etc/txt.done.data (prompts). Bad utterances\n"
    "  are skipped and reported; the folder appears only when the build succeeded.\n"
    "  -o, --output DIR        the voice folder to create\n"
    "  --phone-map FILE        corpus phones in our phoneme terms (voices/ru-nsh/phone-map.txt)\n"
    "  --dict FILE             stress dictionary (\"MNCL\" format) for prompts without marks\n"
    "  --license FILE          the corpus licence for NOTICE (a Debian copyright file works)\n"
    "  --module NAME           phonetic module that names the units (default 419.1)\n"
    "  --prompt-stress WHERE   \"before\" (festvox, default) or \"after\" the stressed vowel\n"
    "  --f0-min HZ, --f0-max HZ  the speaker's f0 range (default 60 and 400)\n"
    "  --max-align-cost X      skip utterances whose labels fit the prompt worse (default 0.3)\n"
    "  --jobs N                worker threads (default: one per core)\n"
    "  --hold-out N            leave every N-th prompt out of the units and the prosody\n"
    "                          fit and list it in held-out.txt (voxamen voice report --prosody)\n"
    "  --force                 replace an existing voice folder\n"
    "  --quiet                 no progress output\n";

// Progress to the error stream: a line per tenth of each stage.
class StreamLog : public voicebuild::BuildLog {
  public:
    StreamLog(std::ostream& err, bool quiet) : err_(err), quiet_(quiet) {}
    void Progress(const std::string& stage, size_t done, size_t total) override {
        if (quiet_ || total == 0) return;
        if (done == total || done * 10 / total != (done - 1) * 10 / total)
            err_ << "voxamen voice build: " << stage << " " << done << "/" << total << "\n";
    }
    void Problem(const std::string& text) override {
        err_ << "voxamen voice build: " << text << "\n";
    }

  private:
    std::ostream& err_;
    bool quiet_;
};

bool NumberOption(const Options& opts, const char* name, double low, double high, double& value,
                  std::string& error) {
    std::optional<std::string> text = opts.Get(name);
    if (!text) return true;
    std::optional<double> v = ParseDouble(*text);
    if (!v || *v < low || *v > high) {
        error = std::string("--") + name + " takes a number from " + std::to_string(low) + " to " +
                std::to_string(high);
        return false;
    }
    value = *v;
    return true;
}

// Fills the options from the command line; false with `error`.
bool ReadOptions(const Options& opts, voicebuild::BuildOptions& o, std::string& error) {
    auto fail = [&](const char* why) {
        error = why;
        return false;
    };
    if (opts.Positional().size() != 1) return fail("exactly one CORPUS folder is required");
    o.corpusDir = opts.Positional()[0];
    o.outputDir = opts.Get("output").value_or(opts.Get("o").value_or(""));
    o.phoneMapPath = opts.Get("phone-map").value_or("");
    if (o.outputDir.empty() || o.phoneMapPath.empty())
        return fail("-o VOICE_DIR and --phone-map FILE are required");
    o.dictionaryPath = opts.Get("dict").value_or("");
    o.licencePath = opts.Get("license").value_or("");
    o.moduleName = opts.Get("module").value_or("419.1");
    std::string where = opts.Get("prompt-stress").value_or("before");
    if (where != "before" && where != "after")
        return fail("--prompt-stress is \"before\" or \"after\"");
    o.promptMarks = where == "before" ? voicebuild::PromptMarks::BeforeVowel
                                      : voicebuild::PromptMarks::AfterVowel;
    o.analysis.pitch.minF0 = 60.0;
    o.analysis.pitch.maxF0 = 400.0;
    double jobs = 0.0, holdOut = 0.0;
    if (!NumberOption(opts, "f0-min", 40.0, 1000.0, o.analysis.pitch.minF0, error) ||
        !NumberOption(opts, "f0-max", 40.0, 1000.0, o.analysis.pitch.maxF0, error) ||
        !NumberOption(opts, "max-align-cost", 0.0, 10.0, o.maxAlignCostPerPhone, error) ||
        !NumberOption(opts, "jobs", 0.0, 64.0, jobs, error) ||
        !NumberOption(opts, "hold-out", 0.0, 1e6, holdOut, error))
        return false;
    if (holdOut != std::floor(holdOut) || holdOut == 1.0)
        return fail("--hold-out takes a whole number of 2 or more (0: none)");
    o.holdOut = size_t(holdOut);
    if (o.analysis.pitch.minF0 >= o.analysis.pitch.maxF0)
        return fail("--f0-min must lie below --f0-max");
    o.analysis.pitch.searchMinF0 = std::min(o.analysis.pitch.searchMinF0, o.analysis.pitch.minF0);
    o.analysis.pitch.searchMaxF0 = std::max(o.analysis.pitch.searchMaxF0, o.analysis.pitch.maxF0);
    o.jobs = unsigned(jobs);
    o.replace = opts.Has("force");
    return true;
}

}  // namespace

int RunVoiceBuild(const Invocation& inv, const std::vector<std::string>& args) {
    Options opts({"o", "output", "phone-map", "dict", "license", "module", "prompt-stress",
                  "f0-min", "f0-max", "max-align-cost", "jobs", "hold-out"},
                 {"force", "quiet"});
    std::string error;
    if (!opts.Parse(args, error)) {
        inv.err << "voxamen voice build: " << error << "\n" << kBuildUsage;
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out << kBuildUsage;
        return kExitOk;
    }
    voicebuild::BuildOptions options;
    if (!ReadOptions(opts, options, error)) {
        inv.err << "voxamen voice build: " << error << "\n" << kBuildUsage;
        return kExitUsage;
    }
    std::optional<voicebuild::ModuleClient> module =
        voicebuild::ModuleClient::Create(options.moduleName, error);
    if (!module) {
        inv.err << "voxamen voice build: " << error << "\n";
        return kExitFailure;
    }
    StreamLog log(inv.err, opts.Has("quiet"));
    voicebuild::BuildResult result = voicebuild::BuildVoice(options, *module, log);
    if (!result.ok) {
        inv.err << "voxamen voice build: " << result.error << "\n";
        return kExitFailure;
    }
    const voicebuild::BuildSummary& s = result.summary;
    char figures[160];
    std::snprintf(
        figures, sizeof figures,
        "%zu units from %zu of %zu utterances in %.1f s; pitch marks %.2f %% regular; "
        "%zu substitute targets missing",
        s.units.size(), s.utterancesUsed, s.utterancesListed, s.seconds,
        s.markIntervals ? 100.0 * double(s.markIntervalsWithin) / double(s.markIntervals) : 0.0,
        s.fallbacks.missing.size());
    inv.out << "built " << options.outputDir << ": " << figures << "\n";
    return kExitOk;
}

}  // namespace vox::cli
