// Audio and events of one Speak call written to the platform's site: the
// syntagma's audio word by word with word, viseme and phoneme events, the
// sentence events, and the silences and bookmarks of the fragment list,
// walked in step with the spoken words.
//
// Offsets and durations are in the negotiated format's bytes: the engine's
// phoneme sizes are scaled by bits × rate / 352800, so twice a size is its
// byte count in that format; the last word of a syntagma takes whatever
// audio is left, so the events always add up to the audio written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "adapter/GlossorClient.h"
#include "interfaces/SapiInterfaces.h"

namespace vox {

// The output format's time arithmetic.
struct OutputTiming {
    uint32_t samplesPerSec = 22050;
    uint32_t blockAlign = 2;
    uint32_t avgBytesPerSec = 44100;

    static OutputTiming Of(const WAVEFORMATEX* format);
    uint64_t BytesOfSize(int32_t size) const;     // engine size → bytes, whole samples
    uint64_t SilenceBytes(uint32_t msecs) const;  // whole samples
    uint32_t Milliseconds(uint64_t bytes) const;
};

// The engine's arrays for one syntagma (empty when its Speak failed).
struct EngineArrays {
    std::vector<int32_t> sizes, visemes, phonemes;
};

class SiteWriter {
  public:
    SiteWriter(ISpTTSEngineSite& site, const SPVTEXTFRAG* fragments, const OutputTiming& timing);

    bool Aborted() const;
    uint64_t StreamOffset() const { return offset_; }
    const SPVTEXTFRAG* Current() const { return current_; }

    void SentenceEvent(int64_t position, int32_t length);
    void WriteSyntagma(const SpokenSyntagma& syntagma, const std::vector<uint8_t>& audio,
                       const EngineArrays& arrays);
    // Silences and bookmarks of every fragment the walk has not reached
    // (the first one included when no word was spoken); stops at abort.
    void FinishFragments();

  private:
    void HandleCurrentOnce();
    void AdvanceTo(int64_t position);
    void SilenceAndBookmark(const SPVTEXTFRAG& f);
    void Silence(uint32_t msecs);
    void Bookmark(const SPVTEXTFRAG& f);
    void PhonemeEvents(const EngineArrays& arrays, size_t begin, size_t end,
                       const std::vector<uint64_t>& bytes);
    void AddEvent(uint16_t id, uint16_t type, uint64_t offset, uintptr_t w, intptr_t l);

    ISpTTSEngineSite& site_;
    const SPVTEXTFRAG* current_;
    bool currentHandled_ = false;
    OutputTiming timing_;
    uint64_t offset_ = 0;
};

}  // namespace vox
