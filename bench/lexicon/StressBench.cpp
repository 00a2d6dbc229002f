// The stress lexicon on the real festvox-ru dictionary (compiled once into a
// temporary file at start): opening the mapped file, dictionary lookups,
// model guesses for unknown words, and the resident memory they cost.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "lexicon/stress/DictionaryCompiler.h"
#include "lexicon/stress/FestvoxSource.h"
#include "lexicon/stress/StressLexicon.h"
#include "lexicon/stress/StressText.h"

namespace {

struct Fixture {
    std::string path;
    std::vector<std::string> known, unknown;
    Fixture() {
        path = "/tmp/voxamen-bench-stress-" + std::to_string(getpid()) + ".vxs";
        lexicon::SourceLexicon source;
        std::string error;
        if (!lexicon::LoadFestvoxLexicon(lexicon::kFestvoxLexiconPath, source, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return;
        }
        const auto words = lexicon::PrepareWords(source.words);
        const auto bytes = lexicon::CompileDictionary(words, {});
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        // Every 97th word as it is, and changed at its end so the dictionary lacks it.
        for (size_t i = 0; i < words.size(); i += 97) {
            known.push_back(lexicon::FoldYo(words[i].word));
            unknown.push_back(known.back() + "\xEE\xE2");  // + "ов"
        }
    }
    ~Fixture() { std::remove(path.c_str()); }
};

Fixture& Data() {
    static Fixture f;
    return f;
}

long ResidentKiB() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void BM_OpenDictionary(benchmark::State& state) {
    Data();  // compiled before the clock runs
    for (auto _ : state) {
        lexicon::StressLexicon l;
        benchmark::DoNotOptimize(l.OpenDictionary(Data().path, nullptr));
    }
}
BENCHMARK(BM_OpenDictionary)->Unit(benchmark::kMicrosecond);

// resident_KiB: what the process gained, mapped pages of the file included.
void Lookups(benchmark::State& state, const std::vector<std::string>& words) {
    lexicon::StressLexicon l;
    const long before = ResidentKiB();
    l.OpenDictionary(Data().path, nullptr);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(l.Stress(words[i]));
        if (++i == words.size()) i = 0;
    }
    state.counters["resident_KiB"] = double(ResidentKiB() - before);
}

void BM_LookupDictionaryWord(benchmark::State& state) {
    Lookups(state, Data().known);
}
BENCHMARK(BM_LookupDictionaryWord);

void BM_GuessUnknownWord(benchmark::State& state) {
    Lookups(state, Data().unknown);
}
BENCHMARK(BM_GuessUnknownWord);

}  // namespace
