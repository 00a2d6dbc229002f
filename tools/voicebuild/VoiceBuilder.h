// `voxamen voice build`: a voice folder from a labelled speech corpus in the
// festvox layout (wav/ID.wav, lab/ID.lab, etc/txt.done.data). The passes:
//   1. text: stress, transcription and unit names through the phonetic
//      module, alignment with the labels (UtterancePreparer);
//   2. signal, in parallel: f0, pitch marks, boundary refinement, measures
//      of every candidate instance (UtteranceAnalyser);
//   3. one instance per name (InstanceSelector);
//   4. in parallel: each utterance that holds a chosen instance is resampled
//      once to 22050 Hz and its units cut (UnitCutter);
//   5. fixed substitute targets filled (FallbackPlanner), the prosody files
//      fitted to the corpus (ProsodyFitter), then voice.abs, Pros.cfg,
//      Rhytmics.cfg, Intonation.cfg, IntonationNew.cfg, Amp.cfg, NOTICE and
//      build-report.txt (and with --hold-out, held-out.txt: the utterances
//      left out of passes 3 to 5) are written into a temporary
//      folder that is renamed into place only when everything succeeded.
// See docs/voice-building.md.
#pragma once

#include <string>

#include "tools/voicebuild/BuildReport.h"
#include "tools/voicebuild/ModuleClient.h"
#include "tools/voicebuild/StressPlacement.h"
#include "tools/voicebuild/UtteranceAnalyser.h"

namespace vox::voicebuild {

struct BuildOptions {
    std::string corpusDir;
    std::string outputDir;
    std::string phoneMapPath;
    std::string dictionaryPath;  // optional
    std::string licencePath;     // optional; its licence goes into NOTICE
    std::string moduleName = "419.1";
    PromptMarks promptMarks = PromptMarks::BeforeVowel;
    AnalysisSettings analysis;
    double maxAlignCostPerPhone = 0.3;
    unsigned jobs = 0;     // worker threads; 0: one per core
    size_t holdOut = 0;    // every N-th prompt left out of units and prosody (0: none)
    bool replace = false;  // replace an existing voice folder
};

// Where progress and problems go while the build runs.
class BuildLog {
  public:
    virtual ~BuildLog() = default;
    virtual void Progress(const std::string& stage, size_t done, size_t total) = 0;
    virtual void Problem(const std::string& text) = 0;
};

// Files of a voice folder.
inline constexpr const char* kVoiceDatabaseFile = "voice.abs";
inline constexpr const char* kProsCfgFile = "Pros.cfg";
inline constexpr const char* kRhytmicsFile = "Rhytmics.cfg";
inline constexpr const char* kIntonationFile = "Intonation.cfg";
inline constexpr const char* kIntonationNewFile = "IntonationNew.cfg";
inline constexpr const char* kAmpFile = "Amp.cfg";
inline constexpr const char* kNoticeFile = "NOTICE";
inline constexpr const char* kReportFile = "build-report.txt";

struct BuildResult {
    bool ok = false;
    std::string error;  // why nothing was written
    BuildSummary summary;
};

BuildResult BuildVoice(const BuildOptions& options, const ModuleClient& module, BuildLog& log);

}  // namespace vox::voicebuild
