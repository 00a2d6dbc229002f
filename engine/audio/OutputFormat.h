// Format negotiation: the engine produces mono PCM at any rate but 8000 Hz,
// 16-bit or (for every other sample width) unsigned 8-bit.
#pragma once

#include "interfaces/ComTypes.h"
#include "interfaces/WaveFormat.h"

namespace vox {

// PCM, mono, 22050 samples per second, 16 bits.
WAVEFORMATEX DefaultOutputFormat();

// SetFormat's test: PCM, mono and not 8000 Hz.
bool IsAcceptedOutputFormat(const WAVEFORMATEX& format);

// GetOutputFormat: fills `nearest`; S_OK, S_FALSE (other channel count, or no
// or non-PCM desired format) or E_FAIL (8000 Hz).
HRESULT NearestOutputFormat(const WAVEFORMATEX* desired, WAVEFORMATEX& nearest);

}  // namespace vox
