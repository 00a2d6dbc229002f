// The input of a markup parser: the UTF-8 text, its UTF-16 form (which the
// fragments point into), the mapping of byte offsets to UTF-16 offsets, and
// the fragment-building steps both markup languages share.
#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "speech/TextFragments.h"

namespace vox::speech {

class XmlSource {
  public:
    XmlSource(std::string_view utf8, FragmentList& out);

    // Parses; false with "LINE:COLUMN: description".
    bool Parse(pugi::xml_document& doc, std::string& error, unsigned extraFlags = 0) const;
    std::string Position(const pugi::xml_node& n) const;

    size_t Utf16(size_t byteOffset) const;
    // Byte offset of the "<" that opens an element, and the end of its start tag.
    size_t TagStart(const pugi::xml_node& element) const;
    size_t StartTagEnd(size_t tagStart) const;
    bool SelfClosed(size_t tagStart) const;
    // The byte just after a text node's raw text (the next "<").
    size_t TextEnd(const pugi::xml_node& text) const;
    // The closing tag "</name" at or after `from`: its start and its end.
    bool ClosingTag(const char* name, size_t from, size_t& start, size_t& end) const;
    std::string Raw(size_t begin, size_t end) const {
        return std::string(utf8_.substr(begin, end - begin));
    }

    // Fragments.
    void Text(const pugi::xml_node& text, const SPVSTATE& state);
    void Action(const SPVSTATE& state, size_t byteOffset, std::u16string text = {});
    FragmentList& Out() { return out_; }

  private:
    std::string_view utf8_;
    FragmentList& out_;
    std::vector<uint32_t> utf16At_;  // per byte offset
};

// Phone names separated by blanks or commas → zero-terminated phone ids;
// unknown names are left out.
std::u16string PhoneIdsFromNames(std::string_view names);

// "LINE:COLUMN" of a byte offset (both from 1; columns in characters).
std::string LineColumn(std::string_view utf8, size_t byteOffset);

inline constexpr int kMaxMarkupDepth = 256;

}  // namespace vox::speech
