#include "engine/synthesis/SpeakPipeline.h"

#include <cstring>

#include "engine/Voxamen.h"
#include "engine/audio/OutputConversion.h"
#include "engine/synthesis/Concatenation.h"
#include "engine/synthesis/EffectHooks.h"
#include "engine/synthesis/Fades.h"
#include "engine/synthesis/JoinSmoothing.h"
#include "engine/synthesis/Pauses.h"
#include "engine/synthesis/PhoneticCalls.h"
#include "engine/synthesis/ProsodyHooks.h"
#include "engine/synthesis/SynthesisSegments.h"
#include "engine/synthesis/UnitBuilder.h"
#include "interfaces/SoundDescription.h"
#include "platform/Messages.h"

namespace vox {

namespace {

const CProsodyInfo* Prosody(const PhraseState& s) {
    return s.request.prosody;
}

// Durations or pitch are to change, so the phrase is resynthesised.
bool EntersProsody(const PhraseState& s) {
    const VoiceProperties& p = s.Settings();
    const CProsodyInfo* caller = Prosody(s);
    return p.useFreqProsody || p.rhytmicsEnabled || p.intonationEnabled ||
           (caller != nullptr && (caller->Rate != nullptr || caller->Pitch != nullptr));
}

HRESULT CheckArguments(PhraseState& s) {
    const SpeakRequest& r = s.request;
    if (r.phonemes == nullptr || r.syntagmaType == nullptr || r.audio == nullptr ||
        r.size == nullptr)
        return E_INVALIDARG;
    return S_OK;
}

HRESULT CheckVoice(PhraseState& s) {
    const AudioBase* base = s.engine.audioBase;
    if (base == nullptr || !base->IsOpen() || s.engine.phonetic == nullptr) return E_FAIL;
    return S_OK;
}

HRESULT SplitSyntagmaType(PhraseState& s) {
    const char* bar = std::strchr(s.request.syntagmaType, '|');
    if (bar == nullptr) return E_FAIL;
    s.phraseMark.assign(s.request.syntagmaType, bar);
    s.finalPauseMark.assign(bar + 1);
    return S_OK;
}

HRESULT ReadSettings(PhraseState& s) {
    VoiceProperties& props = s.engine.props;
    const std::string key = props.voiceKey;
    if (!props.Read(key)) {
        MessageBox(kEngineCaption, "Failed to read voice properties for " + key);
        return E_FAIL;
    }
    return S_OK;
}

HRESULT PassDebugVerbosity(PhraseState& s) {
    (void)s.engine.phonetic->SetDebugVerbosity(s.Settings().debugVerbosity);
    return S_OK;
}

HRESULT GetSoundDescriptions(PhraseState& s) {
    s.sds = SoundDescriptions(*s.engine.phonetic, s.request.phonemes);
    if (s.sds.size() < 3 || !HasBit(s.sds.front(), sd::Terminator) ||
        !HasBit(s.sds.back(), sd::Terminator))
        return E_INVALIDARG;
    return S_OK;
}

HRESULT AddPhraseTypeStage(PhraseState& s) {
    AddPhraseType(s.sds, s.phraseMark);
    return S_OK;
}

HRESULT GetCodes(PhraseState& s) {
    s.engine.phonemeCodes = PhonemesCodes(*s.engine.phonetic, s.request.phonemes);
    s.engine.visemeCodes = VisemesCodes(*s.engine.phonetic, s.request.phonemes);
    return S_OK;
}

HRESULT GetAllophones(PhraseState& s) {
    s.allophones =
        SplitListKeepingEmpty(PhonemesToAllophones(*s.engine.phonetic, s.request.phonemes));
    return S_OK;
}

HRESULT BuildUnitsStage(PhraseState& s) {
    BuildUnits(s);
    return S_OK;
}

HRESULT FormVoicedList(PhraseState& s) {
    s.voiced = VoicedList(s.units);
    return S_OK;
}

HRESULT AmplitudeContour(PhraseState& s) {
    if (s.Settings().useAmpContour) ApplyAmplitudeContour(s);
    return S_OK;
}

HRESULT SmoothJoinsStage(PhraseState& s) {
    SmoothJoins(s.units, s.sds, s.voiced, s.Settings().maxCut);
    return S_OK;
}

HRESULT ConcatenateStage(PhraseState& s) {
    Concatenate(s.units, s.voiced, s.allophones, s.signal, s.spans);
    return S_OK;
}

HRESULT MakeSegmentsStage(PhraseState& s) {
    s.segments = MakeSegments(s.units, s.spans, s.signal.size(), s.Settings().maxCut);
    return S_OK;
}

HRESULT FrequencyProsody(PhraseState& s) {
    if (EntersProsody(s) && s.Settings().useFreqProsody) ApplyFrequencyProsody(s);
    return S_OK;
}

HRESULT Rhythmics(PhraseState& s) {
    if (!EntersProsody(s) || !s.Settings().rhytmicsEnabled) return S_OK;
    const std::vector<float> factors = RhythmicDurationFactors(s);
    if (!factors.empty()) SetSpanTimeFactors(factors, s.spans, s.segments);
    return S_OK;
}

HRESULT Intonation(PhraseState& s) {
    if (EntersProsody(s) && s.Settings().intonationEnabled) ApplyIntonation(s);
    return S_OK;
}

HRESULT CallerRateAndPitch(PhraseState& s) {
    const CProsodyInfo* caller = Prosody(s);
    if (caller == nullptr) return S_OK;
    if (caller->Rate != nullptr) ApplyCallerRate(s, caller->Rate);
    if (caller->Pitch != nullptr) ApplyCallerPitch(s, caller->Pitch);
    return S_OK;
}

HRESULT ResynthesisStage(PhraseState& s) {
    if (EntersProsody(s)) Resynthesise(s.signal, s.segments, s.spans, s.engine.resynthesis);
    return S_OK;
}

HRESULT PhraseFades(PhraseState& s) {
    FadeEnds(s.signal, kPhraseFadeLength);
    return S_OK;
}

HRESULT PhonemeSizesStage(PhraseState& s) {
    s.engine.phonemeSizes = PhonemeSizes(s.units.size(), s.spans);
    return S_OK;
}

HRESULT CallerVolume(PhraseState& s) {
    const CProsodyInfo* caller = Prosody(s);
    if (caller != nullptr && caller->Volume != nullptr) ApplyCallerVolume(s, caller->Volume);
    return S_OK;
}

HRESULT Chambrel(PhraseState& s) {
    if (s.Settings().chambrelEnabled) ApplyChambrel(s);
    return S_OK;
}

HRESULT Reverberation(PhraseState& s) {
    if (s.Settings().reverEnabled)
        ApplyReverberation(s);
    else
        s.engine.effects.reverberation.ForgetTail();  // no stale tail when it comes back on
    return S_OK;
}

HRESULT OutputFilter(PhraseState& s) {
    if (s.Settings().filterEnabled) ApplyOutputFilter(s);
    return S_OK;
}

HRESULT Deliver(PhraseState& s) {
    return ConvertAndDeliver(std::move(s.signal), s.engine.phonemeSizes, s.engine.format,
                             s.request.audio, s.request.size);
}

constexpr SpeakStage kStages[] = {
    {"arguments", CheckArguments},
    {"voice", CheckVoice},
    {"syntagma type", SplitSyntagmaType},
    {"settings", ReadSettings},
    {"debug verbosity", PassDebugVerbosity},
    {"sound descriptions", GetSoundDescriptions},
    {"phrase type", AddPhraseTypeStage},
    {"codes", GetCodes},
    {"allophones", GetAllophones},
    {"units", BuildUnitsStage},
    {"voiced list", FormVoicedList},
    {"amplitude contour", AmplitudeContour},
    {"joins", SmoothJoinsStage},
    {"concatenation", ConcatenateStage},
    {"segments", MakeSegmentsStage},
    // Prosody: entered when any of its switches is on or the caller gave
    // rate or pitch; resynthesis then always runs.
    {"frequency prosody", FrequencyProsody},
    {"rhythmics", Rhythmics},
    {"intonation", Intonation},
    {"caller rate and pitch", CallerRateAndPitch},
    {"resynthesis", ResynthesisStage},
    {"fades", PhraseFades},
    {"phoneme sizes", PhonemeSizesStage},
    {"caller volume", CallerVolume},
    {"Chambrel", Chambrel},
    {"reverberation", Reverberation},
    {"filter", OutputFilter},
    {"output", Deliver},
};

}  // namespace

std::span<const SpeakStage> SpeakStages() {
    return kStages;
}

HRESULT RunStage(const SpeakStage& stage, PhraseState& state) {
    try {
        return stage.run(state);
    } catch (const ComError& e) {
        return e.Result();
    }
}

HRESULT RunSpeak(PhraseState& state, std::string_view lastStage) {
    for (const SpeakStage& stage : kStages) {
        const HRESULT hr = RunStage(stage, state);
        if (hr != S_OK) return hr;
        if (stage.name == lastStage) break;
    }
    return S_OK;
}

}  // namespace vox
