// `Speak` as a sequence of named stages over one PhraseState: checks,
// settings, phonetic module, units, pauses, joins, concatenation, segments,
// prosody, resynthesis, fades, sizes, effects, output. Each stage returns an
// HRESULT; the first that is not S_OK ends the phrase with it. Tools and
// tests can stop after any stage.
#pragma once

#include <span>
#include <string_view>

#include "engine/synthesis/PhraseState.h"

namespace vox {

struct SpeakStage {
    std::string_view name;
    HRESULT (*run)(PhraseState& state);
};

// The stages in order.
std::span<const SpeakStage> SpeakStages();

// Runs the stages in order, up to and including `lastStage` (all of them
// when empty). A failing phonetic module call ends the phrase with its
// HRESULT.
HRESULT RunSpeak(PhraseState& state, std::string_view lastStage = {});

// Runs one stage, turning a failing phonetic module call into its HRESULT.
HRESULT RunStage(const SpeakStage& stage, PhraseState& state);

}  // namespace vox
