#include "Glossor.h"

#include <cstring>

#include "engine/PhoneticModuleLoader.h"
#include "platform/Messages.h"

namespace lexicon {

namespace {

// Said once per process: the phonetic module is not there.
void SayOnce(bool& said, const std::string& text) {
    if (said) return;
    said = true;
    vox::MessageBox(kMessageCaption, text, vox::MessageIcon::Warning);
}
bool gSaidModule = false;

char* Copy(const std::string& s) {
    auto* block = static_cast<char*>(CoTaskMemAlloc(s.size() + 1));
    if (block != nullptr) std::memcpy(block, s.c_str(), s.size() + 1);
    return block;
}

}  // namespace

Glossor::Glossor() {
    // A missing dictionary is reported by the lexicon itself; the model speaks.
    std::string error;
    lexicon_.OpenDictionary(DefaultDictionaryPath(), &error);
    const std::string vocabulary = UserVocabularyPathFromRegistry();
    if (!vocabulary.empty()) lexicon_.LoadUserVocabulary(vocabulary, &error);
}

HRESULT Glossor::QueryInterface(const GUID& iid, void** object) {
    if (object != nullptr && iid == IID_IGlossorText) {
        *object = static_cast<IGlossorText*>(static_cast<IGlossorTextEx*>(this));
        AddRef();
        return S_OK;
    }
    return GlossorBase::QueryInterface(iid, object);
}

Transcriber& Glossor::Module() {
    if (!transcriber_) {
        const std::string name = vox::PhoneticModuleName("419", std::to_string(sublanguage_));
        std::string why;
        vox::ComPtr<IPhonetic> module = vox::CreatePhoneticModule(name, &why);
        if (!module)
            SayOnce(gSaidModule, "Transcribing with the built-in letter rules: " + why + ".");
        transcriber_ = std::make_unique<Transcriber>(std::move(module));
    }
    return *transcriber_;
}

HRESULT Glossor::SetText(const char* Text, const GlossorAttribute* Attributes, int32_t Count) {
    if (Count < 0 || (Count > 0 && Attributes == nullptr)) return E_INVALIDARG;
    return vox::Guarded([&] {
        analysis_.SetText(Text != nullptr ? std::string_view(Text) : std::string_view(), Attributes,
                          Count);
        current_ = 0;
        return S_OK;
    });
}

HRESULT Glossor::GetTextLength(int32_t* Length) {
    if (Length == nullptr) return E_POINTER;
    const int64_t n = analysis_.TextLength();
    *Length = n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n);
    return S_OK;
}

HRESULT Glossor::Reset() {
    current_ = 0;
    return S_OK;
}

HRESULT Glossor::Skip(const char* Unit, int32_t Count, int32_t* Skipped) {
    if (Skipped != nullptr) *Skipped = 0;
    if (Unit == nullptr || Skipped == nullptr) return E_POINTER;
    if (std::strcmp(Unit, "Sentence") != 0) return E_INVALIDARG;
    const int64_t target =
        std::clamp<int64_t>(int64_t{current_} + Count, 0, analysis_.SentenceCount());
    *Skipped = static_cast<int32_t>(target - current_);
    current_ = static_cast<int32_t>(target);
    return S_OK;
}

HRESULT Glossor::GetCurrentSentence(int32_t* Index) {
    if (Index == nullptr) return E_POINTER;
    *Index = current_;
    return S_OK;
}

HRESULT Glossor::SetCurrentSentence(int32_t Index) {
    if (Index < 0 || Index > analysis_.SentenceCount()) return E_INVALIDARG;
    current_ = Index;
    return S_OK;
}

HRESULT Glossor::GetSentenceCount(int32_t* Count) {
    if (Count == nullptr) return E_POINTER;
    *Count = analysis_.SentenceCount();
    return S_OK;
}

HRESULT Glossor::GetSentenceLength(int32_t Index, int32_t* Length) {
    if (Length == nullptr) return E_POINTER;
    if (Index < 0 || Index >= analysis_.SentenceCount()) return E_INVALIDARG;
    *Length = analysis_.Sentence(Index).len;
    return S_OK;
}

