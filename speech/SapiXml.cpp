// SAPI 5 XML: volume, rate, pitch, emph, silence, bookmark, spell, pron,
// context and partofsp change the fragments' state or make action
// fragments; every other tag is passed to the engine unparsed, as written.
#include <strings.h>

#include <algorithm>

#include "platform/Text.h"
#include "platform/Utf16.h"
#include "speech/XmlFragments.h"
#include "speech/XmlSource.h"

namespace vox::speech {

namespace {

bool Is(const pugi::xml_node& n, const char* name) {
    return strcasecmp(n.name(), name) == 0;
}

// A numeric attribute; nullopt when absent or not a number.
std::optional<long long> Number(const pugi::xml_node& n, const char* name) {
    for (const pugi::xml_attribute& a : n.attributes())
        if (strcasecmp(a.name(), name) == 0) return ParseInteger(a.value());
    return std::nullopt;
}

std::string Attribute(const pugi::xml_node& n, const char* name) {
    for (const pugi::xml_attribute& a : n.attributes())
        if (strcasecmp(a.name(), name) == 0) return a.value();
    return {};
}

int32_t Clamp(long long v, int32_t low, int32_t high) {
    return static_cast<int32_t>(std::clamp<long long>(v, low, high));
}

SPPARTOFSPEECH PartOfSpeech(const std::string& part) {
    static const std::pair<const char*, SPPARTOFSPEECH> kParts[] = {
        {"noun", SPPS_Noun},
        {"verb", SPPS_Verb},
        {"modifier", SPPS_Modifier},
        {"function", SPPS_Function},
        {"interjection", SPPS_Interjection}};
    for (const auto& [name, value] : kParts)
        if (strcasecmp(part.c_str(), name) == 0) return value;
    return SPPS_Unknown;
}

class SapiWalker {
  public:
    explicit SapiWalker(XmlSource& src) : src_(src) {}

    bool Children(const pugi::xml_node& parent, const SPVSTATE& state, int depth,
                  std::string& error) {
        if (depth > kMaxMarkupDepth) {
            error = src_.Position(parent) + ": markup nested too deeply";
            return false;
        }
        for (const pugi::xml_node& n : parent.children()) {
            if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) {
                src_.Text(n, state);
            } else if (n.type() == pugi::node_element && !Element(n, state, depth, error)) {
                return false;
            }
        }
        return true;
    }

  private:
    bool Element(const pugi::xml_node& n, SPVSTATE state, int depth, std::string& error) {
        const size_t tag = src_.TagStart(n);
        if (Is(n, "volume")) {
            if (auto v = Number(n, "level"))
                state.Volume = static_cast<uint32_t>(Clamp(*v, 0, 100));
        } else if (Is(n, "rate")) {
            if (auto v = Number(n, "absspeed")) state.RateAdj = Clamp(*v, -10, 10);
            if (auto v = Number(n, "speed")) state.RateAdj = Clamp(state.RateAdj + *v, -10, 10);
        } else if (Is(n, "pitch")) {
            if (auto v = Number(n, "absmiddle")) state.PitchAdj.MiddleAdj = Clamp(*v, -10, 10);
            if (auto v = Number(n, "middle"))
                state.PitchAdj.MiddleAdj = Clamp(state.PitchAdj.MiddleAdj + *v, -10, 10);
        } else if (Is(n, "emph")) {
            state.EmphAdj = 1;
        } else if (Is(n, "silence")) {
            SPVSTATE s = state;
            s.eAction = SPVA_Silence;
            s.SilenceMSecs = static_cast<uint32_t>(Clamp(Number(n, "msec").value_or(0), 0, 65535));
            src_.Action(s, tag);
            return true;
        } else if (Is(n, "bookmark")) {
            SPVSTATE s = state;
            s.eAction = SPVA_Bookmark;
            src_.Action(s, tag, Utf8ToUtf16(Attribute(n, "mark")));
            return true;
        } else if (Is(n, "spell")) {
            state.eAction = SPVA_SpellOut;
        } else if (Is(n, "pron")) {
            return Pronounce(n, state, tag);
        } else if (Is(n, "context")) {
            const std::string id = Attribute(n, "id");
            if (!id.empty()) state.Context.pCategory = src_.Out().Keep(Utf8ToUtf16(id));
        } else if (Is(n, "partofsp")) {
            state.ePartOfSpeech = PartOfSpeech(Attribute(n, "part"));
        } else if (!Is(n, "voice") && !Is(n, "lang") && !Is(n, "sapi")) {
            return Unknown(n, state, tag, depth, error);
        }
        return Children(n, state, depth + 1, error);
    }

    bool Pronounce(const pugi::xml_node& n, SPVSTATE state, size_t tag) {
        state.eAction = SPVA_Pronounce;
        state.pPhoneIds = src_.Out().Keep(PhoneIdsFromNames(Attribute(n, "sym")));
        const pugi::xml_node text = n.first_child();
        if (text && (text.type() == pugi::node_pcdata)) {
            const size_t begin = static_cast<size_t>(text.offset_debug());
            const size_t end = src_.TextEnd(text);
            src_.Out().Add(state, src_.Utf16(begin), src_.Utf16(end) - src_.Utf16(begin));
        } else {
            src_.Action(state, src_.StartTagEnd(tag));
        }
        return true;
    }

    // An unknown tag goes to the engine as written, and so does its end tag.
    bool Unknown(const pugi::xml_node& n, const SPVSTATE& state, size_t tag, int depth,
                 std::string& error) {
        SPVSTATE s = state;
        s.eAction = SPVA_ParseUnknownTag;
        const size_t tagEnd = src_.StartTagEnd(tag);
        src_.Action(s, tag, Utf8ToUtf16(src_.Raw(tag, tagEnd)));
        if (src_.SelfClosed(tag)) return true;
        if (!Children(n, state, depth + 1, error)) return false;
        size_t closeStart = 0, closeEnd = 0;
        const size_t from = n.last_child() ? LastEnd(n.last_child(), tagEnd) : tagEnd;
        if (src_.ClosingTag(n.name(), from, closeStart, closeEnd))
            src_.Action(s, closeStart, Utf8ToUtf16(src_.Raw(closeStart, closeEnd)));
        return true;
    }

    // Where a node's source ends, at the latest (for finding a closing tag).
    size_t LastEnd(const pugi::xml_node& n, size_t fallback) const {
        if (n.type() == pugi::node_pcdata) return src_.TextEnd(n);
        if (n.type() != pugi::node_element) return std::max(fallback, size_t(n.offset_debug()));
        const size_t tag = src_.TagStart(n);
        const size_t tagEnd = src_.StartTagEnd(tag);
        if (src_.SelfClosed(tag)) return tagEnd;
        size_t s = 0, e = 0;
        const size_t from = n.last_child() ? LastEnd(n.last_child(), tagEnd) : tagEnd;
        return src_.ClosingTag(n.name(), from, s, e) ? e : from;
    }

    XmlSource& src_;
};

}  // namespace

bool FragmentsFromSapiXml(std::string_view utf8, const SPVSTATE& state, FragmentList& out,
                          std::string& error) {
    out = FragmentList();
    XmlSource src(utf8, out);
    pugi::xml_document doc;
    // A SAPI text may have several top-level elements and text between them.
    if (!src.Parse(doc, error, pugi::parse_fragment)) return false;
    SapiWalker walker(src);
    return walker.Children(doc, state, 0, error);
}

}  // namespace vox::speech
