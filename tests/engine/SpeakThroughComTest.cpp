// The engine as a client sees it: voxamen.so and a phonetic module
// registered into a temporary registry, a synthetic voice whose units are
// named after the allophones the module gives, then CoCreateInstance →
// SetVoice → Speak. Sizes and audio are predicted from the voice.
#include <gtest/gtest.h>

#include <numeric>

#include "engine/synthesis/Pauses.h"
#include "engine/synthesis/PhoneticCalls.h"
#include "interfaces/IPhonetic.h"
#include "interfaces/IVoxamen.h"
#include "platform/ComKit.h"
#include "platform/Text.h"
#include "support/ServerLibrary.h"
#include "support/SyntheticVoice.h"
#include "support/TempRegistry.h"

namespace vox {
namespace {

constexpr const char* kPhrase = "#,M,A0,S,A2,_,L,U0,#";
// The voice gets no unit for the allophone of "O1" (position 4), nor for
// its substitute.
constexpr const char* kUncoveredPhrase = "#,M,A0,S,O1,_,L,U0,#";
constexpr int32_t kUncovered = 4;
constexpr uint64_t kIntonable = uint64_t{1} << 60;

template <class I>
ComPtr<I> Create(const CLSID& clsid, const IID& iid) {
    ComPtr<I> object;
    CreateRunningObject(clsid, iid, object.PutVoid());
    return object;
}

std::vector<int32_t> Result(IVoxamen& engine, HRESULT (IVoxamen::*call)(int32_t**, int32_t*)) {
    int32_t* values = nullptr;
    int32_t count = 0;
    EXPECT_EQ((engine.*call)(&values, &count), S_OK);
    CoTaskMemPtr<int32_t> owned(values);
    return std::vector<int32_t>(values, values + count);
}

class SpeakThroughCom : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(engineLibrary_.Loaded() && moduleLibrary_.Loaded());
        ASSERT_EQ(engineLibrary_.Register(), S_OK);
        ASSERT_EQ(moduleLibrary_.Register(), S_OK);
        ComPtr<IPhonetic> module = Create<IPhonetic>(CLSID_Allomod_419_1, IID_IPhonetic);
        ASSERT_TRUE(module);
        AddUnits(*module.Get(), kPhrase, expectedSizes_);
        AddUnits(*module.Get(), kUncoveredPhrase, uncoveredSizes_, kUncovered);
        voice_.Write(dir_.File("synth.abs"));
        test::InstallSyntheticVoice(registry_, "synth", dir_.File("synth.abs"), "419", "1");
        engine_ = Create<IVoxamen>(CLSID_Voxamen, IID_IVoxamen);
        ASSERT_TRUE(engine_);
        ASSERT_EQ(engine_->SetVoice("synth"), S_OK);
    }

    // One unit per allophone of the phrase: a vowel-like pulse train for
    // intonable sounds, noise for the others; and the sizes they must give.
    void AddUnits(IPhonetic& module, const char* phrase, std::vector<int32_t>& sizes,
                  int32_t leftOut = -1) {
        char* list = nullptr;
        ASSERT_EQ(module.PhonemesToAllophones(phrase, &list), S_OK);
        CoTaskMemPtr<char> ownedList(list);
        uint64_t* sds = nullptr;
        int32_t count = 0;
        ASSERT_EQ(module.GetSoundDescriptions(phrase, &sds, &count), S_OK);
        CoTaskMemPtr<uint64_t> ownedSds(sds);
        const std::vector<std::string> allophones = SplitListKeepingEmpty(list);
        ASSERT_EQ(allophones.size(), static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i) {
            const std::string& a = allophones[i];
            if (a == "#" || a == "_" || a.empty() || i == leftOut) {
                sizes.push_back(i == count - 1 ? PauseLength(VoiceProperties{}, "(..)") : 0);
                continue;
            }
            const Unit* known = voice_.Find(a);
            const Unit unit = known != nullptr        ? *known
                              : (sds[i] & kIntonable) ? voice_.AddVowel(a, 5 + i)
                                                      : voice_.AddNoise(a, 700 + 50 * i);
            sizes.push_back(static_cast<int32_t>(unit.samples.size()));
        }
        if (std::string_view(phrase) == kPhrase) allophones_ = allophones;
    }

    std::vector<uint8_t> Speak(const char* phrase = kPhrase) {
        uint8_t* audio = nullptr;
        int32_t size = 0;
        EXPECT_EQ(engine_->Speak(phrase, "(.)|(..)", nullptr, &audio, &size), S_OK);
        CoTaskMemPtr<uint8_t> owned(audio);
        return std::vector<uint8_t>(audio, audio + size);
    }

