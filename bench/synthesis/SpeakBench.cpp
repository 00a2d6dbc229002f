// Speak of one 40-phoneme phrase (about 3.5 s of speech) over an in-memory
// voice and a fake phonetic module, settings in a temporary registry.
// Counters: "x_realtime" = seconds of audio per second of CPU; the stage
// benchmark reports each stage's share of the phrase in percent.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "bench/StageShares.h"
#include "engine/synthesis/SpeakPipeline.h"
#include "tests/engine/fakes/TestEngine.h"

namespace {

constexpr const char* kPhrase =
    "#,M,A0,N,O1,L,U2,_,S,I0,M,A0,T,O1,_,K,A0,L,U2,N,I0,S,_,"
    "B,O1,L,A0,M,U2,_,N,I0,K,A0,T,O1,S,L,U2,#";  // 40 phonemes

class RegistryFolder {
  public:
    RegistryFolder() {
        std::string dir =
            (std::filesystem::temp_directory_path() / "voxamen-bench-XXXXXX").string();
        if (::mkdtemp(dir.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir_ = dir;
        ::setenv("VOXAMEN_REGISTRY_DIR", dir_.c_str(), 1);
    }
    ~RegistryFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

  private:
    std::string dir_;
};

struct Voice {
    RegistryFolder registry;
    vox::test::TestEngine engine;

    explicit Voice(bool resynthesis, uint32_t rate = 22050, uint16_t bits = 16,
                   bool effects = false) {
        using vox::test::NoiseUnit;
        using vox::test::VoicedUnit;
        for (const char* vowel : {"A0", "O1", "U2", "I0"})
            engine.base.Add(VoicedUnit(vowel, 16, 130));
        for (const char* sonant : {"M", "N", "L"}) engine.base.Add(VoicedUnit(sonant, 9, 125));
        engine.base.Add(VoicedUnit("B", 6, 120));
        for (const char* voiceless : {"S", "T", "K"}) engine.base.Add(NoiseUnit(voiceless, 1700));
        engine.SetUserDword("", "RhytmicsEnabled", resynthesis ? 1 : 0);
        engine.format.nSamplesPerSec = rate;
        engine.format.wBitsPerSample = bits;
        for (const char* effect : {"Chambrel", "Rever", "Filter"})
            engine.SetUserDword(effect, "Enabled", effects ? 1 : 0);
    }
    // Seconds of speech of one phrase (at 22050 Hz, before conversion).
    double Seconds() {
        if (engine.Speak(kPhrase, "(.)|(.)", nullptr, "fades") != S_OK)
            throw std::runtime_error("Speak failed");
        return engine.Last().signal.size() / 22050.0;
    }
};

void SpeakPhrase(benchmark::State& state, bool resynthesis, uint32_t rate, uint16_t bits = 16) {
    Voice voice(resynthesis, rate, bits);
    const double seconds = voice.Seconds();
    for (auto _ : state) {
        if (voice.engine.Speak(kPhrase, "(.)|(.)") != S_OK) state.SkipWithError("Speak failed");
        benchmark::DoNotOptimize(voice.engine.audio.data());
    }
    state.counters["x_realtime"] = benchmark::Counter(
        seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["audio_s"] = seconds;
}

void BM_Speak22050Resynthesis(benchmark::State& s) {
    SpeakPhrase(s, true, 22050);
}
void BM_Speak22050Plain(benchmark::State& s) {
    SpeakPhrase(s, false, 22050);
}
void BM_Speak16000Resynthesis(benchmark::State& s) {
    SpeakPhrase(s, true, 16000);
}
void BM_Speak44100Resynthesis(benchmark::State& s) {
    SpeakPhrase(s, true, 44100);
}
void BM_Speak11025x8Resynthesis(benchmark::State& s) {
    SpeakPhrase(s, true, 11025, 8);
}
BENCHMARK(BM_Speak22050Resynthesis);
BENCHMARK(BM_Speak22050Plain);
BENCHMARK(BM_Speak16000Resynthesis);
BENCHMARK(BM_Speak44100Resynthesis);
BENCHMARK(BM_Speak11025x8Resynthesis);

// Each stage timed on its own; counters are percent of the whole phrase.
void StageShares(benchmark::State& state, uint32_t rate, bool effects = false) {
    Voice voice(true, rate, 16, effects);
    vox::bench::TimeStages(state, voice.engine.Context(), kPhrase, "(.)|(.)");
}

void BM_StageShares22050(benchmark::State& s) {
    StageShares(s, 22050);
}
void BM_StageShares16000(benchmark::State& s) {
    StageShares(s, 16000);
}
void BM_StageShares44100(benchmark::State& s) {
    StageShares(s, 44100);
}
// Every effect on (default settings): the effects' share of the phrase.
void BM_StageShares22050Effects(benchmark::State& s) {
    StageShares(s, 22050, true);
}
BENCHMARK(BM_StageShares22050);
BENCHMARK(BM_StageShares22050Effects);
BENCHMARK(BM_StageShares16000);
BENCHMARK(BM_StageShares44100);

}  // namespace
