// Letter-to-phoneme conversion of a 10,000-character Russian text with stress
// marks, the size of a long paragraph handed to `voxamen transcribe`.
#include <benchmark/benchmark.h>

#include <string>

#include "phonetic/LetterToPhoneme.h"
#include "platform/CodePage.h"

namespace {

constexpr std::size_t kTextSize = 10000;

constexpr const char* kParagraph =
    "В после+дний раз мы ви+делись на вокза+ле, когда+ по+езд уже+ тро+нулся. "
    "Ве+тер гоня+л по перро+ну жёлтые ли+стья, и где-то вдали+ игра+л орке+стр. "
    "Здра+вствуй, сказа+л он, и улыбну+лся так, как улыба+ются то+лько ста+рые "
    "друзья+. Мы говори+ли о пого+де, о счастли+вых деся+тках лет, о мя+гком "
    "хле+бе и кре+пком ча+е, кото+рый зава+ривала его+ мать. Подъе+зд их до+ма "
    "всегда+ па+х яблоками, а в гво+здь над две+рью ве+шали ключи+. ";

std::string RussianText() {
    std::string text;
    while (text.size() < kTextSize) text += vox::Utf8ToCp1251(kParagraph);
    text.resize(kTextSize);
    return text;
}

void BM_LettersToPhonemes10k(benchmark::State& state) {
    const std::string text = RussianText();
    std::size_t phonemeBytes = 0;
    for (auto _ : state) {
        const std::string phonemes = vox::LettersToPhonemes(text, {});
        phonemeBytes = phonemes.size();
        benchmark::DoNotOptimize(phonemes.data());
    }
    if (phonemeBytes == 0) state.SkipWithError("the text gave no phrase");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["phoneme_bytes"] = static_cast<double>(phonemeBytes);
}
BENCHMARK(BM_LettersToPhonemes10k)->Unit(benchmark::kMicrosecond);

}  // namespace
