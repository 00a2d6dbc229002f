// SSML and SAPI XML on arbitrary bytes, and the adapter's analysis text
// built from whatever fragments they give: never a crash, every fragment's
// text inside its list, every offset inside the input.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "adapter/AnalysisText.h"
#include "speech/XmlFragments.h"

namespace {

void Check(const vox::speech::FragmentList& list) {
    const size_t units = list.Source().size();
    for (const SPVTEXTFRAG* f = list.Head(); f != nullptr; f = f->pNext) {
        if (f->ulTextSrcOffset > units) std::abort();
        for (uint32_t i = 0; i < f->ulTextLen; ++i)
            if (f->pTextStart[i] == 0 && f->State.eAction == SPVA_Speak) std::abort();
    }
    auto phones = [](const SPPHONEID*) -> std::optional<std::u16string> { return u"A0 B"; };
    const vox::AnalysisText text = vox::BuildAnalysisText(list.Head(), SPF_NLP_SPEAK_PUNC, phones);
    if (text.text.size() > 16 * units + 64) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string error;
    vox::speech::FragmentList list;
    if (vox::speech::FragmentsFromSsml(input, vox::speech::DefaultState(), list, error))
        Check(list);
    if (vox::speech::FragmentsFromSapiXml(input, vox::speech::DefaultState(), list, error))
        Check(list);
    Check(vox::speech::FragmentsFromText(input));
    return 0;
}
