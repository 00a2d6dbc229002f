// Whole builds of small synthetic corpora: the voice folder and its database
// round trip, pitch marks and boundaries of the cut units, substitute targets
// filled or reported, bad utterances skipped with their file and line, and no
// half-built voice.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "platform/FileMapping.h"
#include "platform/Text.h"
#include "support/TempRegistry.h"
#include "tests/voices/FakeModule.h"
#include "tests/voices/SyntheticCorpus.h"
#include "tools/voicebuild/HeldOut.h"
#include "tools/voicebuild/ProsCfgWriter.h"
#include "tools/voicebuild/VoiceBuilder.h"
#include "tools/voicebuild/VoiceCoverage.h"
#include "tools/voicedb/Abs07Checker.h"

namespace vox::voicebuild {
namespace {

namespace fs = std::filesystem;
using test::SynthKind;
using test::SynthPhone;

constexpr double kF0 = 120.0;

class RecordingLog : public BuildLog {
  public:
    void Progress(const std::string& stage, size_t done, size_t total) override {
        if (done == total) finished.insert(stage);
    }
    void Problem(const std::string& text) override { problems.push_back(text); }
    std::set<std::string> finished;
    std::vector<std::string> problems;
};

struct UnitData {
    std::vector<int16_t> samples;
    std::vector<int32_t> marks;
};

// Every unit of a database, read back through the shared "abs.07" parser.
std::map<std::string, UnitData> ReadVoice(const std::string& path,
                                          std::string* secondText = nullptr) {
    MappedFile file;
    EXPECT_TRUE(file.Open(path));
    std::span<const uint8_t> bytes(file.Data(), file.Size());
    voicedb::CheckResult check = voicedb::CheckAbs07(bytes);
    EXPECT_TRUE(check.Sound()) << (check.defects.empty() ? "" : check.defects[0].Text());
    if (secondText) *secondText = check.index.secondText;
    std::map<std::string, UnitData> units;
    for (const abs07::Entry& e : check.index.entries) {
        UnitData& u = units[e.name];
        EXPECT_TRUE(abs07::CopySamples(bytes, e.sampleOffset, e.sampleCount, u.samples));
        EXPECT_TRUE(abs07::CopyMarks(bytes, e.markOffset, e.markCount, u.marks));
    }
    return units;
}

class VoiceBuilderTest : public ::testing::Test {
  protected:
    VoiceBuilderTest()
        : corpus_(dir_.File("corpus")), module_(test::MakeFakeModule()), client_(module_) {
        test::WriteFile(dir_.File("phones.map"), test::kTestPhoneMap);
        test::WriteFile(dir_.File("LICENSE"),
                        "Copyright (c) 2026 A. Speaker\nUse freely; keep this notice.\n");
        options_.corpusDir = corpus_.Dir();
        options_.outputDir = dir_.File("voice");
        options_.phoneMapPath = dir_.File("phones.map");
        options_.licencePath = dir_.File("LICENSE");
        options_.promptMarks = PromptMarks::AfterVowel;
        options_.analysis.pitch.minF0 = 60.0;
        options_.analysis.pitch.maxF0 = 300.0;
    }

    // "ма+ма", "са+м" and "та+м, на+с" (a pause between the two words).
    void AddStandardUtterances() {
        pause_ = {"pau", SynthKind::Pause, 0.15};
        corpus_.Add("u1", "ма+ма",
                    {pause_,
                     {"m", SynthKind::Sonorant, 0.08},
                     {"aa", SynthKind::Vowel, 0.16},
                     {"m", SynthKind::Sonorant, 0.08},
                     {"a", SynthKind::Vowel, 0.1},
                     pause_},
                    kF0);
        sam_ = corpus_.Add("u2", "са+м",
                           {pause_,
                            {"s", SynthKind::Fricative, 0.12},
                            {"aa", SynthKind::Vowel, 0.16},
                            {"m", SynthKind::Sonorant, 0.09},
                            pause_},
                           kF0);
        corpus_.Add("u3", "та+м, на+с",
                    {pause_,
                     {"t", SynthKind::Stop, 0.1},
                     {"aa", SynthKind::Vowel, 0.15},
                     {"m", SynthKind::Sonorant, 0.08},
                     pause_,
                     {"n", SynthKind::Sonorant, 0.07},
                     {"aa", SynthKind::Vowel, 0.15},
                     {"s", SynthKind::Fricative, 0.12},
                     pause_},
                    kF0);
    }

