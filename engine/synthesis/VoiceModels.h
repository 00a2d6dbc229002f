// The voice's prosody models and the effect state kept between phrases
// (intonation profile, new intonation model, rhythmics model, prosodic
// dataset, amplitude profile, reverberation tail). The engine owns one; the
// prosody and effect stages of the phrase pipeline read it.
#pragma once

#include <string>
#include <vector>

#include "engine/prosody/AmpProfile.h"
#include "engine/prosody/IntonationNewBase.h"
#include "engine/prosody/IntonationProfile.h"
#include "engine/prosody/ProsodicDataset.h"
#include "engine/prosody/RhythmicsModel.h"

namespace vox {

struct VoiceModels {
    IntonationProfile intonation;
    IntonationNewBase intonationNew;
    RhythmicsModel rhythmics;
    ProsodicDataset dataset;
    AmpProfile amp;

    // Per-phrase buffers, kept so that a phrase allocates only when it is
    // longer than every phrase before it.
    std::vector<RhythmicsResult> rhythmicsResults;
    std::vector<float> pitchCurve, tempoCurve;
};

// The five files of the voice in `directory` ("Rhytmics.cfg",
// "Intonation.cfg", "IntonationNew.cfg", "Pros.cfg", "Amp.cfg"). A missing or
// bad file leaves its model empty or partly filled, with its loader's
// message; the voice goes on whatever they hold.
void LoadVoiceModels(VoiceModels& models, const std::string& directory);

}  // namespace vox
