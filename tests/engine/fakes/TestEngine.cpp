#include "tests/engine/fakes/TestEngine.h"

#include <cmath>
#include <numbers>

#include "engine/audio/OutputFormat.h"
#include "engine/synthesis/SpeakPipeline.h"
#include "platform/ComBinding.h"
#include "platform/Registry.h"

namespace vox::test {

namespace {

std::string VoicePath(const std::string& subkey) {
    std::string path = VoiceRoot() + "\\" + kTestVoiceKey;
    return subkey.empty() ? path : path + "\\" + subkey;
}

}  // namespace

TestEngine::TestEngine()
    : phonetic(ComPtr<FakePhonetic>::Attach(new FakePhonetic())),
      format(DefaultOutputFormat()),
      context_{props,     &base, phonetic.Get(), format,  noise,  models,
               workspace, sizes, codes,          visemes, effects} {
    reg::Key key;
    reg::Key::Create(reg::Root::LocalMachine, VoicePath(""), key);
    key.SetText("VoiceData", "memory");
    key.SetText("Language", "419");
    props.voiceKey = kTestVoiceKey;
    AddTestInventory(*phonetic.Get());
}

void TestEngine::SetUserDword(const std::string& subkey, const std::string& name, uint32_t value) {
    reg::Key key;
    reg::Key::Create(reg::Root::CurrentUser, VoicePath(subkey), key);
    key.SetDword(name, value);
}

void TestEngine::SetMachineDword(const std::string& name, uint32_t value) {
    reg::Key key;
    reg::Key::Create(reg::Root::LocalMachine, VoicePath(""), key);
    key.SetDword(name, value);
}

HRESULT TestEngine::Speak(const char* phonemes, const char* syntagmaType,
                          const CProsodyInfo* prosody, std::string_view lastStage) {
    uint8_t* block = nullptr;
    int32_t size = 0;
    last_ = std::make_unique<PhraseState>(
        context_, SpeakRequest{phonemes, syntagmaType, prosody, &block, &size});
    const HRESULT hr = RunSpeak(*last_, lastStage);
    audio.assign(block, block + (block != nullptr ? size : 0));
    CoTaskMemFree(block);
    return hr;
}

std::vector<int16_t> TestEngine::Samples() const {
    std::vector<int16_t> samples(audio.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(audio[2 * i] | (audio[2 * i + 1] << 8));
    return samples;
}

Unit VoicedUnit(const std::string& name, int periods, int period, int16_t amplitude) {
    Unit unit{name, {}, {}};
    for (int p = 0; p < periods; ++p) {
        unit.marks.push_back(p * period);
        for (int j = 0; j < period; ++j) {
            const double decay = std::exp(-4.0 * j / period);
            const double wave = std::sin(2 * std::numbers::pi * 3 * j / period);
            unit.samples.push_back(static_cast<int16_t>(amplitude * decay * wave + amplitude / 4));
        }
    }
    return unit;
}

Unit NoiseUnit(const std::string& name, int length, int16_t amplitude) {
    Unit unit{name, {}, {}};
    uint32_t state = 12345;
    for (int i = 0; i < length; ++i) {
        state = state * 1664525u + 1013904223u;
        unit.samples.push_back(
            static_cast<int16_t>(static_cast<int32_t>(state >> 16) % (2 * amplitude) - amplitude));
    }
    return unit;
}

}  // namespace vox::test
