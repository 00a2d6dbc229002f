#include "tests/adapter/fakes/FakeServers.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "interfaces/IGlossor.h"
#include "interfaces/IVoxamen.h"
#include "platform/ComKit.h"

namespace {

FakeState gState{};

char* Copy(const std::string& s) {
    char* out = nullptr;
    vox::CoTaskMemString(s, &out);
    return out;
}

struct Word {
    std::string transcription;
    int64_t position;
    int32_t length;
};
struct Sentence {
    std::vector<std::vector<Word>> syntagmas;
    int64_t position;
    int32_t length;
};

using GlossorBase = vox::ComObject<vox::Interface<IGlossorTextEx, IID_IGlossorTextEx>,
                                   vox::Interface<IGlossorUserBase, IID_IGlossorUserBase>,
                                   vox::Interface<IGlossorSublanguage, IID_IGlossorSublanguage>>;

class FakeGlossor final : public GlossorBase {
  public:
    HRESULT QueryInterface(const GUID& iid, void** object) override {
        if (iid == IID_IGlossorSublanguage && gState.noSublanguage) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        if (iid == IID_IGlossorText) {
            *object = static_cast<IGlossorText*>(this);
            AddRef();
            return S_OK;
        }
        return GlossorBase::QueryInterface(iid, object);
    }
    HRESULT SetText(const char* text, const GlossorAttribute* attributes, int32_t count) override {
        std::snprintf(gState.lastText, sizeof gState.lastText, "%s", text);
        gState.attributeCount = count;
        for (int32_t i = 0; i < count && i < 16; ++i)
            std::snprintf(gState.attributes[i], 64, "%s@%lld+%d", attributes[i].Name,
                          static_cast<long long>(attributes[i].Position), attributes[i].Length);
        Split(text);
        return S_OK;
    }
    HRESULT GetTextLength(int32_t* length) override {
        *length = static_cast<int32_t>(std::strlen(gState.lastText));
        return S_OK;
    }
    HRESULT Reset() override {
        sentences_.clear();
        current_ = 0;
        return S_OK;
    }
    HRESULT Skip(const char*, int32_t count, int32_t* skipped) override {
        const int32_t left = static_cast<int32_t>(sentences_.size()) - current_;
        *skipped = count < left ? count : left;
        current_ += *skipped;
        return S_OK;
    }
    HRESULT GetCurrentSentence(int32_t* index) override {
        *index = current_;
        return S_OK;
    }
    HRESULT SetCurrentSentence(int32_t index) override {
        current_ = index;
        return S_OK;
    }
    HRESULT GetSentenceCount(int32_t* count) override {
        *count = static_cast<int32_t>(sentences_.size());
        return S_OK;
    }
    HRESULT GetSentenceLength(int32_t index, int32_t* length) override {
        if (index < 0 || index >= static_cast<int32_t>(sentences_.size())) return E_INVALIDARG;
        *length = sentences_[index].length;
        return S_OK;
    }
    HRESULT GetSentenceOffset(int32_t index, int64_t* offset) override {
        if (index < 0 || index >= static_cast<int32_t>(sentences_.size())) return E_INVALIDARG;
        *offset = sentences_[index].position;
        return S_OK;
    }
    HRESULT GetNextSentence(GlossorSyntagma** syntagmas, int32_t* count,
                            int32_t* moreFollow) override {
        *syntagmas = nullptr;
        *count = 0;
        *moreFollow = 0;
        if (current_ >= static_cast<int32_t>(sentences_.size())) return S_FALSE;
        const Sentence& s = sentences_[current_++];
        auto* out = static_cast<GlossorSyntagma*>(
            CoTaskMemAlloc(sizeof(GlossorSyntagma) * s.syntagmas.size()));
        for (size_t i = 0; i < s.syntagmas.size(); ++i) {
            const auto& words = s.syntagmas[i];
            auto* w = static_cast<GlossorWord*>(CoTaskMemAlloc(sizeof(GlossorWord) * words.size()));
            for (size_t k = 0; k < words.size(); ++k)
                w[k] = {Copy(words[k].transcription),
                        nullptr,
                        0,
                        0,
                        words[k].position,
                        words[k].length,
                        0};
            out[i] = {0, 0, w, static_cast<int32_t>(words.size()), Copy("(.)|(.)")};
        }
        *syntagmas = out;
        *count = static_cast<int32_t>(s.syntagmas.size());
        *moreFollow = current_ < static_cast<int32_t>(sentences_.size()) ? 1 : 0;
        return S_OK;
    }
    HRESULT GetCodePage(uint32_t* codePage) override {
        *codePage = 1251;
        return S_OK;
    }
    HRESULT ReloadUserVocabulary() override {
        ++gState.reloads;
        return S_OK;
    }
    HRESULT SetSublanguage(int32_t) override { return S_OK; }

