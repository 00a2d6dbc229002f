#include "adapter/AnalysisText.h"

#include <algorithm>
#include <string_view>

#include "platform/Utf16.h"

namespace vox {

namespace {

constexpr size_t kPronCloseTagLength = 7;  // "</PRON>"

class Builder {
  public:
    explicit Builder(const PhoneIdsToText& phones) : phones_(phones) {}

    void Add(const SPVTEXTFRAG& f) {
        switch (f.State.eAction) {
            case SPVA_Speak:
                if (f.State.Context.pCategory != nullptr)
                    Attribute("Context=" + Utf16ToCp1251(f.State.Context.pCategory), f);
                FillTo(f.ulTextSrcOffset);
                out_.text += Text(f);
                break;
            case SPVA_Pronounce:
                Pronounce(f);
                break;
            case SPVA_SpellOut:
                Attribute("Spell", f);
                FillTo(f.ulTextSrcOffset);
                out_.text += Text(f);
                break;
            case SPVA_ParseUnknownTag:
                Tag(f);
                break;
            default:
                break;  // silences, bookmarks, sections: written by the output step
        }
    }

    AnalysisText Finish(uint32_t flags) {
        if (flags & SPF_NLP_SPEAK_PUNC)
            out_.attributes.push_back({"Punc", 0, static_cast<int32_t>(out_.text.size())});
        return std::move(out_);
    }

  private:
    // A zero character would end the text the lexical component reads, and
    // every word after it would be lost: it becomes a blank.
    static std::string Text(const SPVTEXTFRAG& f) {
        if (f.pTextStart == nullptr) return {};
        std::string text = Utf16ToCp1251({f.pTextStart, f.ulTextLen});
        std::replace(text.begin(), text.end(), '\0', ' ');
        return text;
    }

    void FillTo(uint64_t n) {
        if (out_.text.size() < n) out_.text.append(n - out_.text.size(), ' ');
    }

    void Attribute(std::string name, const SPVTEXTFRAG& f) {
        out_.attributes.push_back({std::move(name), static_cast<int32_t>(f.ulTextSrcOffset),
                                   static_cast<int32_t>(f.ulTextLen)});
    }

    void Pronounce(const SPVTEXTFRAG& f) {
        std::optional<std::u16string> phones;
        if (f.State.pPhoneIds != nullptr && phones_) phones = phones_(f.State.pPhoneIds);
        if (phones) {
            std::string text = Utf16ToCp1251(*phones);
            text.resize(std::string_view(text.c_str()).size());  // up to the first zero
            for (char& c : text)
                if (c == ' ') c = ',';
            Attribute("Pron=" + text, f);
        }
        if (f.ulTextLen == 0) {
            if (f.pNext != nullptr)
                FillTo(f.pNext->ulTextSrcOffset);
            else
                out_.text += ' ';
        } else {
            FillTo(uint64_t{f.ulTextSrcOffset} + f.ulTextLen + kPronCloseTagLength);
        }
    }

    void Tag(const SPVTEXTFRAG& f) {
        const std::u16string_view tag = f.pTextStart != nullptr
                                            ? std::u16string_view(f.pTextStart, f.ulTextLen)
                                            : std::u16string_view();
        if (tag == u"<ABOUT/>") {
            out_.attributes.push_back({"About", static_cast<int32_t>(f.ulTextSrcOffset), 0});
        } else if (tag == u"<STRESS>") {
            Open("Stress", f, stress_);
        } else if (tag == u"</STRESS>") {
            Close(f, stress_);
        } else if (tag == u"<PUNC>") {
            Open("Punc", f, punc_);
        } else if (tag == u"</PUNC>") {
            Close(f, punc_);
        } else {
            return;  // any other tag adds nothing
        }
        out_.text.append(tag.size(), ' ');
    }

    // An open span's provisional length is the next fragment's end offset.
    void Open(const char* name, const SPVTEXTFRAG& f, std::vector<size_t>& stack) {
        const int32_t provisional =
            f.pNext != nullptr ? static_cast<int32_t>(f.pNext->ulTextSrcOffset + f.pNext->ulTextLen)
                               : 0;
        stack.push_back(out_.attributes.size());
        out_.attributes.push_back({name, static_cast<int32_t>(f.ulTextSrcOffset), provisional});
    }

    void Close(const SPVTEXTFRAG& f, std::vector<size_t>& stack) {
        if (stack.empty()) return;
        TextAttribute& open = out_.attributes[stack.back()];
        stack.pop_back();
        open.length = static_cast<int32_t>(static_cast<int64_t>(f.ulTextSrcOffset) - open.position);
    }

    const PhoneIdsToText& phones_;
    AnalysisText out_;
    std::vector<size_t> stress_, punc_;
};

}  // namespace

std::vector<GlossorAttribute> AnalysisText::Records() const {
    std::vector<GlossorAttribute> records;
    records.reserve(attributes.size());
    for (const TextAttribute& a : attributes)
        records.push_back({const_cast<char*>(a.name.c_str()), 0, a.position, a.length, 0});
    return records;
}

AnalysisText BuildAnalysisText(const SPVTEXTFRAG* fragments, uint32_t speakFlags,
                               const PhoneIdsToText& phones) {
    Builder builder(phones);
    for (const SPVTEXTFRAG* f = fragments; f != nullptr; f = f->pNext) builder.Add(*f);
    return builder.Finish(speakFlags);
}

}  // namespace vox
