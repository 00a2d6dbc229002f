// The platform's text fragments of one Speak call, built from the caller's
// input: each fragment points into the input text (UTF-16) at its source
// offset, with its state (rate, volume, pitch, emphasis, silence, …).
// Offsets are relative to the start of the piece spoken (a paragraph);
// `base` says where that piece starts in the whole input.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "interfaces/SapiTypes.h"

namespace vox::speech {

// The state of plain text: speak, full volume, no adjustments.
SPVSTATE DefaultState();

class FragmentList {
  public:
    FragmentList() = default;
    FragmentList(const FragmentList&) = delete;
    FragmentList& operator=(const FragmentList&) = delete;
    FragmentList(FragmentList&&) = default;
    FragmentList& operator=(FragmentList&&) = default;

    // The piece's text (fragments point into it) and its start in the input,
    // in Unicode characters.
    void SetSource(std::u16string source, uint64_t baseCharacters);
    const std::u16string& Source() const { return *source_; }
    uint64_t BaseCharacters() const { return base_; }
    // Unicode characters of the input before a UTF-16 offset of the piece.
    uint64_t CharacterIndex(uint64_t utf16Offset) const;

    // A fragment over source_[offset, offset + length).
    SPVTEXTFRAG& Add(const SPVSTATE& state, size_t offset, size_t length);
    // A fragment whose text is not part of the source (a bookmark name),
    // placed at `offset`.
    SPVTEXTFRAG& AddOwnText(const SPVSTATE& state, std::u16string text, size_t offset);
    // Keeps a text alive as long as the list (phone ids, categories).
    const char16_t* Keep(std::u16string text);

    const SPVTEXTFRAG* Head() const { return fragments_.empty() ? nullptr : &fragments_.front(); }
    size_t Count() const { return fragments_.size(); }
    bool HasText() const;  // a fragment with something to say

  private:
    SPVTEXTFRAG& Append(const SPVSTATE& state);
    // Held by pointer: fragments point into it, and a moved list keeps it.
    std::shared_ptr<std::u16string> source_ = std::make_shared<std::u16string>();
    uint64_t base_ = 0;
    std::vector<uint32_t> characterIndex_;  // per UTF-16 offset, characters before it
    std::deque<SPVTEXTFRAG> fragments_;     // stable addresses for pNext
    std::deque<std::u16string> kept_;
};

// Plain UTF-8 text as one speak fragment.
FragmentList FragmentsFromText(std::string_view utf8, uint64_t baseCharacters = 0,
                               const SPVSTATE& state = DefaultState());

// Splits plain text into paragraphs at blank lines; each keeps its offset
// (in Unicode characters) in the text.
struct Paragraph {
    std::string text;
    uint64_t baseCharacters;
};
std::vector<Paragraph> SplitParagraphs(std::string_view utf8);

// Unicode characters of UTF-8 text (every byte that does not continue a
// character counts, so invalid bytes count one each, as they are decoded).
uint64_t CountCharacters(std::string_view utf8);

}  // namespace vox::speech
