#include "speech/TextFragments.h"

#include "platform/Utf16.h"

namespace vox::speech {

SPVSTATE DefaultState() {
    SPVSTATE s{};
    s.eAction = SPVA_Speak;
    s.LangID = 0x419;
    s.Volume = 100;
    return s;
}

void FragmentList::SetSource(std::u16string source, uint64_t baseCharacters) {
    source_ = std::make_shared<std::u16string>(std::move(source));
    base_ = baseCharacters;
    const std::u16string& text = *source_;
    characterIndex_.assign(text.size() + 1, 0);
    uint32_t n = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        characterIndex_[i] = n;
        const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
        const bool afterHigh = i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF;
        if (!(low && afterHigh)) ++n;
    }
    characterIndex_[text.size()] = n;
}

uint64_t FragmentList::CharacterIndex(uint64_t utf16Offset) const {
    if (characterIndex_.empty()) return base_ + utf16Offset;
    if (utf16Offset >= characterIndex_.size())
        return base_ + characterIndex_.back() + (utf16Offset - (characterIndex_.size() - 1));
    return base_ + characterIndex_[utf16Offset];
}

SPVTEXTFRAG& FragmentList::Append(const SPVSTATE& state) {
    SPVTEXTFRAG& f = fragments_.emplace_back();
    f.State = state;
    if (fragments_.size() > 1) fragments_[fragments_.size() - 2].pNext = &f;
    return f;
}

SPVTEXTFRAG& FragmentList::Add(const SPVSTATE& state, size_t offset, size_t length) {
    SPVTEXTFRAG& f = Append(state);
    const std::u16string& text = *source_;
    if (offset > text.size()) offset = text.size();
    if (length > text.size() - offset) length = text.size() - offset;
    f.pTextStart = text.data() + offset;
    f.ulTextLen = static_cast<uint32_t>(length);
    f.ulTextSrcOffset = static_cast<uint32_t>(offset);
    return f;
}

SPVTEXTFRAG& FragmentList::AddOwnText(const SPVSTATE& state, std::u16string text, size_t offset) {
    const char16_t* kept = Keep(std::move(text));
    SPVTEXTFRAG& f = Append(state);
    f.pTextStart = kept;
    f.ulTextLen = static_cast<uint32_t>(kept_.back().size());
    f.ulTextSrcOffset = static_cast<uint32_t>(offset);
    return f;
}

const char16_t* FragmentList::Keep(std::u16string text) {
    return kept_.emplace_back(std::move(text)).c_str();
}

bool FragmentList::HasText() const {
    for (const SPVTEXTFRAG& f : fragments_) {
        if (f.State.eAction != SPVA_Speak && f.State.eAction != SPVA_SpellOut &&
            f.State.eAction != SPVA_Pronounce)
            continue;
        for (uint32_t i = 0; i < f.ulTextLen; ++i)
            if (f.pTextStart[i] > u' ') return true;
        if (f.State.eAction == SPVA_Pronounce) return true;
    }
    return false;
}

FragmentList FragmentsFromText(std::string_view utf8, uint64_t baseCharacters,
                               const SPVSTATE& state) {
    FragmentList list;
    list.SetSource(Utf8ToUtf16(utf8), baseCharacters);
    list.Add(state, 0, list.Source().size());
    return list;
}

uint64_t CountCharacters(std::string_view utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    uint64_t n = 0;
    for (char16_t c : units)
        if (c < 0xDC00 || c > 0xDFFF) ++n;  // a pair counts once
    return n;
}

std::vector<Paragraph> SplitParagraphs(std::string_view utf8) {
    std::vector<Paragraph> paragraphs;
    size_t start = 0;
    uint64_t base = 0;
    auto emit = [&](size_t end) {
        const std::string_view piece = utf8.substr(start, end - start);
        if (piece.find_first_not_of(" \t\r\n") != std::string_view::npos)
            paragraphs.push_back({std::string(piece), base});
        base += CountCharacters(piece);
        start = end;
    };
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\n') continue;
        // A blank line (only blanks before the next newline) ends a paragraph.
        size_t j = i + 1;
        while (j < utf8.size() && (utf8[j] == ' ' || utf8[j] == '\t' || utf8[j] == '\r')) ++j;
        if (j < utf8.size() && utf8[j] == '\n') emit(j + 1), i = j;
    }
    emit(utf8.size());
    return paragraphs;
}

}  // namespace vox::speech
