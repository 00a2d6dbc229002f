#include "adapter/SiteWriter.h"

#include <algorithm>
#include <array>

#include "adapter/Syntagma.h"

namespace vox {

namespace {

constexpr uint32_t kZeroBlockBytes = 1000;
const std::array<uint8_t, kZeroBlockBytes> kZeroBlock{};

// "_wtol": leading blanks, an optional sign, then decimal digits.
long LeadingNumber(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (value > 100000000) break;  // stays in range; only the leading digits matter
        value = value * 10 + (text[i] - u'0');
    }
    return negative ? -value : value;
}

}  // namespace

OutputTiming OutputTiming::Of(const WAVEFORMATEX* f) {
    OutputTiming t;
    if (f == nullptr || f->nSamplesPerSec == 0) return t;
    t.samplesPerSec = f->nSamplesPerSec;
    t.blockAlign = f->wBitsPerSample == 16 ? 2 : 1;  // what the engine produces
    t.avgBytesPerSec = t.samplesPerSec * t.blockAlign;
    return t;
}

uint64_t OutputTiming::BytesOfSize(int32_t size) const {
    if (size <= 0) return 0;
    const uint64_t bytes = 2 * static_cast<uint64_t>(size);
    return bytes / blockAlign * blockAlign;
}

uint64_t OutputTiming::SilenceBytes(uint32_t msecs) const {
    return uint64_t{msecs} * samplesPerSec / 1000 * blockAlign;
}

uint32_t OutputTiming::Milliseconds(uint64_t bytes) const {
    return static_cast<uint32_t>(bytes * 1000 / avgBytesPerSec);
}

SiteWriter::SiteWriter(ISpTTSEngineSite& site, const SPVTEXTFRAG* fragments,
                       const OutputTiming& timing)
    : site_(site), current_(fragments), timing_(timing) {}

bool SiteWriter::Aborted() const {
    return (site_.GetActions() & SPVES_ABORT) != 0;
}

void SiteWriter::AddEvent(uint16_t id, uint16_t type, uint64_t offset, uintptr_t w, intptr_t l) {
    const SPEVENT e{id, type, 0, offset, w, l};
    site_.AddEvents(&e, 1);
}

void SiteWriter::SentenceEvent(int64_t position, int32_t length) {
    AddEvent(SPEI_SENTENCE_BOUNDARY, SPET_LPARAM_IS_UNDEFINED, offset_,
             static_cast<uintptr_t>(std::max(length, 0)), static_cast<intptr_t>(position));
}

void SiteWriter::HandleCurrentOnce() {
    if (current_ == nullptr || currentHandled_) return;
    currentHandled_ = true;
    SilenceAndBookmark(*current_);
}

void SiteWriter::AdvanceTo(int64_t position) {
    HandleCurrentOnce();
    while (current_ != nullptr && current_->pNext != nullptr &&
           int64_t{current_->ulTextSrcOffset} + current_->ulTextLen < position) {
        current_ = current_->pNext;
        currentHandled_ = false;
        HandleCurrentOnce();
        if (Aborted()) return;
    }
}

void SiteWriter::FinishFragments() {
    if (Aborted()) return;
    HandleCurrentOnce();
    while (current_ != nullptr && current_->pNext != nullptr && !Aborted()) {
        current_ = current_->pNext;
        currentHandled_ = false;
        HandleCurrentOnce();
    }
}

void SiteWriter::SilenceAndBookmark(const SPVTEXTFRAG& f) {
    if (f.State.eAction == SPVA_Silence) Silence(f.State.SilenceMSecs);
    if (f.State.eAction == SPVA_Bookmark) Bookmark(f);
}

void SiteWriter::Silence(uint32_t msecs) {
    uint64_t left = timing_.SilenceBytes(msecs);
    offset_ += left;
    if (Aborted()) return;
    while (left > kZeroBlockBytes) {
        site_.Write(kZeroBlock.data(), kZeroBlockBytes, nullptr);
        left -= kZeroBlockBytes;
        if (Aborted()) return;
    }
    site_.Write(kZeroBlock.data(), static_cast<uint32_t>(left), nullptr);
}

