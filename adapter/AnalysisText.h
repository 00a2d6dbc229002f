// The analysis text handed to the lexical component: every fragment's text
// at the position equal to its source offset (filled with spaces), and the
// attributes (named spans) that carry pronunciations, spelled spans, stress
// and punctuation tags, contexts and the About marker.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "interfaces/IGlossor.h"
#include "interfaces/SapiTypes.h"

namespace vox {

struct TextAttribute {
    std::string name;
    int64_t position = 0;
    int32_t length = 0;
};

struct AnalysisText {
    std::string text;  // Windows-1251, one byte per platform character
    std::vector<TextAttribute> attributes;

    // The records for SetText; they point into this object.
    std::vector<GlossorAttribute> Records() const;
};

// Phone ids of a pronounce fragment → the platform's phone string (phones
// separated by spaces); nullopt when no phone converter is available.
using PhoneIdsToText = std::function<std::optional<std::u16string>(const SPPHONEID* ids)>;

AnalysisText BuildAnalysisText(const SPVTEXTFRAG* fragments, uint32_t speakFlags,
                               const PhoneIdsToText& phones);

}  // namespace vox
