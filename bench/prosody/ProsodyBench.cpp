// The prosody models at work: Speak of a 40-phoneme phrase with every model
// on, each stage's share of it, and the loading of a voice's five files of
// a realistic size (about 940 dataset entries, 19 contours, 114 new-model
// entries, 100 rules, 60 grouped phonemes).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "bench/StageShares.h"
#include "engine/synthesis/SpeakPipeline.h"
#include "engine/synthesis/VoiceModels.h"
#include "interfaces/SoundDescription.h"
#include "tests/engine/fakes/TestEngine.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kPhrase =
    "#,M,A0,N,O1,L,U2,_,S,I0,M,A0,T,O1,_,K,A0,L,U2,N,I0,S,_,"
    "B,O1,L,A0,M,U2,_,N,I0,K,A0,T,O1,S,L,U2,#";  // 40 phonemes
const char* const kMarks[] = {"(.)",  "(..)",  "(;)", "(:)",  "(-.)", "(,)",  "(-,)",
                              "(,,)", "(-)",   "(!)", "(!.)", "(?)",  "(?.)", "(())",
                              "(=)",  "(,-,)", "(~)", "(W)",  "(W=)"};

class TempFolder {
  public:
    TempFolder() {
        std::string dir = (fs::temp_directory_path() / "voxamen-bench-XXXXXX").string();
        if (::mkdtemp(dir.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir_ = dir;
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    const std::string& Path() const { return dir_; }

  private:
    std::string dir_;
};

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The five files of a voice the size the voice builder writes.
void WriteVoiceFiles(const std::string& dir) {
    std::string r = ".Version 2\n";
    const char* sections[] = {"{Vowel stressed", "{Vowel pretonic", "{Vowel posttonic",
                              "{Consonant"};
    for (int s = 0; s < 4; ++s) {
        r += std::string(sections[s]) + "\n";
        for (int i = 0; i < 24; ++i)
            r += "r" + std::to_string(i) + ": 1." + std::to_string(i % 10) + "\nR1 Vowel\n" +
                 (i % 2 ? "L1 Consonant Voiced\n" : "LastSyl\n");
        r += "rest: 1\n}\n";
    }
    Write(dir + "/Rhytmics.cfg", r);
    std::string in = std::string(vox::kIntonationProfileHeader) + "\n";
    for (const char* mark : kMarks) {
        in += std::string(mark) + "\n4\n";
        for (int s = 0; s < 4; ++s)
            in += "3\n0 50\n50 55\n100 52\n3\n0 56\n50 60\n100 58\n3\n0 52\n50 48\n100 45\n";
    }
    Write(dir + "/Intonation.cfg", in);
    std::string nw = std::string(vox::kIntonationNewHeader) + "\n";
    for (const char* mark : kMarks)
        for (int n = 1; n <= 6; ++n) {
            nw += std::string(mark) + "," + std::to_string(n) + "\n90\n";
            for (int w = 0; w < n; ++w) nw += "100, 102, 104 | 110, 112 | 98, 95, 90\n";
            for (int w = 0; w < n; ++w) nw += "100, 100 | 90 | 105, 110\n";
        }
    Write(dir + "/IntonationNew.cfg", nw);
    std::string pros = std::string(vox::kProsodicDatasetHeader) + "\n";
    for (int i = 0; i < 930; ++i) pros += "U" + std::to_string(i) + "-X 140 12000 3000\n";
    for (const char* n : {"A0", "O1", "U2", "I0", "M", "N", "L", "B", "S", "T", "K"})
        pros += std::string(n) + " 150 9000 2000\n";
    Write(dir + "/Pros.cfg", pros);
    std::string amp = std::string(vox::kAmpProfileHeader) + "\n{Groups\nV: A0, O1, U2, I0";
    for (int i = 0; i < 50; ++i) amp += ", V" + std::to_string(i);
    amp += "\nS: M, N, L\nO: B, S, T, K\nP: #, _\n}\n{Rules\n";
    for (const char* a : {"V", "S", "O", "P"})
        for (const char* b : {"V", "S", "O"})
            for (const char* c : {"V", "S", "O", "P"})
                amp += std::string(a) + "-" + b + "-" + c + ": 85, 100, 95, 90\n";
    amp += "Default: 100, 100\n}\n";
    Write(dir + "/Amp.cfg", amp);
}

struct Voice {
    TempFolder registry, files;
    vox::test::TestEngine* engine = nullptr;

    explicit Voice(bool newIntonation) {
        ::setenv("VOXAMEN_REGISTRY_DIR", registry.Path().c_str(), 1);
        engine = new vox::test::TestEngine();
        using vox::test::NoiseUnit;
        using vox::test::VoicedUnit;
        for (const char* vowel : {"A0", "O1", "U2", "I0"})
            engine->base.Add(VoicedUnit(vowel, 16, 130));
        for (const char* sonant : {"M", "N", "L"}) engine->base.Add(VoicedUnit(sonant, 9, 125));
        engine->base.Add(VoicedUnit("B", 6, 120));
        for (const char* voiceless : {"S", "T", "K"}) engine->base.Add(NoiseUnit(voiceless, 1700));
        using vox::SdMask;
        namespace sd = vox::sd;
        for (const char* v : {"A0", "I0"})
            engine->phonetic->phonemes[v].sd |=
                SdMask(sd::Stressed) | SdMask(sd::FullStressed) | SdMask(sd::InStressedSyl);
        engine->phonetic->phonemes["O1"].sd |= SdMask(sd::Pretonic) | SdMask(sd::InPretonicSyl);
        engine->phonetic->phonemes["U2"].sd |= SdMask(sd::Posttonic) | SdMask(sd::InPosttonicSyl);
        WriteVoiceFiles(files.Path());
        vox::LoadVoiceModels(engine->models, files.Path());
        for (const char* s : {"RhytmicsEnabled", "IntonationEnabled", "UseAbsoluteIntonation",
                              "UseFreqProsody", "UseAmpContour"})
            engine->SetUserDword("", s, 1);
        engine->SetUserDword("", "UseNewIntonation", newIntonation ? 1 : 0);
    }
    ~Voice() { delete engine; }
    double Seconds() {
        if (engine->Speak(kPhrase, "(.)|(.)", nullptr, "fades") != S_OK)
            throw std::runtime_error("Speak failed");
        return engine->Last().signal.size() / 22050.0;
    }
};

void SpeakAllModels(benchmark::State& state, bool newIntonation) {
    Voice voice(newIntonation);
    const double seconds = voice.Seconds();
    for (auto _ : state) {
        if (voice.engine->Speak(kPhrase, "(.)|(.)") != S_OK) state.SkipWithError("Speak failed");
        benchmark::DoNotOptimize(voice.engine->audio.data());
    }
    state.counters["x_realtime"] = benchmark::Counter(
        seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["audio_s"] = seconds;
}

void BM_SpeakAllModelsProfile(benchmark::State& s) {
    SpeakAllModels(s, false);
}
void BM_SpeakAllModelsNewIntonation(benchmark::State& s) {
    SpeakAllModels(s, true);
}
BENCHMARK(BM_SpeakAllModelsProfile);
BENCHMARK(BM_SpeakAllModelsNewIntonation);

// Each stage's share of the phrase, in percent (the models' stages:
// "amplitude contour", "frequency prosody", "rhythmics", "intonation").
void BM_StageSharesAllModels(benchmark::State& state) {
    Voice voice(false);
    vox::bench::TimeStages(state, voice.engine->Context(), kPhrase, "(.)|(.)");
}
BENCHMARK(BM_StageSharesAllModels);

// SetVoice's part: the five files read into fresh models.
void BM_LoadFiveFiles(benchmark::State& state) {
    TempFolder files;
    WriteVoiceFiles(files.Path());
    for (auto _ : state) {
        vox::VoiceModels models;
        vox::LoadVoiceModels(models, files.Path());
        benchmark::DoNotOptimize(models.dataset.EntryCount());
    }
    state.SetLabel("target: <= 5 ms");
}
BENCHMARK(BM_LoadFiveFiles)->Unit(benchmark::kMillisecond);

}  // namespace
