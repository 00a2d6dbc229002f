// The engine state a phrase needs, made of fakes: an in-memory database, a
// fake phonetic module and a voice "Test" written into the current registry
// (point VOXAMEN_REGISTRY_DIR at a temporary folder first).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/synthesis/PhraseState.h"
#include "tests/engine/fakes/FakePhonetic.h"
#include "tests/engine/fakes/MemoryAudioBase.h"

namespace vox::test {

class TestEngine {
  public:
    TestEngine();  // writes the voice's machine key; adds AddTestInventory

    // A user setting of the voice ("" = the voice key itself, or "Pauses"…).
    void SetUserDword(const std::string& subkey, const std::string& name, uint32_t value);
    void SetMachineDword(const std::string& name, uint32_t value);

    // Runs the pipeline (up to `lastStage`); the delivered block is copied
    // into `audio` and freed.
    HRESULT Speak(const char* phonemes, const char* syntagmaType,
                  const CProsodyInfo* prosody = nullptr, std::string_view lastStage = {});
    // The state of the last Speak (for tests that stop after a stage).
    PhraseState& Last() { return *last_; }
    EngineContext& Context() { return context_; }

    VoiceProperties props;
    MemoryAudioBase base;
    ComPtr<FakePhonetic> phonetic;
    WAVEFORMATEX format;
    NoiseGenerator noise;
    VoiceModels models;
    ResynthesisWorkspace workspace;
    EffectState effects;
    std::vector<int32_t> sizes, codes, visemes;
    std::vector<uint8_t> audio;
    std::vector<int16_t> Samples() const;  // `audio` as 16-bit samples

  private:
    EngineContext context_;
    std::unique_ptr<PhraseState> last_;
};

inline constexpr const char* kTestVoiceKey = "Test";

// A voiced unit: `periods` periods of `period` samples of a decaying pulse
// train, a mark at each period start.
Unit VoicedUnit(const std::string& name, int periods, int period, int16_t amplitude = 8000);
// An unvoiced unit of pseudo-random samples, no marks.
Unit NoiseUnit(const std::string& name, int length, int16_t amplitude = 2000);

}  // namespace vox::test
