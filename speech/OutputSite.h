// The output site a voice engine speaks into (ISpTTSEngineSite): audio goes
// to an AudioSink, events are translated for front ends (positions in the
// input text, offsets from the start of the whole output) and handed to a
// callback. Several Speak calls (paragraphs) form one output.
//
// Abort: RequestAbort() may be called from any thread (or a signal handler
// through an abort flag); the engine sees it at its next GetActions, i.e.
// between words. A sink that refuses a block (closed pipe) aborts too.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "interfaces/SapiInterfaces.h"
#include "platform/ComKit.h"
#include "speech/AudioSink.h"
#include "speech/SpeechEvent.h"
#include "speech/TextFragments.h"

namespace vox::speech {

// Names of phoneme codes (the phone converter's table); "" when unknown.
using PhonemeNamer = std::function<std::string(int32_t code)>;

class OutputSite final
    : public ComObjectBase<false, Interface<ISpTTSEngineSite, IID_ISpTTSEngineSite>> {
  public:
    HRESULT QueryInterface(const GUID& iid, void** object) override {
        if (object != nullptr && iid == IID_ISpEventSink) {
            *object = static_cast<ISpEventSink*>(this);
            AddRef();
            return S_OK;
        }
        return ComObjectBase::QueryInterface(iid, object);
    }
    using EventCallback = std::function<void(const SpeechEvent&)>;

    OutputSite(AudioSink& sink, const WAVEFORMATEX& format);

    void SetEventCallback(EventCallback callback) { onEvent_ = std::move(callback); }
    void SetPhonemeNamer(PhonemeNamer namer) { namer_ = std::move(namer); }
    void SetRate(int32_t rate) { rate_ = rate; }           // -10 … 10
    void SetVolume(uint16_t volume) { volume_ = volume; }  // 0 … 100
    // An outside flag that aborts when set (e.g. by a SIGINT handler).
    void SetAbortFlag(const std::atomic<bool>* flag) { abortFlag_ = flag; }

    // Before each Speak call: the piece's fragments, for event positions.
    void BeginPiece(const FragmentList& piece);
    // After it: its audio is part of the output.
    void EndPiece();

    void RequestAbort() { abort_.store(true); }
    bool Aborted() const;
    uint64_t BytesWritten() const { return written_; }
    const WAVEFORMATEX& Format() const { return format_; }

    // ISpEventSink, ISpTTSEngineSite.
    HRESULT AddEvents(const SPEVENT* pEventArray, uint32_t ulCount) override;
    HRESULT GetEventInterest(uint64_t* pullEventInterest) override;
    uint32_t GetActions() override;
    HRESULT Write(const void* pBuff, uint32_t cb, uint32_t* pcbWritten) override;
    HRESULT GetRate(int32_t* pRateAdjust) override;
    HRESULT GetVolume(uint16_t* pusVolume) override;
    HRESULT GetSkipInfo(SPVSKIPTYPE* peType, int32_t* plNumItems) override;
    HRESULT CompleteSkip(int32_t ulNumSkipped) override;

  private:
    void Translate(const SPEVENT& e);

    AudioSink& sink_;
    WAVEFORMATEX format_;
    EventCallback onEvent_;
    PhonemeNamer namer_;
    int32_t rate_ = 0;
    uint16_t volume_ = 100;
    std::atomic<bool> abort_{false};
    const std::atomic<bool>* abortFlag_ = nullptr;
    const FragmentList* piece_ = nullptr;
    uint64_t pieceStart_ = 0;  // bytes of the output before the current piece
    uint64_t written_ = 0;
};

}  // namespace vox::speech
