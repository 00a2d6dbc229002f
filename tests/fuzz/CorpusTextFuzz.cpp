// The voice builder's corpus readers on arbitrary bytes: labels, prompts,
// the stress dictionary, the phone map and stress placement never crash, and
// what they accept is consistent (label times ascend, stressed words carry
// at most one mark).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/voicebuild/LabelReader.h"
#include "tools/voicebuild/PhoneMap.h"
#include "tools/voicebuild/PromptReader.h"
#include "tools/voicebuild/StressDictionary.h"
#include "tools/voicebuild/StressPlacement.h"

using namespace vox::voicebuild;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (auto labels = ParseLabels(text, "f.lab", error)) {
        for (const LabelSegment& s : *labels)
            if (!(s.start <= s.end)) std::abort();
    }
    std::vector<std::string> problems;
    std::vector<Prompt> prompts = ParsePrompts(text, "txt.done.data", problems);
    StressDictionary dictionary = StressDictionary::Parse(text, "dict.scm", problems);
    (void)PhoneMap::Parse(text, "map", error);
    for (PromptMarks marks : {PromptMarks::BeforeVowel, PromptMarks::AfterVowel}) {
        StressPlacementResult r = PlaceStress(text, &dictionary, marks);
        for (const StressedWord& w : r.words)
            if (std::count(w.text.begin(), w.text.end(), '+') > 1) std::abort();
    }
    for (const Prompt& p : prompts) (void)PlaceStress(p.text, &dictionary);
    return 0;
}
