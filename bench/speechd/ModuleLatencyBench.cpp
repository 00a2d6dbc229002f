// The speech-dispatcher module as the server meets it: a running
// sd_voxamen on pipes, with the installed default voice. Measures the time
// from the end of a SPEAK or CHAR message to the first audio event, and
// from STOP to "703 STOP"; reports the module's resident memory before and
// after 10,000 messages. Needs a voice installed by the main job.
#include <string>

#include <benchmark/benchmark.h>

#include "speechd/ModuleProcess.h"

namespace {

using Module = sdvox::test::ModuleProcess;

Module* TheModule(benchmark::State& state) {
    static Module* module = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        try {
            module = new Module(VOXAMEN_BIN_DIR "/sd_voxamen");
        } catch (const std::exception&) {
            module = nullptr;
        }
    }
    if (!module) state.SkipWithError("sd_voxamen has no voice (run scripts/main.sh)");
    return module;
}

void BM_SpeakToFirstAudio(benchmark::State& state) {
    Module* m = TheModule(state);
    if (!m) return;
    for (auto _ : state) {
        m->Send("SPEAK\n<speak>Привет, как у вас дела сегодня?</speak>\n.\n");
        m->Await("705-AUDIO");
        state.PauseTiming();
        m->Await("702 END\n");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SpeakToFirstAudio)->Unit(benchmark::kMillisecond);

void BM_CharToFirstAudio(benchmark::State& state) {
    Module* m = TheModule(state);
    if (!m) return;
    for (auto _ : state) {
        m->Send("CHAR\nж\n.\n");
        m->Await("705-AUDIO");
        state.PauseTiming();
        m->Await("702 END\n");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CharToFirstAudio)->Unit(benchmark::kMillisecond);

void BM_StopToStopped(benchmark::State& state) {
    Module* m = TheModule(state);
    if (!m) return;
    std::string text;
    for (int i = 0; i < 50; ++i) text += "Это длинный текст, который читается долго. ";
    for (auto _ : state) {
        state.PauseTiming();
        m->Send("SPEAK\n" + text + "\n.\n");
        m->Await("705-AUDIO");
        state.ResumeTiming();
        m->Send("STOP\n");
        m->Await("703 STOP\n");
    }
}
BENCHMARK(BM_StopToStopped)->Unit(benchmark::kMillisecond);

void BM_MemoryOver10000Messages(benchmark::State& state) {
    Module* m = TheModule(state);
    if (!m) return;
    long before = 0, after = 0;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) {  // settle caches first
            m->Send("CHAR\nа\n.\n");
            m->Await("702 END\n");
        }
        before = m->RssKiB();
        for (int i = 0; i < 10000; ++i) {
            m->Send(i % 2 ? "CHAR\nб\n.\n" : "SET\nrate=20\n.\nSPEAK\nДа.\n.\n");
            m->Await("702 END\n");
        }
        after = m->RssKiB();
    }
    state.counters["rss_before_MiB"] = before / 1024.0;
    state.counters["rss_after_MiB"] = after / 1024.0;
}
BENCHMARK(BM_MemoryOver10000Messages)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
