// Times every stage of Speak on its own over the benchmark's iterations and
// reports each stage's share of the phrase (percent) as a counter; stages
// under 0.1 % are left out.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <string>

#include "engine/synthesis/SpeakPipeline.h"
#include "platform/ComBinding.h"

namespace vox::bench {

inline void TimeStages(benchmark::State& state, EngineContext& engine, const char* phrase,
                       const char* syntagmaType) {
    std::map<std::string, double> nanoseconds;
    double total = 0;
    for (auto _ : state) {
        uint8_t* audio = nullptr;
        int32_t size = 0;
        PhraseState phraseState(engine, {phrase, syntagmaType, nullptr, &audio, &size});
        for (const SpeakStage& stage : SpeakStages()) {
            const auto start = std::chrono::steady_clock::now();
            const HRESULT hr = RunStage(stage, phraseState);
            const std::chrono::duration<double, std::nano> spent =
                std::chrono::steady_clock::now() - start;
            nanoseconds[std::string(stage.name)] += spent.count();
            total += spent.count();
            if (hr != S_OK) state.SkipWithError("stage failed");
        }
        CoTaskMemFree(audio);
    }
    for (const auto& [name, ns] : nanoseconds)
        if (ns / total >= 0.001) state.counters[name] = 100.0 * ns / total;
}

}  // namespace vox::bench
