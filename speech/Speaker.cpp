#include "speech/Speaker.h"

#include "platform/ComBinding.h"
#include "platform/Hresult.h"

namespace vox::speech {

bool Speaker::Open(const TokenInfo& voice, std::string& error) {
    ComPtr<ISpObjectToken> token = OpenToken(voice.id);
    if (!token) {
        error = "the voice token \"" + voice.id + "\" does not exist";
        return false;
    }
    const HRESULT hr =
        token->CreateInstance(nullptr, CLSCTX_ALL, IID_ISpTTSEngine, engine_.PutVoid());
    if (FAILED(hr)) {
        error = "the voice \"" + voice.key + "\" cannot be started: " + HresultText(hr);
        if (!LastBindingError().empty()) error += " (" + LastBindingError() + ")";
        return false;
    }
    return true;
}

bool Speaker::NegotiateFormat(uint32_t rate, uint16_t bits, WAVEFORMATEX& format,
                              std::string& error) {
    const uint16_t align = bits == 8 ? 1 : 2;
    const WAVEFORMATEX wish{WAVE_FORMAT_PCM, 1, rate, rate * align, align, bits, 0};
    GUID id = SPDFID_WaveFormatEx;
    GUID outId{};
    WAVEFORMATEX* nearest = nullptr;
    const HRESULT hr = engine_->GetOutputFormat(&id, &wish, &outId, &nearest);
    CoTaskMemPtr<WAVEFORMATEX> owned(nearest);
    if (FAILED(hr) || nearest == nullptr || outId != SPDFID_WaveFormatEx) {
        error = "the voice cannot produce " + std::to_string(rate) + " Hz, " +
                std::to_string(bits) + " bits: " + HresultText(hr);
        return false;
    }
    format = format_ = *nearest;
    return true;
}

HRESULT Speaker::Speak(const FragmentList& piece, OutputSite& site, uint32_t flags) {
    if (piece.Head() == nullptr) return S_OK;
    site.BeginPiece(piece);
    const HRESULT hr = engine_->Speak(flags, SPDFID_WaveFormatEx, &format_, piece.Head(), &site);
    site.EndPiece();
    return hr;
}

}  // namespace vox::speech
