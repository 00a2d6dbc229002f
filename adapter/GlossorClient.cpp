#include "adapter/GlossorClient.h"

#include "platform/Guid.h"
#include "platform/Messages.h"
#include "platform/Registry.h"
#include "platform/Text.h"

namespace vox {

namespace {

// The optional interfaces: absent on E_NOINTERFACE, failure otherwise.
template <class I>
bool QueryOptional(IUnknown* from, const IID& iid, ComPtr<I>& out) {
    if (from == nullptr) return true;
    const HRESULT hr = from->QueryInterface(iid, out.PutVoid());
    return SUCCEEDED(hr) || hr == E_NOINTERFACE;
}

}  // namespace

int32_t ReadVocabularyGeneration(const std::string& language) {
    reg::Key key;
    if (reg::Key::Open(reg::Root::LocalMachine, "Software\\Vostrelin\\Glossor Module\\" + language,
                       key) != reg::Status::Ok)
        return -1;
    uint32_t generation = 0;
    if (key.QueryDword("AccentorBaseGeneration", generation) != reg::Status::Ok) return -1;
    return static_cast<int32_t>(generation);
}

HRESULT GlossorClient::Create(const std::string& clsidText, const std::string& sublang) {
    text_.Reset();
    userBase_.Reset();
    sublanguage_.Reset();
    const std::optional<GUID> clsid = GuidFromString(clsidText);
    const HRESULT hr =
        clsid ? CreateRunningObject(*clsid, IID_IGlossorTextEx, text_.PutVoid()) : E_INVALIDARG;
    if (FAILED(hr) || !text_) {
        text_.Reset();
        MessageBox(kAdapterCaption, "Failed to create Glossor Module");
        return E_FAIL;
    }
    if (!QueryOptional(text_.Get(), IID_IGlossorUserBase, userBase_) ||
        !QueryOptional(userBase_.Get(), IID_IGlossorSublanguage, sublanguage_)) {
        text_.Reset();
        MessageBox(kAdapterCaption, "Failed to get interface to Glossor Module");
        return E_FAIL;
    }
    if (sublanguage_ && !sublang.empty()) {
        if (const std::optional<long long> n = ParseInteger(sublang))
            sublanguage_->SetSublanguage(static_cast<int32_t>(*n));
    }
    if (!userBase_ || FAILED(userBase_->GetCodePage(&codePage_))) {
        text_.Reset();
        MessageBox(kAdapterCaption, "Failed to get Glossor Module codepage");
        return E_FAIL;
    }
    return S_OK;
}

HRESULT GlossorClient::ReloadUserVocabulary() const {
    return userBase_ ? userBase_->ReloadUserVocabulary() : S_FALSE;
}

bool GlossorClient::NextSentence(std::vector<SpokenSyntagma>& sentence, bool& moreFollow) const {
    sentence.clear();
    moreFollow = false;
    GlossorSyntagma* syntagmas = nullptr;
    int32_t count = 0;
    int32_t more = 0;
    const HRESULT hr = text_->GetNextSentence(&syntagmas, &count, &more);
    struct Owner {
        GlossorSyntagma* s;
        int32_t n;
        ~Owner() { FreeGlossorSentence(s, n); }
    } owner{syntagmas, count};
    if (FAILED(hr) || syntagmas == nullptr || count <= 0) return false;
    moreFollow = more != 0;
    sentence.reserve(static_cast<size_t>(count));
    for (int32_t s = 0; s < count; ++s) {
        const GlossorSyntagma& in = syntagmas[s];
        SpokenSyntagma out;
        out.type = in.Type != nullptr ? in.Type : "";
        for (int32_t w = 0; in.Words != nullptr && w < in.WordCount; ++w) {
            const GlossorWord& word = in.Words[w];
            out.words.push_back({word.Transcription != nullptr ? word.Transcription : "",
                                 word.SourcePosition, word.SourceLength});
        }
        sentence.push_back(std::move(out));
    }
    return true;
}

}  // namespace vox
