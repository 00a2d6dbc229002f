#include "speech/XmlSource.h"

#include <cstring>

#include "platform/Text.h"
#include "platform/Utf16.h"
#include "speech/PhoneNames.h"

namespace vox::speech {

XmlSource::XmlSource(std::string_view utf8, FragmentList& out) : utf8_(utf8), out_(out) {
    // Fragments point into the UTF-16 text, decoded exactly as the offsets are.
    out_.SetSource(Utf8ToUtf16(utf8, utf16At_), 0);
}

std::string LineColumn(std::string_view utf8, size_t byteOffset) {
    size_t line = 1, column = 1;
    for (size_t i = 0; i < byteOffset && i < utf8.size(); ++i) {
        if (utf8[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return std::to_string(line) + ":" + std::to_string(column);
}

std::string XmlSource::Position(const pugi::xml_node& n) const {
    return LineColumn(utf8_, static_cast<size_t>(std::max<ptrdiff_t>(n.offset_debug(), 0)));
}

bool XmlSource::Parse(pugi::xml_document& doc, std::string& error, unsigned extraFlags) const {
    const pugi::xml_parse_result result = doc.load_buffer(
        utf8_.data(), utf8_.size(), pugi::parse_default | extraFlags, pugi::encoding_utf8);
    if (!result) {
        error = LineColumn(utf8_, static_cast<size_t>(result.offset)) + ": " + result.description();
        return false;
    }
    return true;
}

size_t XmlSource::Utf16(size_t byteOffset) const {
    return utf16At_[std::min(byteOffset, utf16At_.size() - 1)];
}

size_t XmlSource::TagStart(const pugi::xml_node& element) const {
    size_t at = std::min(static_cast<size_t>(element.offset_debug()), utf8_.size());
    while (at > 0 && utf8_[at] != '<') --at;
    return at;
}

size_t XmlSource::StartTagEnd(size_t tagStart) const {
    char quote = 0;
    for (size_t i = tagStart; i < utf8_.size(); ++i) {
        const char c = utf8_[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return utf8_.size();
}

bool XmlSource::SelfClosed(size_t tagStart) const {
    const size_t end = StartTagEnd(tagStart);
    return end >= 2 && utf8_[end - 2] == '/';
}

size_t XmlSource::TextEnd(const pugi::xml_node& text) const {
    const size_t start = static_cast<size_t>(text.offset_debug());
    const size_t end = utf8_.find('<', start);
    return end == std::string_view::npos ? utf8_.size() : end;
}

bool XmlSource::ClosingTag(const char* name, size_t from, size_t& start, size_t& end) const {
    const std::string tag = std::string("</") + name;
    for (size_t at = utf8_.find(tag, from); at != std::string_view::npos;
         at = utf8_.find(tag, at + 1)) {
        const size_t after = at + tag.size();
        if (after < utf8_.size() && (utf8_[after] == '>' || std::strchr(" \t\r\n", utf8_[after]))) {
            start = at;
            end = StartTagEnd(at);
            return true;
        }
    }
    return false;
}

void XmlSource::Text(const pugi::xml_node& text, const SPVSTATE& state) {
    const size_t begin = static_cast<size_t>(text.offset_debug());
    const size_t end = TextEnd(text);
    const std::string_view value = text.value();
    if (Trim(value).empty()) return;
    if (utf8_.substr(begin, end - begin) == value) {
        // The text as it stands in the input: positions inside it are exact.
        out_.Add(state, Utf16(begin), Utf16(end) - Utf16(begin));
    } else {
        // Entities or line ends were decoded: the text starts where it stood.
        out_.AddOwnText(state, Utf8ToUtf16(value), Utf16(begin));
    }
}

void XmlSource::Action(const SPVSTATE& state, size_t byteOffset, std::u16string text) {
    out_.AddOwnText(state, std::move(text), Utf16(byteOffset));
}

std::u16string PhoneIdsFromNames(std::string_view names) {
    std::u16string ids;
    std::string spaced(names);
    for (char& c : spaced)
        if (c == ',' || c == '\t' || c == '\n' || c == '\r') c = ' ';
    for (const std::string& name : SplitList(spaced, ' '))
        if (const int32_t id = PhoneId419(name); id != 0) ids += static_cast<char16_t>(id);
    return ids;
}

}  // namespace vox::speech
