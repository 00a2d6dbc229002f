// Fragment lists written by hand for the adapter's tests.
#pragma once

#include <deque>
#include <string>

#include "interfaces/SapiTypes.h"

namespace vox::test {

class FragmentBuilder {
  public:
    SPVTEXTFRAG& Add(SPVACTIONS action, std::u16string text, uint32_t offset) {
        const std::u16string& kept = texts_.emplace_back(std::move(text));
        SPVTEXTFRAG& f = frags_.emplace_back();
        f.State.eAction = action;
        f.State.Volume = 100;
        f.pTextStart = kept.c_str();
        f.ulTextLen = static_cast<uint32_t>(kept.size());
        f.ulTextSrcOffset = offset;
        if (frags_.size() > 1) frags_[frags_.size() - 2].pNext = &f;
        return f;
    }
    SPVTEXTFRAG& Speak(std::u16string text, uint32_t offset) {
        return Add(SPVA_Speak, std::move(text), offset);
    }
    SPVTEXTFRAG& Silence(uint32_t ms, uint32_t offset) {
        SPVTEXTFRAG& f = Add(SPVA_Silence, u"", offset);
        f.State.SilenceMSecs = ms;
        return f;
    }
    const char16_t* Keep(std::u16string text) {
        return texts_.emplace_back(std::move(text)).c_str();
    }
    const SPVTEXTFRAG* Head() const { return frags_.empty() ? nullptr : &frags_.front(); }

  private:
    std::deque<std::u16string> texts_;
    std::deque<SPVTEXTFRAG> frags_;
};

}  // namespace vox::test