    BuildResult Build() {
        corpus_.WritePrompts();
        return BuildVoice(options_, client_, log_);
    }

    test::TempDir dir_;
    test::SyntheticCorpus corpus_;
    ComPtr<IPhonetic> module_;
    ModuleClient client_;
    BuildOptions options_;
    RecordingLog log_;
    SynthPhone pause_;
    test::RenderedSpeech sam_;
};

TEST_F(VoiceBuilderTest, WritesAVoiceFolderWhoseDatabaseRoundTrips) {
    AddStandardUtterances();
    BuildResult r = Build();
    ASSERT_TRUE(r.ok) << r.error;
    std::string second;
    for (const char* f : {kVoiceDatabaseFile, kProsCfgFile, kNoticeFile, kReportFile, kRhytmicsFile,
                          kIntonationFile, kIntonationNewFile, kAmpFile})
        EXPECT_TRUE(fs::exists(options_.outputDir + "/" + f)) << f;
    EXPECT_EQ(r.summary.utterancesUsed, 3u);
    EXPECT_TRUE(r.summary.skipped.empty());
    EXPECT_EQ(log_.finished, (std::set<std::string>{"preparing", "analysing", "cutting"}));

    std::map<std::string, UnitData> units =
        ReadVoice(options_.outputDir + "/" + kVoiceDatabaseFile, &second);
    std::set<std::string> names;
    for (const auto& [name, unit] : units) names.insert(name);
    // The fake module's names of the corpus, then the copies that fill its
    // substitute targets "A0-#", "A2-#", "N" and "T".
    const std::set<std::string> expected = {"M-A0", "A0-M", "M-A2", "A2-M", "M",    "S-A0",
                                            "A0-S", "T-A0", "A0-T", "N-A0", "A0-N", "S",
                                            "A0-#", "A2-#", "N",    "T"};
    EXPECT_EQ(names, expected);
    for (const auto& [name, unit] : units) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(unit.samples.empty());
        ASSERT_FALSE(unit.marks.empty());
        EXPECT_EQ(unit.marks[0], 0);
        EXPECT_TRUE(std::is_sorted(unit.marks.begin(), unit.marks.end()));
        EXPECT_LT(unit.marks.back(), int32_t(unit.samples.size()));
    }
    // Pros.cfg: the header, then every unit with a positive f0 and peak.
    std::vector<std::string> lines =
        SplitList(test::ReadFile(options_.outputDir + "/" + kProsCfgFile), '\n');
    ASSERT_EQ(lines.size(), units.size() + 1);
    EXPECT_EQ(Trim(lines[0]), kProsCfgHeader);
    for (size_t i = 1; i < lines.size(); ++i) {
        char name[64];
        int f0 = 0, peak = 0, length = 0;
        ASSERT_EQ(std::sscanf(lines[i].c_str(), "%63s %d %d %d", name, &f0, &peak, &length), 4)
            << lines[i];
        EXPECT_TRUE(units.count(name)) << name;
        EXPECT_GT(f0, 0);
        EXPECT_GT(peak, 0);
        EXPECT_EQ(size_t(length), units[name].samples.size());
    }
    EXPECT_EQ(second, "Copyright (c) 2026 A. Speaker; modified, see NOTICE");
    // Every request of the corpus's own prompts is served directly.
    EXPECT_EQ(r.summary.coverage.syntagmas, 4u);
    EXPECT_EQ(r.summary.coverage.direct, r.summary.coverage.Requests());
    std::string notice = test::ReadFile(options_.outputDir + "/" + kNoticeFile);
    EXPECT_NE(notice.find("Copyright (c) 2026 A. Speaker\nUse freely; keep this notice.\n"),
              std::string::npos);
    EXPECT_NE(notice.find("MODIFICATIONS"), std::string::npos);
    EXPECT_NE(notice.find("from 16000 Hz to 22050 Hz"), std::string::npos);
}

TEST_F(VoiceBuilderTest, IntonableUnitsCarryTheRecordedPeriods) {
    AddStandardUtterances();
    BuildResult r = Build();
    ASSERT_TRUE(r.ok) << r.error;
    std::map<std::string, UnitData> units =
        ReadVoice(options_.outputDir + "/" + kVoiceDatabaseFile);
    const double period = 22050.0 / kF0;  // the glide keeps periods within ±5 %
    for (const char* name : {"A0-M", "A0-S", "M-A0", "A0-N"}) {
        SCOPED_TRACE(name);
        const UnitData& u = units.at(name);
        ASSERT_GE(u.marks.size(), 5u);
        // Periods inside within 10 %; the first and last, next to another
        // sound, within 25 %.
        for (size_t i = 1; i < u.marks.size(); ++i) {
            bool edge = i == 1 || i + 1 == u.marks.size();
            EXPECT_NEAR(u.marks[i] - u.marks[i - 1], period, (edge ? 0.25 : 0.1) * period)
                << testing::PrintToString(u.marks);
        }
        EXPECT_NEAR(double(u.samples.size() - size_t(u.marks.back())), period, 0.35 * period)
            << "ends one sample before a period start";
    }
    // A voiceless unit gets the engine's even marks, one per 147 samples.
    const UnitData& s = units.at("S");
    EXPECT_EQ(s.marks.size(), std::max<size_t>(1, s.samples.size() / 147));
    // The speaker's f0, from the vowels.
    EXPECT_NEAR(r.summary.speakerF0, kF0, 0.06 * kF0);
    EXPECT_GE(r.summary.markIntervalsWithin, r.summary.markIntervals * 95 / 100);
}

TEST_F(VoiceBuilderTest, RefinedBoundariesGiveTheFricativeItsTrueLength) {
    // The labels put the "aa|s" boundary of "на+с" 30 ms off; the unit "S"
    // (bare before the pause) still gets the fricative's 120 ms.
    for (double shift : {0.03, -0.03}) {
        SCOPED_TRACE(shift);
        test::TempDir dir;
        test::SyntheticCorpus corpus(dir.File("corpus"));
        SynthPhone pause{"pau", SynthKind::Pause, 0.15};
        corpus.Add("u1", "на+с",
                   {pause,
                    {"n", SynthKind::Sonorant, 0.07},
                    {"aa", SynthKind::Vowel, 0.15},
                    {"s", SynthKind::Fricative, 0.12},
                    pause},
                   kF0, shift);
        corpus.WritePrompts();
        options_.corpusDir = corpus.Dir();
        options_.outputDir = dir.File("voice");
        BuildResult r = BuildVoice(options_, client_, log_);
        ASSERT_TRUE(r.ok) << r.error;
        std::map<std::string, UnitData> units =
            ReadVoice(options_.outputDir + "/" + kVoiceDatabaseFile);
        EXPECT_NEAR(double(units.at("S").samples.size()) / 22050.0, 0.12, 0.010);
        EXPECT_NEAR(double(units.at("A0-N").samples.size()) / 22050.0, 0.15, 0.012);
    }
}

TEST_F(VoiceBuilderTest, TheTwoNamesOfAConsonantVowelPairComeFromOneToken) {
    AddStandardUtterances();
    // A second "ма" token: "ма+м".
    corpus_.Add("u4", "ма+м",
                {pause_,
                 {"m", SynthKind::Sonorant, 0.09},
                 {"aa", SynthKind::Vowel, 0.2},
                 {"m", SynthKind::Sonorant, 0.08},
                 pause_},
                kF0 * 1.1);
    BuildResult r = Build();
    ASSERT_TRUE(r.ok) << r.error;
    std::map<std::string, std::string> from;
    for (const UnitLine& u : r.summary.units) from[u.name] = u.utterance;
    EXPECT_EQ(from.at("M-A0"), from.at("A0-M"));
    EXPECT_EQ(from.at("S-A0"), "u2");
    EXPECT_EQ(from.at("A0-S"), "u2");
}

TEST_F(VoiceBuilderTest, FillsSubstituteTargetsAndReportsTheOnesWithoutAUnit) {
    AddStandardUtterances();
    BuildResult r = Build();
    ASSERT_TRUE(r.ok) << r.error;
    const FallbackPlan& f = r.summary.fallbacks;
    // The fake module's fixed targets: "V-#" for each vowel, the bare consonants.
    EXPECT_EQ(f.targets, (std::vector<std::string>{"A0-#", "A1-#", "A2-#", "L", "M", "N", "O0-#",
                                                   "S", "T", "U0-#"}));
    std::map<std::string, std::string> fill(f.fill.begin(), f.fill.end());
    EXPECT_EQ(fill.size(), 4u);
    EXPECT_EQ(fill.at("A2-#"), "A2-M");
    EXPECT_EQ(fill.at("T"), "T-A0");
    EXPECT_EQ(fill.at("N"), "N-A0");
    EXPECT_TRUE(fill.count("A0-#"));
    EXPECT_EQ(f.missing, (std::vector<std::string>{"A1-#", "L", "O0-#", "U0-#"}));
    std::string report = test::ReadFile(options_.outputDir + "/" + kReportFile);
    EXPECT_NE(report.find("MISSING: L (no unit of its phoneme)"), std::string::npos);
    EXPECT_NE(report.find("filled: T <- T-A0"), std::string::npos);
    EXPECT_NE(
        std::find(log_.problems.begin(), log_.problems.end(), "missing substitute target U0-#"),
        log_.problems.end());
}

// --hold-out 3 leaves "та+м, на+с" (the third prompt) out of the units and
// lists its two syntagmas with their times in the recording.
TEST_F(VoiceBuilderTest, HeldOutUtterancesGiveNoUnitsAndAreListedWithTheirTimes) {
    AddStandardUtterances();
    options_.holdOut = 3;
    BuildResult r = Build();
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.summary.heldOut, std::vector<std::string>{"u3"});
    EXPECT_EQ(r.summary.utterancesUsed, 2u);
    for (const UnitLine& u : r.summary.units) EXPECT_NE(u.utterance, "u3") << u.name;
    std::set<std::string> names;
    for (const auto& [name, unit] : ReadVoice(options_.outputDir + "/" + kVoiceDatabaseFile))
        names.insert(name);
    EXPECT_FALSE(names.count("T-A0"));  // only "там" has it
    EXPECT_FALSE(names.count("N-A0"));
    EXPECT_NE(test::ReadFile(options_.outputDir + "/" + kReportFile)
                  .find("held out (one prompt in 3; 1 utterances"),
              std::string::npos);

