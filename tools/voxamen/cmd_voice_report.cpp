// voxamen voice report VOICE --text FILE [--joins]: coverage of a voice
// against a text, and with --joins how clean the voice's joins are on
// phrases of that text; with --prosody, its prosody against the recordings
// its build held out (cmd_voice_report_prosody.cpp).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "engine/voice/Allobase.h"
#include "platform/FileText.h"
#include "platform/Text.h"
#include "tools/voicebuild/JoinPhrases.h"
#include "tools/voicebuild/JoinQuality.h"
#include "tools/voicebuild/PromptReader.h"
#include "tools/voicebuild/VoiceBuilder.h"
#include "tools/voicebuild/VoiceCoverage.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"
#include "tools/voxamen/Table.h"

namespace vox::cli {

namespace {

constexpr const char* kReportUsage =
    "usage: voxamen voice report VOICE --text FILE [--module 419.1] [--dict FILE]\n"
    "                            [--prompt-stress after|before] [--top N] [--joins]\n"
    "  Coverage of a voice against a text: the text is split into syntagmas at\n"
    "  punctuation, stressed, transcribed and named by the phonetic module, and each\n"
    "  allophone request is counted as served directly, through the module's\n"
    "  substitute, or missing (silence).\n"
    "  VOICE                   a voice folder (its voice.abs) or an \"abs.07\" file\n"
    "  --text FILE             UTF-8 text; a festvox prompt file is read as its prompts\n"
    "  --module NAME           the voice's phonetic module (default 419.1)\n"
    "  --dict FILE             stress dictionary for words without a \"+\" mark\n"
    "  --prompt-stress WHERE   \"+\" \"after\" (default) or \"before\" the stressed vowel\n"
    "  --top N                 list the N names most often substituted or missing (default 10)\n"
    "  --joins                 also measure the joins, spoken as with prosody off, on a fixed\n"
    "                          set of the text's syntagmas covering every sound-class pair:\n"
    "                          clicks (energy above 7.5 kHz at the join >= 12 dB over the\n"
    "                          phrase median), spikes (> 20 dB), dips (< -10 dB), spectral\n"
    "                          distance against the voice's natural boundaries (from its\n"
    "                          build-report.txt), and the N loudest joins\n"
    "\n"
    "usage: voxamen voice report VOICE --prosody --voice KEY [--f0-min HZ] [--f0-max HZ]\n"
    "                            [--details]\n"
    "  The installed voice KEY (built from VOICE with --hold-out N) speaks each held-out\n"
    "  syntagma of VOICE/held-out.txt from its own phonemes and mark; per phoneme its\n"
    "  duration, and per frame mapped phoneme by phoneme onto the recording its f0\n"
    "  (semitones, frames voiced in both) and energy contour are compared: RMSE and\n"
    "  correlation. --f0-min/--f0-max bound the pitch tracker (default 60 and 400 Hz);\n"
    "  --details adds a line per syntagma\n";

std::string Percent(size_t part, size_t whole) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f %%", whole ? 100.0 * double(part) / double(whole) : 0.0);
    return text;
}

// The texts of a file: a festvox prompt file gives its prompts, any other
// file its lines.
std::vector<std::string> Texts(const std::string& content, const std::string& path) {
    std::vector<std::string> problems;
    std::vector<voicebuild::Prompt> prompts = voicebuild::ParsePrompts(content, path, problems);
    std::vector<std::string> texts;
    if (!prompts.empty() && problems.empty()) {
        for (voicebuild::Prompt& p : prompts) texts.push_back(std::move(p.text));
        return texts;
    }
    std::istringstream in(content);
    for (std::string line; std::getline(in, line);)
        if (!Trim(line).empty()) texts.push_back(line);
    return texts;
}

void PrintTop(std::ostream& out, const char* title, const std::map<std::string, size_t>& counts,
              size_t top) {
    if (counts.empty() || top == 0) return;
    std::vector<std::pair<std::string, size_t>> sorted(counts.begin(), counts.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    out << title;
    for (size_t i = 0; i < std::min(top, sorted.size()); ++i)
        out << (i ? ", " : " ") << sorted[i].first << " (" << sorted[i].second << ")";
    out << "\n";
}

std::string Decibels(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dB", value);
    return text;
}

void PrintJoinList(std::ostream& out, const char* title,
                   const std::vector<voicebuild::JoinMeasure>& joins,
                   double voicebuild::JoinMeasure::*figure) {
    if (joins.empty()) return;
    out << title;
    for (size_t i = 0; i < joins.size(); ++i)
        out << (i ? ", " : " ") << joins[i].left << "|" << joins[i].right << " ("
            << Decibels(joins[i].*figure) << ")";
    out << "\n";
}

void PrintJoins(std::ostream& out, const voicebuild::JoinFigures& f) {
    out << "joins (prosody off): " << f.joins << " between sounds in " << f.phrases << " phrases\n";
    Table table({"joins", "count", "share"});
    table.Add(
        {"click (>= 12 dB above 7.5 kHz)", std::to_string(f.clicks), Percent(f.clicks, f.joins)});
    table.Add({"spike (> 20 dB)", std::to_string(f.spikes), Percent(f.spikes, f.joins)});
    table.Add({"dip (< -10 dB)", std::to_string(f.dips), Percent(f.dips, f.joins)});
    table.Print(out);
    out << "loudest burst: " << Decibels(f.maxBurstDb) << "; deepest dip: " << Decibels(f.minDipDb)
        << "\n";
    out << "spectral distance across joins: median " << Decibels(f.medianDistance);
    if (f.naturalMedian >= 0.0)
        out << "; natural boundaries of the same phone pairs: median " << Decibels(f.naturalMedian)
            << " (" << f.pairsWithReference << " joins with a reference)";
    else
        out << "; no natural reference (build-report.txt without natural boundaries)";
    out << "\n";
    Table kinds({"by kind", "joins", "median", "natural"});
    for (const voicebuild::JoinKindDistance& k : f.kinds)
        kinds.Add({k.kind, std::to_string(k.joins), Decibels(k.median),
                   k.naturalMedian >= 0.0 ? Decibels(k.naturalMedian) : "-"});
    kinds.Print(out);
    PrintJoinList(out, "loudest joins:", f.worst, &voicebuild::JoinMeasure::burstDb);
    PrintJoinList(out, "deepest dips:", f.deepest, &voicebuild::JoinMeasure::dipDb);
}

}  // namespace

int RunProsodyReport(const Invocation& inv, const Options& opts);

int RunVoiceReport(const Invocation& inv, const std::vector<std::string>& args) {
    Options opts({"text", "module", "dict", "prompt-stress", "top", "voice", "f0-min", "f0-max"},
                 {"joins", "prosody", "details"});
    std::string error;
    if (!opts.Parse(args, error)) {
        inv.err << "voxamen voice report: " << error << "\n" << kReportUsage;
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out << kReportUsage;
        return kExitOk;
    }
    if (opts.Has("prosody")) return RunProsodyReport(inv, opts);
    std::optional<long long> top = ParseInteger(opts.Get("top").value_or("10"));
    std::string where = opts.Get("prompt-stress").value_or("after");
    if (opts.Positional().size() != 1 || !opts.Get("text") || !top || *top < 0 ||
        (where != "after" && where != "before")) {
        inv.err << "voxamen voice report: a VOICE and --text FILE are required\n" << kReportUsage;
        return kExitUsage;
    }
    std::string database = opts.Positional()[0];
    std::string buildReport;
    if (std::filesystem::is_directory(database)) {
        buildReport = database + "/" + voicebuild::kReportFile;
        database += std::string("/") + voicebuild::kVoiceDatabaseFile;
    } else {
        buildReport =
            (std::filesystem::path(database).parent_path() / voicebuild::kReportFile).string();
    }
    std::optional<std::set<std::string>> names = voicebuild::ReadUnitNames(database, error);
    std::ifstream textFile(*opts.Get("text"), std::ios::binary);
    if (!names || !textFile) {
        inv.err << "voxamen voice report: "
                << (names ? *opts.Get("text") + ": cannot be read" : error) << "\n";
        return kExitFailure;
    }
    std::optional<voicebuild::StressDictionary> dictionary;
    std::vector<std::string> dictionaryProblems;
    if (opts.Get("dict")) {
        dictionary = voicebuild::StressDictionary::Load(*opts.Get("dict"), dictionaryProblems);
        if (!dictionary) {
            inv.err << "voxamen voice report: " << *opts.Get("dict") << ": cannot be read\n";
            return kExitFailure;
        }
    }
    std::optional<voicebuild::ModuleClient> module =
        voicebuild::ModuleClient::Create(opts.Get("module").value_or("419.1"), error);
    if (!module) {
        inv.err << "voxamen voice report: " << error << "\n";
        return kExitFailure;
    }
    std::ostringstream content;
    content << textFile.rdbuf();
    voicebuild::Coverage coverage;
    auto marks = where == "after" ? voicebuild::PromptMarks::AfterVowel
                                  : voicebuild::PromptMarks::BeforeVowel;
    const std::vector<std::string> texts = Texts(content.str(), *opts.Get("text"));
    for (const std::string& text : texts)
        voicebuild::MeasureCoverage(text, *names, *module, dictionary ? &*dictionary : nullptr,
                                    marks, coverage);

    const size_t requests = coverage.Requests();
    inv.out << "voice: " << database << " (" << names->size() << " units)\n"
            << "text: " << *opts.Get("text") << " (" << coverage.syntagmas << " syntagmas, "
            << coverage.problems.size() << " not transcribed)\n";
    Table table({"requests", "count", "share"});
    table.Add({"direct", std::to_string(coverage.direct), Percent(coverage.direct, requests)});
    table.Add({"via substitute", std::to_string(coverage.substitute),
               Percent(coverage.substitute, requests)});
    table.Add({"missing", std::to_string(coverage.missing), Percent(coverage.missing, requests)});
    table.Add({"all", std::to_string(requests), ""});
    table.Print(inv.out);
    PrintTop(inv.out, "most often substituted:", coverage.substituted, size_t(*top));
    PrintTop(inv.out, "most often missing:", coverage.absent, size_t(*top));
    if (!opts.Has("joins")) return kExitOk;
    Allobase base;
    if (!base.Open(database)) {
        inv.err << "voxamen voice report: " << database << ": cannot be opened\n";
        return kExitFailure;
    }
    const std::vector<voicebuild::JoinPhrase> phrases =
        voicebuild::ChooseJoinPhrases(texts, *module, dictionary ? &*dictionary : nullptr, marks);
    std::vector<voicebuild::JoinMeasure> joins;
    for (const voicebuild::JoinPhrase& p : phrases) {
        std::vector<voicebuild::JoinMeasure> j = voicebuild::MeasureJoins(
            voicebuild::RenderPhrase(p.phonemes, p.allophones, base, *module));
        joins.insert(joins.end(), j.begin(), j.end());
    }
    voicebuild::NaturalDistances natural;
    if (std::optional<std::string> reportText = ReadWholeFile(buildReport))
        natural = voicebuild::ReadNaturalDistances(*reportText);
    PrintJoins(inv.out, voicebuild::SummariseJoins(joins, phrases.size(), natural, size_t(*top)));
    return kExitOk;
}

}  // namespace vox::cli
