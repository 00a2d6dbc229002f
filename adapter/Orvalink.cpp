#include "adapter/Orvalink.h"

#include <cstdio>

#include "adapter/AnalysisText.h"
#include "adapter/Syntagma.h"
#include "platform/Messages.h"
#include "platform/Utf16.h"
#include "speech/TokenCategory.h"

namespace vox {

namespace {

// The text after the last "\" of a token's identifier.
std::string KeyNameOf(const std::u16string& id) {
    const size_t slash = id.rfind(u'\\');
    return Utf16ToUtf8(slash == std::u16string::npos ? id : id.substr(slash + 1));
}

std::vector<int32_t> EngineArray(IVoxamen& engine, HRESULT (IVoxamen::*call)(int32_t**, int32_t*)) {
    int32_t* values = nullptr;
    int32_t count = 0;
    const HRESULT hr = (engine.*call)(&values, &count);
    CoTaskMemPtr<int32_t> owned(values);
    if (FAILED(hr) || values == nullptr || count <= 0) return {};
    return {values, values + count};
}

}  // namespace

HRESULT Orvalink::SetObjectToken(ISpObjectToken* pToken) {
    if (pToken == nullptr) return E_INVALIDARG;
    if (token_) return SPERR_ALREADY_INITIALIZED;
    return Guarded([&] { return DoSetObjectToken(pToken); });
}

HRESULT Orvalink::DoSetObjectToken(ISpObjectToken* token) {
    token->AddRef();
    token_ = ComPtr<ISpObjectToken>::Attach(token);
    char16_t* id = nullptr;
    const HRESULT idResult = token->GetId(&id);
    CoTaskMemPtr<char16_t> ownedId(id);
    const std::string key = SUCCEEDED(idResult) && id != nullptr ? KeyNameOf(id) : std::string();
    if (key.empty() || !voice_.Read(key)) {
        MessageBox(kAdapterCaption, "Failed to read voice attributes");
        return E_FAIL;
    }
    vocabularyGeneration_ = ReadVocabularyGeneration(voice_.language);
    if (FAILED(glossor_.Create(voice_.lingProcessor, voice_.sublang))) return E_FAIL;
    if (FAILED(CreateEngine())) {
        MessageBox(kAdapterCaption, "Failed to create Vostrelin TTS Engine");
        return E_FAIL;
    }
    if (FAILED(engine_->SetVoice(key.c_str()))) {
        MessageBox(kAdapterCaption, "Failed to set Engine voice");
        return E_FAIL;
    }
    return S_OK;
}

HRESULT Orvalink::CreateEngine() {
    engine_.Reset();
    return CreateRunningObject(CLSID_Voxamen, IID_IVoxamen, engine_.PutVoid());
}

HRESULT Orvalink::GetObjectToken(ISpObjectToken** ppToken) {
    if (ppToken == nullptr) return E_POINTER;
    *ppToken = token_.Get();
    if (!token_) return S_FALSE;
    token_->AddRef();
    return S_OK;
}

HRESULT Orvalink::GetOutputFormat(const GUID* pTargetFmtId, const WAVEFORMATEX* pTargetWaveFormatEx,
                                  GUID* pOutputFormatId, WAVEFORMATEX** ppCoMemOutputWaveFormatEx) {
    if (pOutputFormatId == nullptr || ppCoMemOutputWaveFormatEx == nullptr) return E_INVALIDARG;
    return Guarded([&]() -> HRESULT {
        if (pTargetFmtId != nullptr && *pTargetFmtId == SPDFID_Text) {
            *pOutputFormatId = SPDFID_Text;
            *ppCoMemOutputWaveFormatEx = nullptr;
            return S_OK;
        }
        if (!engine_) return SPERR_UNINITIALIZED;
        WAVEFORMATEX nearest{};
        if (pTargetFmtId == nullptr) {
            engine_->GetOutputFormat(nullptr, &nearest);
        } else if (FAILED(engine_->GetOutputFormat(pTargetWaveFormatEx, &nearest))) {
            return E_FAIL;
        }
        auto* block = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(sizeof(WAVEFORMATEX)));
        *pOutputFormatId = block != nullptr ? SPDFID_WaveFormatEx : GUID_NULL;
        if (block != nullptr) *block = nearest;
        *ppCoMemOutputWaveFormatEx = block;
        return S_OK;
    });
}

HRESULT Orvalink::Speak(uint32_t dwSpeakFlags, const GUID& rguidFormatId,
                        const WAVEFORMATEX* pWaveFormatEx, const SPVTEXTFRAG* pTextFragList,
                        ISpTTSEngineSite* pOutputSite) {
    if (rguidFormatId == SPDFID_Text) return S_OK;
    if (pOutputSite == nullptr || pTextFragList == nullptr) return E_INVALIDARG;
    // Speaking needs the voice: the lexical component and the engine.
    if (!engine_ || !glossor_.Ready()) return SPERR_UNINITIALIZED;
    return Guarded(
        [&] { return DoSpeak(dwSpeakFlags, pWaveFormatEx, pTextFragList, *pOutputSite); });
}

