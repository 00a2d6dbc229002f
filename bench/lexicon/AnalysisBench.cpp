// Analysis of running Russian text with numbers, as GetNextSentence does
// it: sentences, words, numbers, stress, clitics and the transcription of
// every word through module 419.1. Reported as words per second.
#include <benchmark/benchmark.h>

#include "lexicon/Glossor.h"
#include "lexicon/TextAnalysis.h"
#include "lexicon/Transcriber.h"
#include "phonetic/module-419-1/Allomod4191.h"
#include "platform/CodePage.h"

namespace {

const char* const kParagraph =
    "В 1999 году в Москве жили 8 миллионов 537 тысяч человек, а в 2020 г. уже 12,6 млн. "
    "Поезд отправляется в 7:30 с третьего пути и прибывает 12.04.2024 к 18:45; билет стоит "
    "2 500 руб. Температура опустилась до -15 градусов, а влажность выросла на 5%. "
    "Здравствуйте, сказал он, и, конечно, мы пошли домой через парк, где росли старые "
    "деревья. Сколько лет прошло с тех пор? Около 25 лет, но я помню каждый день, каждую "
    "минуту того счастливого лета у моря, когда солнце садилось за горы. ";

void Analysis(benchmark::State& state) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += kParagraph;
    const std::string cp = vox::Utf8ToCp1251(text);
    lexicon::StressLexicon stress;
    std::string error;
    stress.OpenDictionary(lexicon::DefaultDictionaryPath(), &error);
    lexicon::Transcriber transcriber(vox::ComPtr<IPhonetic>::Attach(new vox::Allomod_419_1()));
    lexicon::TextAnalysis analysis;
    int64_t words = 0;
    for (auto _ : state) {
        analysis.SetText(cp, nullptr, 0);
        for (int32_t s = 0; s < analysis.SentenceCount(); ++s)
            for (const auto& syntagma : analysis.Words(s, stress, &transcriber))
                words += static_cast<int64_t>(syntagma.words.size());
    }
    state.counters["words/s"] =
        benchmark::Counter(static_cast<double>(words), benchmark::Counter::kIsRate);
}
BENCHMARK(Analysis)->Unit(benchmark::kMillisecond);

}  // namespace