    std::vector<std::string> problems;
    const std::vector<HeldOutSyntagma> held = ParseHeldOut(
        test::ReadFile(options_.outputDir + "/" + kHeldOutFile), kHeldOutFile, problems);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[0].mark, "(,)");
    EXPECT_EQ(held[1].mark, "(.)");
    ASSERT_EQ(held[0].phonemes, (std::vector<std::string>{"#", "T", "A0", "M", "#"}));
    // "т" from 0.15 s; "а" 0.15 s long, boundaries within 30 ms of the truth.
    EXPECT_NEAR(held[0].starts[1], 0.15, 0.03);
    EXPECT_NEAR(held[0].ends[2] - held[0].starts[2], 0.15, 0.03);
    EXPECT_FALSE(held[0].HasAudio(0));
    EXPECT_EQ(held[1].phonemes[1], "N");
    EXPECT_GT(held[1].starts[1], held[0].ends[3]);
}

// A RIFF header of stereo 16-bit PCM with a few samples.
std::string StereoWav() {
    auto u32 = [](uint32_t v) {
        return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    std::string data(400, '\0');
    return "RIFF" + u32(uint32_t(36 + data.size())) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(2) +
           u32(16000) + u32(64000) + u16(4) + u16(16) + "data" + u32(uint32_t(data.size())) + data;
}

TEST_F(VoiceBuilderTest, SkipsBadUtterancesAndNamesTheirFileAndLine) {
    AddStandardUtterances();
    const std::string d = corpus_.Dir();
    // A missing recording, a broken label line, a stereo recording, and
    // labels of another sentence.
    corpus_.Add("b1", "ма+ма", {pause_, {"m", SynthKind::Sonorant, 0.1}, pause_});
    fs::remove(d + "/wav/b1.wav");
    corpus_.Add("b2", "ма+ма", {pause_, {"m", SynthKind::Sonorant, 0.1}, pause_});
    test::WriteFile(d + "/lab/b2.lab", "#\n0.15 125 pau\n0.2x 125 m\n");
    corpus_.Add("b3", "ма+ма",
                {pause_,
                 {"m", SynthKind::Sonorant, 0.08},
                 {"aa", SynthKind::Vowel, 0.16},
                 {"m", SynthKind::Sonorant, 0.08},
                 {"a", SynthKind::Vowel, 0.1},
                 pause_});
    test::WriteFile(d + "/wav/b3.wav", StereoWav());
    corpus_.Add("b4", "ма+ма",
                {pause_,
                 {"s", SynthKind::Fricative, 0.1},
                 {"t", SynthKind::Stop, 0.1},
                 {"s", SynthKind::Fricative, 0.1},
                 {"t", SynthKind::Stop, 0.1},
                 pause_});
    BuildResult r = Build();
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.summary.utterancesListed, 7u);
    EXPECT_EQ(r.summary.utterancesUsed, 3u);
    ASSERT_EQ(r.summary.skipped.size(), 4u);
    std::string all = JoinList(r.summary.skipped, '\n');
    EXPECT_NE(all.find("b1: " + d + "/wav/b1.wav: missing"), std::string::npos) << all;
    EXPECT_NE(all.find("b2: " + d + "/lab/b2.lab:3: bad end time \"0.2x\""), std::string::npos)
        << all;
    EXPECT_NE(all.find("b3: " + d + "/wav/b3.wav: "), std::string::npos) << all;
    EXPECT_NE(all.find("channel"), std::string::npos) << all;
    EXPECT_NE(all.find("b4: " + d + "/lab/b4.lab: the labels do not match the prompt of line 7"),
              std::string::npos)
        << all;
    EXPECT_EQ(log_.problems.size() - r.summary.fallbacks.missing.size(), 4u)
        << "each reported while it runs";
}