void SiteWriter::Bookmark(const SPVTEXTFRAG& f) {
    const std::u16string text =
        f.pTextStart != nullptr ? std::u16string(f.pTextStart, f.ulTextLen) : std::u16string();
    AddEvent(SPEI_TTS_BOOKMARK, SPET_LPARAM_IS_STRING, offset_,
             static_cast<uintptr_t>(LeadingNumber(text)), reinterpret_cast<intptr_t>(text.c_str()));
}

void SiteWriter::PhonemeEvents(const EngineArrays& arrays, size_t begin, size_t end,
                               const std::vector<uint64_t>& bytes) {
    auto code = [](const std::vector<int32_t>& v, size_t i) { return i < v.size() ? v[i] : 0; };
    std::vector<SPEVENT> visemes, phonemes;
    uint64_t at = offset_;
    for (size_t i = begin; i < end; ++i) {
        const uint32_t ms = std::min<uint32_t>(timing_.Milliseconds(bytes[i - begin]), 0xFFFF);
        const bool last = i + 1 == end;
        const auto nextViseme = static_cast<uint16_t>(last ? 0 : code(arrays.visemes, i + 1));
        const auto nextPhoneme = static_cast<uint16_t>(last ? 0 : code(arrays.phonemes, i + 1));
        visemes.push_back({SPEI_VISEME, SPET_LPARAM_IS_UNDEFINED, 0, at,
                           (uintptr_t{ms} << 16) | nextViseme, code(arrays.visemes, i)});
        phonemes.push_back({SPEI_PHONEME, SPET_LPARAM_IS_UNDEFINED, 0, at,
                            (uintptr_t{ms} << 16) | nextPhoneme, code(arrays.phonemes, i)});
        at += bytes[i - begin];
    }
    // Each series ends at the word's end: a silence viseme, and a phoneme
    // event with no phoneme (so that a word ends with one viseme 0, not two).
    visemes.push_back({SPEI_VISEME, SPET_LPARAM_IS_UNDEFINED, 0, at, 0, 0});
    phonemes.push_back({SPEI_PHONEME, SPET_LPARAM_IS_UNDEFINED, 0, at, 0, 0});
    site_.AddEvents(visemes.data(), static_cast<uint32_t>(visemes.size()));
    site_.AddEvents(phonemes.data(), static_cast<uint32_t>(phonemes.size()));
}

void SiteWriter::WriteSyntagma(const SpokenSyntagma& syntagma, const std::vector<uint8_t>& audio,
                               const EngineArrays& arrays) {
    const std::vector<ElementRange> ranges =
        WordRanges(PhonemeElements(SyntagmaPhonemes(syntagma)));
    const size_t words = std::min(ranges.size(), syntagma.words.size());
    size_t position = 0;  // in the syntagma's audio
    for (size_t w = 0; w < words; ++w) {
        if (Aborted()) return;
        const SpokenWord& word = syntagma.words[w];
        AdvanceTo(word.position);
        if (Aborted()) return;
        AddEvent(SPEI_WORD_BOUNDARY, SPET_LPARAM_IS_UNDEFINED, offset_,
                 static_cast<uintptr_t>(std::max(word.length, 0)),
                 static_cast<intptr_t>(word.position));

        // Byte counts of the word's elements, never beyond the audio; the
        // last word takes the rest.
        const ElementRange r = ranges[w];
        const uint64_t left = audio.size() - position;
        std::vector<uint64_t> bytes;
        uint64_t total = 0;
        for (size_t i = r.begin; i < r.end; ++i) {
            uint64_t b = i < arrays.sizes.size() ? timing_.BytesOfSize(arrays.sizes[i]) : 0;
            b = std::min(b, left - total);
            bytes.push_back(b);
            total += b;
        }
        if (w + 1 == words && total < left) {
            bytes.back() += left - total;
            total = left;
        }
        PhonemeEvents(arrays, r.begin, r.end, bytes);

        HRESULT hr = S_OK;
        if (total > 0)
            hr = site_.Write(audio.data() + position, static_cast<uint32_t>(total), nullptr);
        position += total;
        offset_ += total;
        if (hr == SP_AUDIO_STOPPED) return;
        AdvanceTo(word.position + word.length);
    }
}

}  // namespace vox
