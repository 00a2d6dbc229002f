// End to end through the registered servers, as `voxamen say -w` speaks:
// token → Orvalink → lexical component → Voxamen → output site, 22050 Hz
// 16-bit. Counters: "x_realtime" (seconds of audio per second of CPU) and
// "first_audio_ms" (Speak call to the first audio block, voice loaded).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "interfaces/IGlossor.h"
#include "platform/Guid.h"
#include "speech/Speaker.h"
#include "speech/VoiceTokens.h"
#include "support/ServerLibrary.h"
#include "support/TempRegistry.h"
#include "tools/voxamen/VoiceInstaller.h"

namespace {

const char* const kParagraph =
    "В 2024 году, 15 марта, в Москве прошло 3 концерта. Билеты стоили 1500 рублей; "
    "пришли почти 12 тысяч человек! Кто бы мог подумать? Синтез речи превращает текст в звук, "
    "слово за словом, и сообщает, где звучит каждое слово. ";

// The servers registered into a scratch registry, the default voice installed.
struct Chain {
    std::unique_ptr<vox::test::TempRegistry> registry;
    vox::speech::Speaker speaker;
    WAVEFORMATEX format{};
    std::string error;

    Chain() {
        const char* data = std::getenv("XDG_DATA_HOME");
        const std::string root =
            data && *data ? data : std::string(std::getenv("HOME")) + "/.local/share";
        const std::string voiceData = root + "/voxamen/voices/ru-nsh/voice.abs";
        if (!std::filesystem::exists(voiceData)) {
            error = "the default voice is not built (scripts/main.sh)";
            return;
        }
        registry = std::make_unique<vox::test::TempRegistry>();
        for (const char* lib : {"voxamen.so", "allomod-419-1.so", "orvalink.so", "glossor.so"})
            if (vox::test::ServerLibrary(lib).Register() != S_OK)
                error = std::string(lib) + " missing";
        vox::VoiceInstallation voice;
        voice.key = "ru-nsh";
        voice.voiceData = voiceData;
        voice.sublang = "1";
        voice.lexicon = vox::GuidToString(CLSID_Glossor);
        if (error.empty() && vox::InstallVoice(voice, error)) {
            const auto token = vox::speech::ChooseVoice(vox::speech::InstalledVoices(), "ru-nsh");
            if (token && speaker.Open(*token, error))
                speaker.NegotiateFormat(22050, 16, format, error);
        }
    }
};

Chain& TheChain() {
    static Chain chain;
    return chain;
}

void BM_LongTextToWav(benchmark::State& state) {
    Chain& chain = TheChain();
    if (!chain.error.empty()) {
        state.SkipWithError(chain.error.c_str());
        return;
    }
    std::string text;
    for (int i = 0; i < 20; ++i) text += kParagraph;
    const vox::speech::FragmentList piece = vox::speech::FragmentsFromText(text);
    uint64_t bytes = 0;
    for (auto _ : state) {
        vox::speech::CallbackSink sink([&](const uint8_t*, size_t size) {
            bytes += size;
            return true;
        });
        vox::speech::OutputSite site(sink, chain.format);
        chain.speaker.Speak(piece, site);
    }
    const double audioSeconds = double(bytes) / chain.format.nAvgBytesPerSec;
    state.counters["audio_s"] =
        benchmark::Counter(audioSeconds, benchmark::Counter::kAvgIterations);
    state.counters["x_realtime"] = benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LongTextToWav)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_FirstAudio(benchmark::State& state) {
    Chain& chain = TheChain();
    if (!chain.error.empty()) {
        state.SkipWithError(chain.error.c_str());
        return;
    }
    const vox::speech::FragmentList piece =
        vox::speech::FragmentsFromText("Билеты стоили 1500 рублей.");
    for (auto _ : state) {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point start = Clock::now();
        Clock::time_point first{};
        vox::speech::CallbackSink sink([&](const uint8_t*, size_t) {
            if (first == Clock::time_point{}) first = Clock::now();
            return true;
        });
        vox::speech::OutputSite site(sink, chain.format);
        chain.speaker.Speak(piece, site);
        state.SetIterationTime(std::chrono::duration<double>(first - start).count());
    }
}
BENCHMARK(BM_FirstAudio)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Anonymous resident memory of this process in KiB (mapped files left out).
long RssAnonKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("RssAnon:", 0) == 0) return std::stol(line.substr(8));
    return -1;
}

// 10,000 Speak calls of one short sentence: memory must not grow.
void BM_RepeatedSpeakMemory(benchmark::State& state) {
    Chain& chain = TheChain();
    if (!chain.error.empty()) {
        state.SkipWithError(chain.error.c_str());
        return;
    }
    const vox::speech::FragmentList piece = vox::speech::FragmentsFromText("Да, 5 раз.");
    vox::speech::CallbackSink sink([](const uint8_t*, size_t) { return true; });
    auto speak = [&](int times) {
        for (int i = 0; i < times; ++i) {
            vox::speech::OutputSite site(sink, chain.format);
            chain.speaker.Speak(piece, site);
        }
    };
    for (auto _ : state) {
        speak(100);  // warm: buffers reach their working size
        const long before = RssAnonKiB();
        speak(10000);
        state.counters["rss_anon_growth_kib"] = double(RssAnonKiB() - before);
        state.counters["rss_anon_kib"] = double(RssAnonKiB());
    }
}
BENCHMARK(BM_RepeatedSpeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
