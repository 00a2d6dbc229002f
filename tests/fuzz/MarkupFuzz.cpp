// SSML and SAPI XML on arbitrary bytes, and the adapter's analysis text
// built from whatever fragments they give: never a crash, every fragment's
// offset inside the input, and an analysis text the lexical component
// reads to its end.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "adapter/AnalysisText.h"
#include "speech/XmlFragments.h"

namespace {

void Check(const vox::speech::FragmentList& list) {
    const size_t units = list.Source().size();
    for (const SPVTEXTFRAG* f = list.Head(); f != nullptr; f = f->pNext)
        if (f->ulTextSrcOffset > units) std::abort();
    auto phones = [](const SPPHONEID*) -> std::optional<std::u16string> { return u"A0 B"; };
    const vox::AnalysisText text = vox::BuildAnalysisText(list.Head(), SPF_NLP_SPEAK_PUNC, phones);
    // The lexical component reads the text up to its first zero: all of it.
    if (text.text.find('\0') != std::string::npos) std::abort();
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
