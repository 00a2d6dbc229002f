#include "adapter/Syntagma.h"

#include <algorithm>

#include "platform/Text.h"

namespace vox {

std::string SyntagmaPhonemes(const SpokenSyntagma& syntagma) {
    std::string s = "#,";
    for (size_t i = 0; i < syntagma.words.size(); ++i) {
        if (i > 0) s += ",_,";
        s += syntagma.words[i].transcription;
    }
    s += ",#";
    return s;
}

std::vector<std::string> PhonemeElements(const std::string& phonemes) {
    return SplitList(phonemes, ',');
}

std::vector<ElementRange> WordRanges(const std::vector<std::string>& elements) {
    std::vector<ElementRange> ranges;
    size_t start = 1;
    for (size_t k = 1; k < elements.size(); ++k) {
        if (elements[k] == "#" || elements[k] == "_") {
            ranges.push_back({start, k + 1});
            start = k + 1;
        }
    }
    return ranges;
}

const SPVTEXTFRAG* FragmentOfWord(const SPVTEXTFRAG* current, int64_t position) {
    const SPVTEXTFRAG* last = current;
    for (const SPVTEXTFRAG* f = current; f != nullptr; f = f->pNext) {
        if (int64_t{f->ulTextSrcOffset} + f->ulTextLen >= position) return f;
        last = f;
    }
    return last;
}

WordProsody ComputeProsody(const SpokenSyntagma& syntagma, const SPVTEXTFRAG* current,
                           ISpTTSEngineSite& site) {
    WordProsody p;
    for (const SpokenWord& word : syntagma.words) {
        const SPVTEXTFRAG* f = FragmentOfWord(current, word.position);
        int32_t siteRate = 0;
        if (FAILED(site.GetRate(&siteRate))) siteRate = 0;
        uint16_t siteVolume = 100;
        if (FAILED(site.GetVolume(&siteVolume))) siteVolume = 100;
        int64_t rate = siteRate;
        int64_t volume = siteVolume;
        int64_t pitch = 0;
        if (f != nullptr) {
            rate += f->State.RateAdj;
            volume = static_cast<int64_t>(siteVolume * static_cast<double>(f->State.Volume) * 0.01);
            pitch = f->State.PitchAdj.MiddleAdj;
            if (f->State.EmphAdj == 1) {
                rate -= 4;
                pitch -= 4;
                volume = 100;
            }
        }
        p.rate.push_back(static_cast<int8_t>(std::clamp<int64_t>(rate, -10, 10)));
        p.volume.push_back(static_cast<int8_t>(std::clamp<int64_t>(volume, 0, 100)));
        p.pitch.push_back(static_cast<int8_t>(std::clamp<int64_t>(pitch, -10, 20)));
    }
    return p;
}

}  // namespace vox
