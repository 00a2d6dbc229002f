#include "engine/Voxamen.h"

#include <filesystem>

#include "engine/EngineUI.h"
#include "engine/PhoneticModuleLoader.h"
#include "engine/audio/OutputFormat.h"
#include "engine/synthesis/SpeakPipeline.h"
#include "engine/voice/Allobase.h"
#include "platform/Messages.h"

namespace vox {

Voxamen::Voxamen() : format_(DefaultOutputFormat()) {}

Voxamen::~Voxamen() = default;

HRESULT Voxamen::SetVoice(const char* VoiceKey) {
    if (VoiceKey == nullptr) return E_INVALIDARG;
    return Guarded([&] { return DoSetVoice(VoiceKey); });
}

namespace {

// The voice's prosody files lie beside its database.
std::string VoiceDirectory(const std::string& voiceData) {
    return std::filesystem::path(voiceData).parent_path().string();
}

}  // namespace

HRESULT Voxamen::DoSetVoice(const std::string& key) {
    effects_.reverberation.ForgetTail();  // the tail belonged to the last voice
    if (!props_.Read(key)) {
        MessageBox(kEngineCaption, "Failed to read voice properties for " + key);
        return E_FAIL;
    }
    const bool loaded = audioBase_ && audioBase_->IsOpen();
    if (loaded && props_.voiceData == loadedVoiceData_) {
        LoadVoiceModels(models_, VoiceDirectory(props_.voiceData));
        return S_FALSE;
    }
    // The path is remembered only once its database is open, so that a
    // repeated SetVoice after a failure tries again instead of reporting S_FALSE.
    if (!InitAudioBase(audioBase_, props_.voiceData)) {
        MessageBox(kEngineCaption, "Failed to init audio base " + props_.voiceData);
        return E_FAIL;
    }
    loadedVoiceData_ = props_.voiceData;
    LoadVoiceModels(models_, VoiceDirectory(props_.voiceData));

    const std::string name = PhoneticModuleName(props_.language, props_.sublang);
    if (name != phoneticName_) {
        ComPtr<IPhonetic> module = CreatePhoneticModule(name);
        phonetic_ = module;
        if (!phonetic_) {
            // Without its module the voice cannot speak: forget what was loaded so
            // that a repeated SetVoice tries again rather than reporting S_FALSE.
            phoneticName_.clear();
            loadedVoiceData_.clear();
            MessageBox(kEngineCaption, "Failed to create Phonetic (" + name + ")");
            return E_FAIL;
        }
        phoneticName_ = name;
    }
    return S_OK;
}

HRESULT Voxamen::SetFormat(const WAVEFORMATEX* Format) {
    if (Format == nullptr) return E_INVALIDARG;
    if (!IsAcceptedOutputFormat(*Format)) return E_FAIL;
    format_ = *Format;
    return S_OK;
}

HRESULT Voxamen::GetOutputFormat(const WAVEFORMATEX* DesiredFormat,
                                 WAVEFORMATEX* NearestSupportedFormat) {
    if (NearestSupportedFormat == nullptr) return E_INVALIDARG;
    return NearestOutputFormat(DesiredFormat, *NearestSupportedFormat);
}

HRESULT Voxamen::Speak(const char* Phonemes, const char* SyntagmaType,
                       const CProsodyInfo* ProsodyInfo, uint8_t** Audio, int32_t* Size) {
    if (Phonemes == nullptr || SyntagmaType == nullptr || Audio == nullptr || Size == nullptr)
        return E_INVALIDARG;
    return Guarded([&] { return DoSpeak(Phonemes, SyntagmaType, ProsodyInfo, Audio, Size); });
}

HRESULT Voxamen::DoSpeak(const char* phonemes, const char* syntagmaType,
                         const CProsodyInfo* prosody, uint8_t** audio, int32_t* size) {
    // A database file reinstalled, rewritten or cut short since it was opened
    // is opened again before this phrase uses it.
    if (audioBase_ && !loadedVoiceData_.empty() && audioBase_->FileChanged())
        audioBase_->Open(loadedVoiceData_);
    EngineContext engine{props_,        audioBase_.get(), phonetic_.Get(), format_,
                         noise_,        models_,          resynthesis_,    phonemeSizes_,
                         phonemeCodes_, visemeCodes_,     effects_};
    PhraseState phrase(engine, {phonemes, syntagmaType, prosody, audio, size});
    return RunSpeak(phrase);
}

HRESULT Voxamen::CopyResult(const std::vector<int32_t>& values, int32_t** array, int32_t* num) {
    if (array == nullptr || num == nullptr) return E_INVALIDARG;
    *num = static_cast<int32_t>(values.size());
    return CoTaskMemArray(values.data(), values.size(), array);
}

HRESULT Voxamen::GetPhonemesSizes(int32_t** Sizes, int32_t* Num) {
    return CopyResult(phonemeSizes_, Sizes, Num);
}

HRESULT Voxamen::GetVisemesCodes(int32_t** Codes, int32_t* Num) {
    return CopyResult(visemeCodes_, Codes, Num);
}

HRESULT Voxamen::GetPhonemesCodes(int32_t** Codes, int32_t* Num) {
    return CopyResult(phonemeCodes_, Codes, Num);
}

HRESULT Voxamen::IsUISupported(const char* VoiceKey, const char* TypeOfUI, int32_t* bSupported) {
    if (bSupported == nullptr) return E_INVALIDARG;
    *bSupported = 0;
    return Guarded([&] {
        *bSupported = vox::IsUISupported(VoiceKey, TypeOfUI) ? 1 : 0;
        return S_OK;
    });
}

HRESULT Voxamen::DisplayUI(void*, const char* VoiceKey, const char* TypeOfUI) {
    return Guarded([&] {
        vox::DisplayUI(VoiceKey, TypeOfUI);
        return S_OK;
    });
}

}  // namespace vox
