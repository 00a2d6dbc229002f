// Module 419.3 with a voice of 5,000 units: covering phrases of 50 to 400
// phonemes (the work must grow linearly with the phrase), and building the
// unit inventory from the allophone list (SetAllophones).
#include <benchmark/benchmark.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "phonetic/module-419-1/Tables4191.h"
#include "phonetic/module-419-3/Allomod4193.h"
#include "platform/Text.h"

namespace {

constexpr size_t kUnits = 5000;

std::vector<std::string> Sounds() {
    std::vector<std::string> sounds;
    for (const vox::PhonemeEntry& e : vox::m4191::kInventory)
        if (e.name != "#" && e.name != "_") sounds.emplace_back(e.name);
    return sounds;
}

// "#", words of 2 to 8 sounds separated by "_", "#": `length` phonemes.
std::vector<std::string> Phrase(size_t length, std::mt19937& random) {
    static const std::vector<std::string> sounds = Sounds();
    std::vector<std::string> phrase{"#"};
    size_t word = 0;
    while (phrase.size() + 1 < length) {
        const bool breakHere =
            word >= 2 && (word >= 8 || random() % 5 == 0) && phrase.size() + 2 < length;
        if (breakHere) {
            phrase.push_back("_");
            word = 0;
        } else {
            phrase.push_back(sounds[random() % sounds.size()]);
            ++word;
        }
    }
    phrase.push_back("#");
    return phrase;
}

// 5,000 units of 1 to 4 phonemes cut from phrases like the covered ones, a
// tenth of them with a group, every position listed.
std::string Units() {
    std::mt19937 random(5000);
    const char* groups[] = {"(Lab)", "(Dent)", "(Vowel)", "(Son)"};
    std::set<std::string> bases;
    std::vector<std::string> names;
    while (bases.size() < kUnits) {
        const std::vector<std::string> source = Phrase(40, random);
        const size_t start = 1 + random() % (source.size() - 2);
        const size_t length = 1 + random() % std::min<size_t>(4, source.size() - start);
        std::string base = random() % 10 == 0 ? groups[random() % 4] : "";
        for (size_t k = 0; k < length; ++k) base += (k ? "-" : "") + source[start + k];
        if (!bases.insert(base).second) continue;
        for (size_t k = 1; k <= length; ++k) names.push_back(base + "." + std::to_string(k));
    }
    return vox::JoinList(names);
}

vox::Allomod_419_3* NewModule(const std::string& units) {
    auto* module =
        new vox::Allomod_419_3(VOXAMEN_SOURCE_DIR "/phonetic/module-419-3/allomod-419-3.cfg");
    module->SetAllophones(units.c_str());
    return module;
}

void CoverPhrase(benchmark::State& state) {
    static const std::string units = Units();
    vox::Allomod_419_3* module = NewModule(units);
    std::mt19937 random(static_cast<unsigned>(state.range(0)));
    const std::string phrase = vox::JoinList(Phrase(static_cast<size_t>(state.range(0)), random));
    for (auto _ : state) {
        char* allophones = nullptr;
        module->PhonemesToAllophones(phrase.c_str(), &allophones);
        benchmark::DoNotOptimize(allophones);
        CoTaskMemFree(allophones);
    }
    state.counters["units"] = static_cast<double>(module->Units().Size());
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    module->Release();
}
BENCHMARK(CoverPhrase)->Arg(50)->Arg(100)->Arg(200)->Arg(400)->Complexity(benchmark::oN);

void SetAllophones(benchmark::State& state) {
    static const std::string units = Units();
    vox::Allomod_419_3* module = NewModule("");
    for (auto _ : state) module->SetAllophones(units.c_str());
    state.counters["units"] = static_cast<double>(module->Units().Size());
    module->Release();
}
BENCHMARK(SetAllophones)->Unit(benchmark::kMillisecond);

}  // namespace
