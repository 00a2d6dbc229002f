// The adapter's side of the lexical component (the Glossor Module): its
// creation from the voice's "LingProcessor" class id, the three interfaces,
// the code page, the vocabulary generation, and sentences copied out of the
// component's memory into plain records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interfaces/IGlossor.h"
#include "platform/ComKit.h"

namespace vox {

inline constexpr const char* kAdapterCaption = "Vostrelin Sapi5 Adapter";

struct SpokenWord {
    std::string transcription;  // phonemes joined by ","
    int64_t position = 0;       // source position (characters)
    int32_t length = 0;         // source length
};

struct SpokenSyntagma {
    std::string type;  // phrase mark "|" final pause mark
    std::vector<SpokenWord> words;
};

// "AccentorBaseGeneration" under HKLM "Software\Vostrelin\Glossor Module\<language>",
// or -1 when there is none.
int32_t ReadVocabularyGeneration(const std::string& language);

class GlossorClient {
  public:
    // Creates the component and its interfaces; on failure shows the message
    // box of the step that failed and returns E_FAIL.
    HRESULT Create(const std::string& clsidText, const std::string& sublang);
    bool Ready() const { return static_cast<bool>(text_); }

    uint32_t CodePage() const { return codePage_; }
    IGlossorTextEx& Text() const { return *text_.Get(); }
    HRESULT ReloadUserVocabulary() const;

    // The next sentence; false when the component gave none. `moreFollow`
    // is the component's flag that more sentences follow.
    bool NextSentence(std::vector<SpokenSyntagma>& sentence, bool& moreFollow) const;

  private:
    ComPtr<IGlossorTextEx> text_;
    ComPtr<IGlossorUserBase> userBase_;
    ComPtr<IGlossorSublanguage> sublanguage_;
    uint32_t codePage_ = 1251;
};

}  // namespace vox