std::optional<std::u16string> Orvalink::PhonesOf(const SPPHONEID* ids) {
    if (!phoneConverterTried_) {
        phoneConverterTried_ = true;
        char attributes[32];
        std::snprintf(attributes, sizeof attributes, "Language=%X",
                      static_cast<unsigned>(voice_.languageId));
        if (voice_.languageId != 0)
            CreateBestObject(SPCAT_PHONECONVERTERS, attributes, IID_ISpPhoneConverter,
                             phoneConverter_.PutVoid());
    }
    if (!phoneConverter_) return std::nullopt;
    // Four characters per phone id, zero-filled.
    std::u16string phones(4 * Utf16Length(ids) + 1, u'\0');
    if (FAILED(phoneConverter_->IdToPhone(ids, phones.data()))) return std::nullopt;
    phones.resize(Utf16Length(phones.c_str()));
    return phones;
}

HRESULT Orvalink::DoSpeak(uint32_t flags, const WAVEFORMATEX* format, const SPVTEXTFRAG* fragments,
                          ISpTTSEngineSite& site) {
    const int32_t generation = ReadVocabularyGeneration(voice_.language);
    if (generation != vocabularyGeneration_) {
        vocabularyGeneration_ = generation;
        glossor_.ReloadUserVocabulary();
    }
    IGlossorTextEx& text = glossor_.Text();
    text.Reset();
    const AnalysisText analysis =
        BuildAnalysisText(fragments, flags, [this](const SPPHONEID* ids) { return PhonesOf(ids); });
    const std::vector<GlossorAttribute> records = analysis.Records();
    if (FAILED(text.SetText(analysis.text.c_str(), records.empty() ? nullptr : records.data(),
                            static_cast<int32_t>(records.size()))))
        return E_FAIL;

    SiteWriter writer(site, fragments, OutputTiming::Of(format));
    int32_t sentences = 0;
    if (FAILED(text.GetSentenceCount(&sentences))) sentences = 0;
    if (sentences > 0) {
        if (const HRESULT hr = SpeakSentences(format, writer, site); FAILED(hr)) return hr;
    }
    writer.FinishFragments();
    return S_OK;
}

bool Orvalink::SkipSentences(ISpTTSEngineSite& site) {
    SPVSKIPTYPE type{};
    int32_t wanted = 0;
    if (FAILED(site.GetSkipInfo(&type, &wanted))) return true;
    int32_t skipped = 0;
    if (FAILED(glossor_.Text().Skip("Sentence", wanted, &skipped))) skipped = 0;
    site.CompleteSkip(skipped);
    return skipped == wanted;
}

HRESULT Orvalink::SpeakSentences(const WAVEFORMATEX* format, SiteWriter& writer,
                                 ISpTTSEngineSite& site) {
    IGlossorTextEx& text = glossor_.Text();
    std::vector<SpokenSyntagma> sentence;
    bool more = true;
    while (more) {
        const uint32_t actions = site.GetActions();
        if (actions & SPVES_ABORT) break;
        if ((actions & SPVES_SKIP) && !SkipSentences(site)) break;
        int32_t index = 0;
        int64_t position = 0;
        int32_t length = 0;
        if (SUCCEEDED(text.GetCurrentSentence(&index))) {
            if (FAILED(text.GetSentenceOffset(index, &position))) position = 0;
            if (FAILED(text.GetSentenceLength(index, &length))) length = 0;
        }
        writer.SentenceEvent(position, length);
        if (!glossor_.NextSentence(sentence, more)) break;
        for (const SpokenSyntagma& syntagma : sentence) {
            if (writer.Aborted()) return S_OK;
            if (const HRESULT hr = SpeakSyntagma(syntagma, format, writer, site); FAILED(hr))
                return hr;
        }
        if (writer.Aborted()) break;
    }
    return S_OK;
}

HRESULT Orvalink::SpeakSyntagma(const SpokenSyntagma& syntagma, const WAVEFORMATEX* format,
                                SiteWriter& writer, ISpTTSEngineSite& site) {
    WordProsody prosody = ComputeProsody(syntagma, writer.Current(), site);
    const CProsodyInfo info{prosody.rate.data(), prosody.volume.data(), prosody.pitch.data(),
                            static_cast<int32_t>(syntagma.words.size())};
    const std::string phonemes = SyntagmaPhonemes(syntagma);
    if (FAILED(engine_->SetFormat(format))) return E_FAIL;
    uint8_t* audio = nullptr;
    int32_t size = 0;
    const HRESULT hr =
        engine_->Speak(phonemes.c_str(), syntagma.type.c_str(), &info, &audio, &size);
    CoTaskMemPtr<uint8_t> owned(audio);
    std::vector<uint8_t> buffer;
    EngineArrays arrays;
    // A failed phrase has no audio, and the engine's arrays are those of the
    // phrase before: its words get no sound and no phoneme timings.
    if (SUCCEEDED(hr) && audio != nullptr && size > 0) {
        buffer.assign(audio, audio + size);
        arrays.sizes = EngineArray(*engine_.Get(), &IVoxamen::GetPhonemesSizes);
        arrays.visemes = EngineArray(*engine_.Get(), &IVoxamen::GetVisemesCodes);
        arrays.phonemes = EngineArray(*engine_.Get(), &IVoxamen::GetPhonemesCodes);
    }
    owned.reset();
    writer.WriteSyntagma(syntagma, buffer, arrays);
    return S_OK;
}

}  // namespace vox
