#include "tools/voicebuild/Transcriber.h"

#include "platform/CodePage.h"

namespace vox::voicebuild {

std::optional<Transcript> Transcribe(const std::vector<StressedWord>& words,
                                     const ModuleClient& module, std::string& error) {
    Transcript t;
    t.phonemes.push_back("#");
    t.wordOf.push_back(-1);
    for (size_t w = 0; w < words.size(); ++w) {
        std::optional<std::vector<std::string>> phonemes = module.LettersToPhonemes(words[w].text);
        std::vector<std::string> inner;
        if (phonemes) {
            for (const std::string& p : *phonemes)
                if (p != "#") inner.push_back(p);
        }
        if (inner.empty()) {
            error =
                "the module gives no phonemes for the word \"" + Cp1251ToUtf8(words[w].text) + "\"";
            return std::nullopt;
        }
        if (w > 0) {
            t.phonemes.push_back("_");
            t.wordOf.push_back(-1);
        }
        for (const std::string& p : inner) {
            t.phonemes.push_back(p);
            t.wordOf.push_back(p == "_" ? -1 : int(w));
        }
    }
    if (words.empty()) {
        error = "the prompt has no words";
        return std::nullopt;
    }
    t.phonemes.push_back("#");
    t.wordOf.push_back(-1);
    return t;
}

}  // namespace vox::voicebuild
