// The record one `Speak` call passes from stage to stage: what the engine
// lends the phrase (settings, database, phonetic module, format, results), the
// request, and everything built on the way (sound descriptions, units,
// signal, spans, segments).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/audio/EffectState.h"
#include "engine/synthesis/NoiseGenerator.h"
#include "engine/synthesis/PhraseRecords.h"
#include "engine/synthesis/Resynthesis.h"
#include "engine/synthesis/VoiceModels.h"
#include "engine/voice/AudioBase.h"
#include "engine/voice/VoiceProperties.h"
#include "interfaces/IPhonetic.h"
#include "interfaces/IVoxamen.h"

namespace vox {

// The engine's state that a phrase reads and, for the settings, the results
// and the per-object generators, changes.
struct EngineContext {
    VoiceProperties& props;      // re-read at every phrase
    const AudioBase* audioBase;  // may be absent or closed
    IPhonetic* phonetic;         // may be absent
    const WAVEFORMATEX& format;  // output format
    NoiseGenerator& noise;
    VoiceModels& models;
    ResynthesisWorkspace& resynthesis;
    // Results kept for GetPhonemesSizes, GetPhonemesCodes, GetVisemesCodes.
    std::vector<int32_t>& phonemeSizes;
    std::vector<int32_t>& phonemeCodes;
    std::vector<int32_t>& visemeCodes;
    EffectState& effects;  // output filter, reverberation tail, Chambrel buffers
};

// The arguments of IVoxamen::Speak.
struct SpeakRequest {
    const char* phonemes = nullptr;
    const char* syntagmaType = nullptr;
    const CProsodyInfo* prosody = nullptr;  // may be null
    uint8_t** audio = nullptr;
    int32_t* size = nullptr;
};

struct PhraseState {
    PhraseState(EngineContext& e, const SpeakRequest& r) : engine(e), request(r) {}

    EngineContext& engine;
    SpeakRequest request;

    std::string phraseMark;               // before the first "|" of the syntagma type
    std::string finalPauseMark;           // after it
    std::vector<uint64_t> sds;            // one per phoneme, with the phrase type added
    std::vector<std::string> allophones;  // item i belongs to phoneme i
    std::vector<Unit> units;              // one per phoneme
    std::vector<int32_t> voiced;          // indices of units with samples, ascending
    std::vector<int16_t> signal;
    std::vector<UnitSpan> spans;  // one per voiced unit, in signal order
    std::vector<SynthesisSegment> segments;

    const VoiceProperties& Settings() const { return engine.props; }
};

}  // namespace vox
