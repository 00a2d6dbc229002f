#include "speech/OutputSite.h"

#include "platform/Utf16.h"

namespace vox::speech {

OutputSite::OutputSite(AudioSink& sink, const WAVEFORMATEX& format)
    : sink_(sink), format_(format) {}

void OutputSite::BeginPiece(const FragmentList& piece) {
    piece_ = &piece;
    pieceStart_ = written_;
}

void OutputSite::EndPiece() {
    piece_ = nullptr;
    pieceStart_ = written_;
}

bool OutputSite::Aborted() const {
    return abort_.load() || (abortFlag_ != nullptr && abortFlag_->load());
}

uint32_t OutputSite::GetActions() {
    return Aborted() ? SPVES_ABORT : SPVES_CONTINUE;
}

HRESULT OutputSite::Write(const void* pBuff, uint32_t cb, uint32_t* pcbWritten) {
    if (pcbWritten != nullptr) *pcbWritten = 0;
    if (cb == 0) return S_OK;
    if (pBuff == nullptr) return E_POINTER;
    if (Aborted()) return SP_AUDIO_STOPPED;
    if (!sink_.Write(static_cast<const uint8_t*>(pBuff), cb)) {
        abort_.store(true);
        return SP_AUDIO_STOPPED;
    }
    written_ += cb;
    if (pcbWritten != nullptr) *pcbWritten = cb;
    return S_OK;
}

HRESULT OutputSite::GetRate(int32_t* pRateAdjust) {
    if (pRateAdjust == nullptr) return E_POINTER;
    *pRateAdjust = rate_;
    return S_OK;
}

HRESULT OutputSite::GetVolume(uint16_t* pusVolume) {
    if (pusVolume == nullptr) return E_POINTER;
    *pusVolume = volume_;
    return S_OK;
}

HRESULT OutputSite::GetSkipInfo(SPVSKIPTYPE* peType, int32_t* plNumItems) {
    if (peType == nullptr || plNumItems == nullptr) return E_POINTER;
    *peType = SPVST_SENTENCE;
    *plNumItems = 0;
    return S_OK;
}

HRESULT OutputSite::CompleteSkip(int32_t) {
    return S_OK;
}

HRESULT OutputSite::GetEventInterest(uint64_t* pullEventInterest) {
    if (pullEventInterest == nullptr) return E_POINTER;
    *pullEventInterest = ~uint64_t{0};
    return S_OK;
}

HRESULT OutputSite::AddEvents(const SPEVENT* pEventArray, uint32_t ulCount) {
    if (pEventArray == nullptr && ulCount > 0) return E_POINTER;
    if (!onEvent_) return S_OK;
    return Guarded([&] {
        for (uint32_t i = 0; i < ulCount; ++i) Translate(pEventArray[i]);
        return S_OK;
    });
}

void OutputSite::Translate(const SPEVENT& e) {
    SpeechEvent out;
    out.bytes = pieceStart_ + e.ullAudioStreamOffset;
    out.ms = format_.nAvgBytesPerSec ? out.bytes * 1000 / format_.nAvgBytesPerSec : 0;
    auto position = [&](uint64_t utf16Offset) {
        return piece_ != nullptr ? piece_->CharacterIndex(utf16Offset) : utf16Offset;
    };
    switch (e.eEventId) {
        case SPEI_SENTENCE_BOUNDARY:
        case SPEI_WORD_BOUNDARY: {
            const auto at = static_cast<uint64_t>(e.lParam);
            const auto length = static_cast<uint64_t>(e.wParam);
            out.type = e.eEventId == SPEI_WORD_BOUNDARY ? EventType::Word : EventType::Sentence;
            out.pos = position(at);
            out.len = position(at + length) - out.pos;
            if (out.type == EventType::Word && piece_ != nullptr && at < piece_->Source().size())
                out.text = Utf16ToUtf8(std::u16string_view(piece_->Source()).substr(at, length));
            break;
        }
        case SPEI_PHONEME:
        case SPEI_VISEME:
            out.type = e.eEventId == SPEI_PHONEME ? EventType::Phoneme : EventType::Viseme;
            out.code = static_cast<int32_t>(e.lParam);
            out.durationMs = static_cast<uint32_t>(e.wParam >> 16);
            if (out.type == EventType::Phoneme && namer_) out.phoneme = namer_(out.code);
            break;
        case SPEI_TTS_BOOKMARK:
            out.type = EventType::Bookmark;
            if (e.elParamType == SPET_LPARAM_IS_STRING && e.lParam != 0)
                out.text = Utf16ToUtf8(reinterpret_cast<const char16_t*>(e.lParam));
            break;
        default:
            return;
    }
    onEvent_(out);
}

}  // namespace vox::speech