TEST_F(VoiceBuilderTest, NeverLeavesAHalfBuiltVoice) {
    auto leftovers = [&] {
        size_t n = 0;
        for (const auto& e : fs::directory_iterator(dir_.Path()))
            n += e.path().filename().string()[0] == '.';
        return n;
    };
    // An empty corpus: an error, and no folder at all.
    BuildResult empty = Build();
    EXPECT_FALSE(empty.ok);
    EXPECT_NE(empty.error.find("lists no usable utterances"), std::string::npos) << empty.error;
    EXPECT_FALSE(fs::exists(options_.outputDir));
    // Every utterance bad: an error, and still no folder.
    corpus_.Add("b1", "са+м", {pause_, {"m", SynthKind::Sonorant, 0.1}, pause_});
    fs::remove(corpus_.Dir() + "/wav/b1.wav");
    BuildResult none = Build();
    EXPECT_FALSE(none.ok);
    EXPECT_FALSE(fs::exists(options_.outputDir));
    EXPECT_EQ(leftovers(), 0u);
    // An existing folder stays unless it may be replaced.
    AddStandardUtterances();
    fs::create_directories(options_.outputDir);
    test::WriteFile(options_.outputDir + "/mine", "x");
    BuildResult refused = Build();
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(fs::exists(options_.outputDir + "/mine"));
    options_.replace = true;
    options_.outputDir += "/";  // a trailing separator names the same folder
    BuildResult replaced = Build();
    ASSERT_TRUE(replaced.ok) << replaced.error;
    EXPECT_FALSE(fs::exists(options_.outputDir + "/mine"));
    EXPECT_TRUE(fs::exists(options_.outputDir + "/" + kVoiceDatabaseFile));
    EXPECT_EQ(leftovers(), 0u);
}

TEST_F(VoiceBuilderTest, ReportsCoverageOfATextAgainstAVoice) {
    const std::set<std::string> names = {"M-A0", "A0-M", "A0-#", "M"};
    Coverage c;
    // "ма+ма, ма+м": #,M-A0,A0-M,M-A2,A2-M,#  and  #,M-A0,A0-M,M,#
    MeasureCoverage("ма+ма, ма+м", names, client_, nullptr, PromptMarks::AfterVowel, c);
    EXPECT_EQ(c.syntagmas, 2u);
    EXPECT_EQ(c.direct, 5u);
    EXPECT_EQ(c.substitute, 1u) << "M-A2 through M";
    EXPECT_EQ(c.missing, 1u) << "A2-M: its substitute A2-# is absent too";
    EXPECT_EQ(c.absent.count("A2-M"), 1u);
    EXPECT_EQ(c.substituted.count("M-A2"), 1u);
}

}  // namespace
}  // namespace vox::voicebuild