    void SetRate(uint32_t rate, uint16_t bits) {
        const WAVEFORMATEX desired{
            WAVE_FORMAT_PCM, 1, rate, rate * bits / 8, static_cast<uint16_t>(bits / 8), bits, 0};
        WAVEFORMATEX nearest{};
        ASSERT_EQ(engine_->GetOutputFormat(&desired, &nearest), S_OK);
        ASSERT_EQ(engine_->SetFormat(&nearest), S_OK);
    }

    test::TempRegistry registry_;
    test::TempDir dir_;
    test::ServerLibrary engineLibrary_{"voxamen.so"};
    test::ServerLibrary moduleLibrary_{"allomod-419-1.so"};
    test::SyntheticVoice voice_;
    std::vector<std::string> allophones_;
    std::vector<int32_t> expectedSizes_, uncoveredSizes_;
    ComPtr<IVoxamen> engine_;
};

TEST_F(SpeakThroughCom, AudioAndSizesFollowTheVoice) {
    const std::vector<uint8_t> audio = Speak();
    EXPECT_EQ(Result(*engine_.Get(), &IVoxamen::GetPhonemesSizes), expectedSizes_);
    const int32_t total = std::accumulate(expectedSizes_.begin(), expectedSizes_.end(), 0);
    ASSERT_EQ(audio.size(), 2u * total);
    EXPECT_EQ(Result(*engine_.Get(), &IVoxamen::GetPhonemesCodes).size(), allophones_.size());
    EXPECT_EQ(Result(*engine_.Get(), &IVoxamen::GetVisemesCodes).size(), allophones_.size());

    // The first unit's middle (beyond the fade, before the join) is the recording.
    const Unit* first = voice_.Find(allophones_[1]);
    ASSERT_NE(first, nullptr);
    for (size_t k = 100; k + 150 < first->samples.size(); ++k)
        ASSERT_EQ(static_cast<int16_t>(audio[2 * k] | audio[2 * k + 1] << 8), first->samples[k])
            << k;
    EXPECT_EQ(audio[0] | audio[1] << 8, 0);  // faded in
}

TEST_F(SpeakThroughCom, APhonemeWithoutAllophoneKeepsTheOthersInPlace) {
    const std::vector<uint8_t> audio = Speak(kUncoveredPhrase);
    EXPECT_EQ(uncoveredSizes_[kUncovered], 0);
    EXPECT_EQ(Result(*engine_.Get(), &IVoxamen::GetPhonemesSizes), uncoveredSizes_);
    EXPECT_EQ(audio.size(),
              2u * std::accumulate(uncoveredSizes_.begin(), uncoveredSizes_.end(), 0));
}

TEST_F(SpeakThroughCom, OtherFormatsScaleAudioAndSizes) {
    const int32_t total = std::accumulate(expectedSizes_.begin(), expectedSizes_.end(), 0);
    SetRate(44100, 16);
    EXPECT_EQ(Speak().size(), 4u * total);
    std::vector<int32_t> doubled = expectedSizes_;
    for (int32_t& s : doubled) s *= 2;
    EXPECT_EQ(Result(*engine_.Get(), &IVoxamen::GetPhonemesSizes), doubled);

    SetRate(11025, 8);
    const std::vector<uint8_t> eightBit = Speak();
    EXPECT_EQ(eightBit.size(), static_cast<size_t>(total / 2));
    EXPECT_EQ(eightBit.back(), 127);  // silence of the final pause
    std::vector<int32_t> quarter = expectedSizes_;
    for (int32_t& s : quarter) s = static_cast<int32_t>(s * 0.25);
    EXPECT_EQ(Result(*engine_.Get(), &IVoxamen::GetPhonemesSizes), quarter);
}

TEST_F(SpeakThroughCom, BadPhrasesAreRefused) {
    uint8_t* audio = nullptr;
    int32_t size = 0;
    EXPECT_EQ(engine_->Speak(kPhrase, "(.)", nullptr, &audio, &size), E_FAIL);
    EXPECT_EQ(engine_->Speak("#,M,A0", "(.)|(.)", nullptr, &audio, &size), E_INVALIDARG);
    EXPECT_EQ(engine_->Speak(kPhrase, "(.)|(.)", nullptr, nullptr, &size), E_INVALIDARG);
    EXPECT_EQ(audio, nullptr);
}

}  // namespace
}  // namespace vox
