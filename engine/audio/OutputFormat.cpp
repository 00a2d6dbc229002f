#include "engine/audio/OutputFormat.h"

namespace vox {

WAVEFORMATEX DefaultOutputFormat() {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 1;
    f.nSamplesPerSec = 22050;
    f.nAvgBytesPerSec = 44100;
    f.nBlockAlign = 2;
    f.wBitsPerSample = 16;
    f.cbSize = 0;
    return f;
}

bool IsAcceptedOutputFormat(const WAVEFORMATEX& f) {
    return f.wFormatTag == WAVE_FORMAT_PCM && f.nChannels == 1 && f.nSamplesPerSec != 8000;
}

HRESULT NearestOutputFormat(const WAVEFORMATEX* desired, WAVEFORMATEX& nearest) {
    if (desired == nullptr || desired->wFormatTag != WAVE_FORMAT_PCM) {
        nearest = DefaultOutputFormat();
        return S_FALSE;
    }
    if (desired->nSamplesPerSec == 8000) return E_FAIL;
    nearest.wFormatTag = WAVE_FORMAT_PCM;
    nearest.nChannels = 1;
    nearest.nSamplesPerSec = desired->nSamplesPerSec;
    nearest.wBitsPerSample = desired->wBitsPerSample;
    nearest.nBlockAlign = static_cast<uint16_t>(desired->wBitsPerSample / 8);
    nearest.nAvgBytesPerSec = nearest.nBlockAlign * desired->nSamplesPerSec;
    nearest.cbSize = 0;
    return desired->nChannels == 1 ? S_OK : S_FALSE;
}

}  // namespace vox
