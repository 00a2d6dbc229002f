// The audio effects' state kept per engine object: the output filter, the
// reverberation with its tail, the Chambrel effect, each with buffers that
// grow to the longest phrase and are reused.
#pragma once

#include "engine/audio/Chambrel.h"
#include "engine/audio/Filter.h"
#include "engine/audio/Reverberation.h"

namespace vox {

struct EffectState {
    CFilter outputFilter;
    Reverberation reverberation;
    Chambrel chambrel;
};

}  // namespace vox
