// SetText and GetNextSentence of the lexical component over random 1251 or
// UTF-8 bytes with random attributes: nothing crashes, and every record is
// well formed (a known type, words with a non-empty transcription without
// "#" or "_", a text, and a span inside the text).
// Byte 0: flags (bit 0 attributes from bytes 1-16, bit 2 the sublanguage 0;
// low five bits exactly 0x1A: the text repeated up to 1 MB, kept rare as it
// is slow under the sanitizers); the rest is the text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "lexicon/Glossor.h"
#include "platform/Messages.h"

namespace {

void Quiet(const std::string&, const std::string&, vox::MessageIcon) {}

void Check(bool ok) {
    if (!ok) std::abort();
}

const std::set<std::string>& KnownTypes() {
    static const std::set<std::string> types = {"(.)|(.)",   "(..)|(..)", "(!)|(!.)", "(?)|(?.)",
                                                "(?.)|(?.)", "(,)|(,)",   "(;)|(;)",  "(:)|(:)",
                                                "(-)|(-)",   "(())|(())", "(,,)|(,,)"};
    return types;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool quiet = (vox::SetMessageSink(&Quiet), true);
    (void)quiet;
    if (size == 0) return 0;
    const uint8_t flags = data[0];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<std::string> names;
    std::vector<GlossorAttribute> attributes;
    if ((flags & 1) && text.size() >= 16) {
        static const char* const kNames[] = {"Spell",
                                             "Punc",
                                             "Stress",
                                             "About",
                                             "Context=date",
                                             "Context=time",
                                             "Context=phone_number",
                                             "Pron=M,O0,R',E2",
                                             "Pron=",
                                             "Pron=#,_",
                                             "Pron=мо+ре",
                                             "Context="};
        for (int a = 0; a < 4; ++a) {
            const auto* b = reinterpret_cast<const uint8_t*>(text.data()) + a * 4;
            names.push_back(kNames[b[0] % std::size(kNames)]);
            attributes.push_back({nullptr, 0, static_cast<int64_t>(b[1]) * (b[3] & 0x80 ? -1 : 1),
                                  static_cast<int32_t>(b[2]) - 8, 0});
        }
        for (size_t a = 0; a < attributes.size(); ++a) attributes[a].Name = names[a].data();
        text.erase(0, 16);
    }
    if ((flags & 0x1F) == 0x1A && !text.empty())
        while (text.size() < (1u << 20)) text += text;
    const size_t nul = text.find('\0');
    const int64_t length = static_cast<int64_t>(nul == std::string::npos ? text.size() : nul);

    auto* glossor = new lexicon::Glossor();
    if (flags & 4) glossor->SetSublanguage(0);
    Check(glossor->SetText(text.c_str(), attributes.data(),
                           static_cast<int32_t>(attributes.size())) == S_OK);
    int32_t count = 0;
    Check(glossor->GetSentenceCount(&count) == S_OK && count >= 0);
    // Big texts: a few sentences from the start and the end are enough.
    for (int32_t i = 0; i < count; ++i) {
        if (count > 40 && i == 20) glossor->SetCurrentSentence(i = count - 20);
        int64_t offset = -1;
        Check(glossor->GetSentenceOffset(i, &offset) == S_OK && offset >= 0 && offset <= length);
        GlossorSyntagma* syntagmas = nullptr;
        int32_t n = 0, more = 0;
        Check(glossor->GetNextSentence(&syntagmas, &n, &more) == S_OK);
        Check(syntagmas != nullptr && n >= 0 && more == (i + 1 < count ? 1 : 0));
        for (int32_t s = 0; s < n; ++s) {
            const GlossorSyntagma& syn = syntagmas[s];
            Check(syn.Type != nullptr && KnownTypes().count(syn.Type) == 1);
            Check(syn.Words != nullptr && syn.WordCount > 0);
            for (int32_t w = 0; w < syn.WordCount; ++w) {
                const GlossorWord& word = syn.Words[w];
                Check(word.Transcription != nullptr && word.SecondText != nullptr);
                const std::string t = word.Transcription;
                Check(!t.empty() && t.find('#') == std::string::npos &&
                      t.find(",_") == std::string::npos && t.front() != ',' && t.back() != ',');
                Check(word.SourcePosition >= 0 && word.SourceLength >= 0 &&
                      word.SourcePosition + word.SourceLength <= length);
            }
        }
        FreeGlossorSentence(syntagmas, n);
    }
    GlossorSyntagma* none = nullptr;
    int32_t n = -1, more = -1;
    Check(glossor->GetNextSentence(&none, &n, &more) == S_FALSE && none == nullptr && n == 0);
    glossor->Release();
    return 0;
}