  private:
    void Split(const char* text) {
        sentences_.clear();
        current_ = 0;
        Sentence sentence{{{}}, -1, 0};
        const std::string t = text;
        size_t i = 0;
        auto blank = [&](size_t k) { return t[k] == ' ' || t[k] == '\n' || t[k] == '\r'; };
        while (i < t.size()) {
            while (i < t.size() && blank(i)) ++i;
            if (i >= t.size()) break;
            const size_t start = i;
            while (i < t.size() && !blank(i)) ++i;
            std::string word = t.substr(start, i - start);
            const char last = word.back();
            std::string transcription;
            for (char c : word) {
                if (c == '.' || c == ',' || c == '!' || c == '?') continue;
                if (!transcription.empty()) transcription += ',';
                transcription += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
            }
            if (sentence.position < 0) sentence.position = static_cast<int64_t>(start);
            if (!transcription.empty())
                sentence.syntagmas.back().push_back(
                    {transcription, static_cast<int64_t>(start), static_cast<int32_t>(i - start)});
            sentence.length = static_cast<int32_t>(i - sentence.position);
            if (last == ',' && !sentence.syntagmas.back().empty()) sentence.syntagmas.push_back({});
            if (last == '.' || last == '!' || last == '?') Close(sentence);
        }
        Close(sentence);
    }
    void Close(Sentence& s) {
        if (!s.syntagmas.empty() && s.syntagmas.back().empty()) s.syntagmas.pop_back();
        if (!s.syntagmas.empty()) sentences_.push_back(s);
        s = Sentence{{{}}, -1, 0};
    }

    std::vector<Sentence> sentences_;
    int32_t current_ = 0;
};

class FakeEngine final : public vox::ComObject<vox::Interface<IVoxamen, IID_IVoxamen>> {
  public:
    HRESULT SetVoice(const char*) override { return S_OK; }
    HRESULT SetFormat(const WAVEFORMATEX* f) override {
        if (f == nullptr) return E_INVALIDARG;
        if (gState.failSetFormat) return E_FAIL;
        format_ = *f;
        return S_OK;
    }
    HRESULT GetOutputFormat(const WAVEFORMATEX* desired, WAVEFORMATEX* nearest) override {
        if (nearest == nullptr) return E_INVALIDARG;
        const uint32_t rate = desired ? desired->nSamplesPerSec : 22050;
        const uint16_t bits = desired ? desired->wBitsPerSample : 16;
        *nearest = {WAVE_FORMAT_PCM, 1, rate, rate * (bits / 8u), uint16_t(bits / 8), bits, 0};
        return desired ? S_OK : S_FALSE;
    }
    HRESULT Speak(const char* phonemes, const char*, const CProsodyInfo* prosody, uint8_t** audio,
                  int32_t* size) override {
        ++gState.speakCalls;
        std::snprintf(gState.lastPhonemes, sizeof gState.lastPhonemes, "%s", phonemes);
        if (prosody != nullptr) {
            gState.lastWords = prosody->nWords;
            for (int32_t i = 0; i < prosody->nWords && i < 16; ++i) {
                gState.lastRate[i] = prosody->Rate[i];
                gState.lastVolume[i] = prosody->Volume[i];
                gState.lastPitch[i] = prosody->Pitch[i];
            }
        }
        if (gState.speakCalls == gState.failSpeakCall) return E_FAIL;
        std::vector<int32_t> sizes;
        int64_t samples = 0;
        for (const char* p = phonemes; *p;) {
            const char* comma = std::strchr(p, ',');
            const std::string name = comma ? std::string(p, comma) : std::string(p);
            sizes.push_back(name == "#" ? 50 : 100);
            samples += sizes.back();
            p = comma ? comma + 1 : p + name.size();
        }
        // As the engine: resample the whole phrase, then scale every size.
        const int64_t out = samples * format_.nSamplesPerSec / 22050;
        const int64_t bytes = out * (format_.wBitsPerSample == 16 ? 2 : 1);
        const double scale = format_.wBitsPerSample * double(format_.nSamplesPerSec) / 352800;
        sizes_.clear();
        codes_.clear();
        for (size_t i = 0; i < sizes.size(); ++i) {
            sizes_.push_back(static_cast<int32_t>(sizes[i] * scale));
            codes_.push_back(static_cast<int32_t>(i + 1));
        }
        auto* block = static_cast<uint8_t*>(CoTaskMemAlloc(static_cast<size_t>(bytes)));
        for (int64_t i = 0; i < bytes; ++i) block[i] = static_cast<uint8_t>(i % 251 + 1);
        *audio = block;
        *size = static_cast<int32_t>(bytes);
        return S_OK;
    }
    HRESULT GetPhonemesSizes(int32_t** a, int32_t* n) override { return Out(sizes_, a, n); }
    HRESULT GetVisemesCodes(int32_t** a, int32_t* n) override { return Out(codes_, a, n); }
    HRESULT GetPhonemesCodes(int32_t** a, int32_t* n) override { return Out(codes_, a, n); }
    HRESULT IsUISupported(const char*, const char*, int32_t* s) override {
        *s = 0;
        return S_OK;
    }
    HRESULT DisplayUI(void*, const char*, const char*) override { return S_OK; }

  private:
    static HRESULT Out(const std::vector<int32_t>& v, int32_t** a, int32_t* n) {
        if (a == nullptr || n == nullptr) return E_INVALIDARG;
        *n = static_cast<int32_t>(v.size());
        return vox::CoTaskMemArray(v.data(), v.size(), a);
    }
    WAVEFORMATEX format_{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    std::vector<int32_t> sizes_, codes_;
};

}  // namespace

extern "C" {

__attribute__((visibility("default"))) FakeState* FakeServersState() {
    return &gState;
}

__attribute__((visibility("default"))) HRESULT DllGetClassObject(const GUID& clsid, const GUID& iid,
                                                                 void** object) {
    if (clsid == CLSID_FakeGlossor)
        return vox::GetClassObjectFor<FakeGlossor>(CLSID_FakeGlossor, clsid, iid, object);
    return vox::GetClassObjectFor<FakeEngine>(CLSID_Voxamen, clsid, iid, object);
}

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return vox::ServerLifetime::CanUnloadNow();
}
}
