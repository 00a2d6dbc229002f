// What the engine asks a phonetic module for each phrase, on a 40-phoneme
// phrase of five words: sound descriptions (validation and analysis),
// allophones from the shipped rule file, and phoneme codes.
#include <benchmark/benchmark.h>

#include "phonetic/module-419-0/Allomod4190.h"

namespace {

// "#" + five words + "#": 40 phonemes.
constexpr const char* kPhrase =
    "#,K,A1,R,O0,V,A2,_,M,O0,L',I2,T,_,P,R,A1,S',T,O0,J',_,S,T,R,A1,N',I0,C,A2,_,"
    "V,Y1,S,O0,K,A2,J',A2,#";

vox::Allomod_419_0* NewModule() {
    return new vox::Allomod_419_0(VOXAMEN_SOURCE_DIR "/phonetic/module-419-0/allomod-419-0.cfg");
}

void GetSoundDescriptions(benchmark::State& state) {
    vox::Allomod_419_0* module = NewModule();
    for (auto _ : state) {
        uint64_t* sds = nullptr;
        int32_t num = 0;
        module->GetSoundDescriptions(kPhrase, &sds, &num);
        benchmark::DoNotOptimize(sds);
        CoTaskMemFree(sds);
    }
    module->Release();
}
BENCHMARK(GetSoundDescriptions);

void PhonemesToAllophones(benchmark::State& state) {
    vox::Allomod_419_0* module = NewModule();
    char* warm = nullptr;
    module->PhonemesToAllophones(kPhrase, &warm);  // reads the rule file once
    CoTaskMemFree(warm);
    for (auto _ : state) {
        char* allophones = nullptr;
        module->PhonemesToAllophones(kPhrase, &allophones);
        benchmark::DoNotOptimize(allophones);
        CoTaskMemFree(allophones);
    }
    module->Release();
}
BENCHMARK(PhonemesToAllophones);

void GetPhonemesCodes(benchmark::State& state) {
    vox::Allomod_419_0* module = NewModule();
    for (auto _ : state) {
        int32_t* codes = nullptr;
        int32_t num = 0;
        module->GetPhonemesCodes(kPhrase, &codes, &num);
        benchmark::DoNotOptimize(codes);
        CoTaskMemFree(codes);
    }
    module->Release();
}
BENCHMARK(GetPhonemesCodes);

}  // namespace