HRESULT Glossor::GetSentenceOffset(int32_t Index, int64_t* Offset) {
    if (Offset == nullptr) return E_POINTER;
    if (Index < 0 || Index >= analysis_.SentenceCount()) return E_INVALIDARG;
    *Offset = analysis_.Sentence(Index).pos;
    return S_OK;
}

HRESULT Glossor::GetNextSentence(GlossorSyntagma** Syntagmas, int32_t* Count, int32_t* MoreFollow) {
    if (Syntagmas == nullptr || Count == nullptr || MoreFollow == nullptr) return E_POINTER;
    *Syntagmas = nullptr;
    *Count = 0;
    *MoreFollow = 0;
    if (current_ >= analysis_.SentenceCount()) return S_FALSE;
    return vox::Guarded([&] {
        const std::vector<AnalysedSyntagma> sentence =
            analysis_.Words(current_, lexicon_, &Module());
        const HRESULT hr = ToRecords(sentence, Syntagmas, Count);
        if (FAILED(hr)) return hr;
        ++current_;
        *MoreFollow = current_ < analysis_.SentenceCount() ? 1 : 0;
        return S_OK;
    });
}

HRESULT Glossor::GetCodePage(uint32_t* CodePage) {
    if (CodePage == nullptr) return E_POINTER;
    *CodePage = kGlossorCodePage;
    return S_OK;
}

HRESULT Glossor::ReloadUserVocabulary() {
    return vox::Guarded([&] {
        std::string error;
        if (!lexicon_.LoadUserVocabulary(UserVocabularyPathFromRegistry(), &error)) {
            vox::MessageBox(kMessageCaption, "The user stress vocabulary cannot be read: " + error);
            return E_FAIL;
        }
        return S_OK;
    });
}

HRESULT Glossor::SetSublanguage(int32_t Sublanguage) {
    if (Sublanguage < 0) return E_INVALIDARG;
    if (Sublanguage != sublanguage_) transcriber_.reset();
    sublanguage_ = Sublanguage;
    return S_OK;
}

HRESULT ToRecords(const std::vector<AnalysedSyntagma>& sentence, GlossorSyntagma** out,
                  int32_t* count) {
    const size_t n = sentence.size();
    // A block even for no syntagmas, so that success always gives an array.
    auto* records =
        static_cast<GlossorSyntagma*>(CoTaskMemAlloc(n == 0 ? 1 : n * sizeof(GlossorSyntagma)));
    if (records == nullptr) return E_OUTOFMEMORY;
    std::memset(records, 0, n * sizeof(GlossorSyntagma));
    bool ok = true;
    for (size_t s = 0; s < n && ok; ++s) {
        const AnalysedSyntagma& from = sentence[s];
        GlossorSyntagma& to = records[s];
        to.Type = Copy(from.type);
        const size_t words = from.words.size();
        to.Words =
            static_cast<GlossorWord*>(CoTaskMemAlloc(words == 0 ? 1 : words * sizeof(GlossorWord)));
        ok = to.Type != nullptr && to.Words != nullptr;
        if (!ok) break;
        std::memset(to.Words, 0, words * sizeof(GlossorWord));
        to.WordCount = static_cast<int32_t>(words);
        for (size_t w = 0; w < words && ok; ++w) {
            const AnalysedWord& src = from.words[w];
            GlossorWord& dst = to.Words[w];
            dst.Transcription = Copy(src.transcription);
            dst.SecondText = Copy(src.shown);
            dst.SourcePosition = src.pos;
            dst.SourceLength = src.len;
            ok = dst.Transcription != nullptr && dst.SecondText != nullptr;
        }
    }
    if (!ok) {
        FreeGlossorSentence(records, static_cast<int32_t>(n));
        return E_OUTOFMEMORY;
    }
    *out = records;
    *count = static_cast<int32_t>(n);
    return S_OK;
}

}  // namespace lexicon
