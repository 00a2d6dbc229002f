// The prosody steps of the phrase pipeline over the voice's models.
#include "engine/synthesis/ProsodyHooks.h"

#include "engine/prosody/AmpProfile.h"
#include "engine/prosody/CallerProsody.h"
#include "engine/prosody/IntonationContour.h"
#include "engine/synthesis/PhoneticCalls.h"
#include "interfaces/SoundDescription.h"

namespace vox {

namespace {

std::vector<int32_t> UnitLengths(const PhraseState& state) {
    std::vector<int32_t> lengths(state.sds.size(), 0);
    for (size_t i = 0; i < lengths.size() && i < state.units.size(); ++i)
        lengths[i] = static_cast<int32_t>(state.units[i].samples.size());
    return lengths;
}

// The phoneme names of the request, one per phoneme.
std::vector<std::string> PhonemeNames(const PhraseState& state) {
    std::vector<std::string> names = SplitListKeepingEmpty(state.request.phonemes);
    names.resize(state.sds.size());
    return names;
}

const ProsodicEntry* EntryOf(const ProsodicDataset& dataset, const Unit& unit,
                             const std::string& allophone) {
    const ProsodicEntry* e = dataset.Lookup(unit.name);
    return e != nullptr ? e : dataset.Lookup(allophone);
}

WordSteps Steps(const PhraseState& state, const int8_t* steps) {
    const CProsodyInfo* info = state.request.prosody;
    return {steps, info != nullptr ? info->nWords : 0};
}

}  // namespace

void NormaliseUnitLoudness(PhraseState& state, Unit& unit, const std::string& allophone) {
    NormaliseLoudness(state.engine.models.dataset, allophone, unit);
}

void ApplyAmplitudeContour(PhraseState& state) {
    const VoiceModels& models = state.engine.models;
    if (!models.amp.HasRules()) return;
    const std::vector<std::string> phonemes = PhonemeNames(state);
    std::vector<AmpUnit> units;
    units.reserve(state.voiced.size());
    for (int32_t i : state.voiced) {
        Unit& unit = state.units[static_cast<size_t>(i)];
        const uint64_t sd = state.sds[static_cast<size_t>(i)];
        const std::string& allophone =
            static_cast<size_t>(i) < state.allophones.size() ? state.allophones[i] : unit.name;
        units.push_back({&unit, unit.name, phonemes[static_cast<size_t>(i)],
                         HasBit(sd, sd::Intonable), HasBit(sd, sd::Plosive),
                         EntryOf(models.dataset, unit, allophone)});
    }
    ApplyAmplitudeContours(models.amp, units, state.Settings().maxCut);
}

void ApplyFrequencyProsody(PhraseState& state) {
    const ProsodicDataset& dataset = state.engine.models.dataset;
    if (!dataset.IsLoaded()) return;
    std::vector<DatasetUnit> units;
    units.reserve(state.spans.size());
    for (const UnitSpan& span : state.spans) {
        const size_t i = static_cast<size_t>(span.unitIndex);
        const ProsodicEntry* e = EntryOf(dataset, state.units[i], span.allophone);
        units.push_back({span.start, span.length, HasBit(state.sds[i], sd::Intonable),
                         e != nullptr && e->frequency > 0 ? e : nullptr});
    }
    ApplyDatasetPitch(units, state.segments);
}

std::vector<float> RhythmicDurationFactors(PhraseState& state) {
    VoiceModels& models = state.engine.models;
    if (models.rhythmics.RuleCount() == 0) return {};
    models.rhythmics.ForUtterance(state.sds, models.rhythmicsResults);
    const AudioBase& base = *state.engine.audioBase;
    IPhonetic& module = *state.engine.phonetic;
    return DurationFactors(models.rhythmicsResults, UnitLengths(state), [&](size_t i) {
        const Unit& unit = state.units[i];
        if (unit.name.empty()) return int32_t{0};
        return base.UnitLength(BasicAllophone(module, unit.name));
    });
}

void ApplyIntonation(PhraseState& state) {
    VoiceModels& models = state.engine.models;
    const VoiceProperties& props = state.Settings();
    const std::vector<int32_t> lengths = UnitLengths(state);
    IntonationScale scale{static_cast<double>(props.intonationLowFreq),
                          static_cast<double>(props.intonationHighFreq), props.useNewIntonation};
    if (props.useNewIntonation) {
        models.intonationNew.Prepare(state.phraseMark, state.sds, lengths, models.pitchCurve,
                                     models.tempoCurve);
    } else {
        PrepareProfileIntonation(models.intonation, state.phraseMark, state.sds, lengths,
                                 models.pitchCurve);
        models.tempoCurve.clear();
    }
    if (props.useAbsoluteIntonation)
        ApplyAbsoluteIntonation(models.pitchCurve, models.tempoCurve, scale, state.segments);
    else
        ApplyRelativeIntonation(models.pitchCurve, models.tempoCurve, scale, state.segments);
}

void ApplyCallerRate(PhraseState& state, const int8_t* rate) {
    ApplyCallerRateSteps(state.sds, state.spans, Steps(state, rate), state.segments);
}

void ApplyCallerPitch(PhraseState& state, const int8_t* pitch) {
    ApplyCallerPitchSteps(state.sds, state.spans, Steps(state, pitch), state.segments);
}

void ApplyCallerVolume(PhraseState& state, const int8_t* volume) {
    ApplyCallerVolumeSteps(state.sds, state.spans, Steps(state, volume), state.signal);
}

}  // namespace vox
