// Glossor, the lexical component: analysis text in, sentences of syntagmas
// of stressed, transcribed words out, through the three interfaces the
// adapter uses. Transcriptions come from the phonetic module registered for
// "419." + the sublanguage (419.1 unless told otherwise).
#pragma once

#include <memory>
#include <string>

#include "TextAnalysis.h"
#include "Transcriber.h"
#include "interfaces/IGlossor.h"
#include "platform/ComKit.h"

namespace lexicon {

inline constexpr uint32_t kGlossorCodePage = 1251;
inline constexpr int32_t kDefaultSublanguage = 1;
// Registry key of the user's stress vocabulary and its value.
inline constexpr const char* kGlossorKey = "Software\\Vostrelin\\Glossor Module\\419";
inline constexpr const char* kMessageCaption = "Glossor Module";

using GlossorBase = vox::ComObject<vox::Interface<IGlossorTextEx, IID_IGlossorTextEx>,
                                   vox::Interface<IGlossorUserBase, IID_IGlossorUserBase>,
                                   vox::Interface<IGlossorSublanguage, IID_IGlossorSublanguage>>;

class Glossor final : public GlossorBase {
  public:
    Glossor();

    // IGlossorText is the base of IGlossorTextEx: one object answers both.
    HRESULT QueryInterface(const GUID& iid, void** object) override;

    HRESULT SetText(const char* Text, const GlossorAttribute* Attributes, int32_t Count) override;
    HRESULT GetTextLength(int32_t* Length) override;
    HRESULT Reset() override;
    HRESULT Skip(const char* Unit, int32_t Count, int32_t* Skipped) override;
    HRESULT GetCurrentSentence(int32_t* Index) override;
    HRESULT SetCurrentSentence(int32_t Index) override;
    HRESULT GetSentenceCount(int32_t* Count) override;
    HRESULT GetSentenceLength(int32_t Index, int32_t* Length) override;
    HRESULT GetSentenceOffset(int32_t Index, int64_t* Offset) override;
    HRESULT GetNextSentence(GlossorSyntagma** Syntagmas, int32_t* Count,
                            int32_t* MoreFollow) override;

    HRESULT GetCodePage(uint32_t* CodePage) override;
    HRESULT ReloadUserVocabulary() override;

    HRESULT SetSublanguage(int32_t Sublanguage) override;

  private:
    Transcriber& Module();

    StressLexicon lexicon_;
    TextAnalysis analysis_;
    int32_t current_ = 0;
    int32_t sublanguage_ = kDefaultSublanguage;
    std::unique_ptr<Transcriber> transcriber_;
};

// Copies a sentence into the CoTaskMem records the adapter frees.
HRESULT ToRecords(const std::vector<AnalysedSyntagma>& sentence, GlossorSyntagma** out,
                  int32_t* count);

}  // namespace lexicon
