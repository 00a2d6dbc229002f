// SSML 1.1: speak, p, s, break, prosody, emphasis, mark, say-as (characters,
// cardinal, ordinal, date, time, telephone), phoneme and sub. Every other
// element is ignored and its text kept.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/Text.h"
#include "platform/Utf16.h"
#include "speech/XmlFragments.h"
#include "speech/XmlSource.h"

namespace vox::speech {

namespace {

// The local name (an "ssml:" prefix or any other is dropped).
std::string_view Local(const pugi::xml_node& n) {
    std::string_view name = n.name();
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

int32_t Clamp(double v, int32_t low, int32_t high) {
    return static_cast<int32_t>(std::clamp(std::lround(v), long{low}, long{high}));
}

std::optional<double> NumberPrefix(std::string_view text, std::string_view unit) {
    if (text.size() <= unit.size() || text.substr(text.size() - unit.size()) != unit)
        return std::nullopt;
    return ParseDouble(text.substr(0, text.size() - unit.size()));
}

// A duration "250ms" or "1.5s" in milliseconds.
std::optional<uint32_t> Duration(std::string_view text) {
    text = Trim(text);
    std::optional<double> v = NumberPrefix(text, "ms");
    if (!v) {
        v = NumberPrefix(text, "s");
        if (v) *v *= 1000;
    }
    if (!v || *v < 0) return std::nullopt;
    return static_cast<uint32_t>(std::min(*v, 600000.0));
}

uint32_t BreakLength(const pugi::xml_node& n) {
    if (auto ms = Duration(n.attribute("time").value())) return *ms;
    static const std::pair<const char*, uint32_t> kStrength[] = {
        {"none", 0},     {"x-weak", 100}, {"weak", 200},
        {"medium", 400}, {"strong", 700}, {"x-strong", 1200}};
    const std::string_view strength = n.attribute("strength").value();
    for (const auto& [name, ms] : kStrength)
        if (strength == name) return ms;
    return 400;
}

// A prosody value on the platform's -10 … 10 scale: a word, a relative
// percentage ("+20%", "150%" of the current value for rate) or a number.
std::optional<int32_t> Scale(std::string_view text, int32_t current, bool rate) {
    text = Trim(text);
    static const std::pair<const char*, int32_t> kWords[] = {
        {"x-slow", -8}, {"slow", -4}, {"medium", 0}, {"fast", 4},   {"x-fast", 8},
        {"x-low", -8},  {"low", -4},  {"high", 4},   {"x-high", 8}, {"default", 0}};
    for (const auto& [word, value] : kWords)
        if (text == word) return value;
    if (auto pct = NumberPrefix(text, "%")) {
        // Rate: 200% is twice as fast, i.e. 10 steps (the platform's rate
        // doubles every 10 steps); pitch: +10% is about one step.
        const bool relative = !text.empty() && (text[0] == '+' || text[0] == '-');
        if (rate && !relative)
            return Clamp(current + 10 * std::log2(std::max(*pct, 1.0) / 100), -10, 10);
        return Clamp(current + *pct / 10, -10, 10);
    }
    if (auto st = NumberPrefix(text, "st")) return Clamp(current + *st, -10, 10);
    if (auto hz = NumberPrefix(text, "Hz")) return Clamp(current + *hz / 10, -10, 10);
    if (auto n = ParseDouble(text))
        return Clamp(rate ? 10 * std::log2(std::max(*n, 0.01)) : *n, -10, 10);
    return std::nullopt;
}

std::optional<uint32_t> Volume(std::string_view text, uint32_t current) {
    text = Trim(text);
    static const std::pair<const char*, uint32_t> kWords[] = {
        {"silent", 0}, {"x-soft", 20},  {"soft", 40},    {"medium", 60},
        {"loud", 80},  {"x-loud", 100}, {"default", 100}};
    for (const auto& [word, value] : kWords)
        if (text == word) return value;
    if (auto db = NumberPrefix(text, "dB"))
        return static_cast<uint32_t>(std::clamp(current * std::pow(10.0, *db / 20), 0.0, 100.0));
    if (auto n = ParseDouble(text)) {
        const bool relative = !text.empty() && (text[0] == '+' || text[0] == '-');
        return static_cast<uint32_t>(std::clamp(relative ? current + *n : *n, 0.0, 100.0));
    }
    return std::nullopt;
}

class SsmlWalker {
  public:
    explicit SsmlWalker(XmlSource& src) : src_(src) {}

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
        const std::string_view name = Local(n);
        const size_t tag = src_.TagStart(n);
        if (name == "break") {
            SPVSTATE s = state;
            s.eAction = SPVA_Silence;
            s.SilenceMSecs = BreakLength(n);
            src_.Action(s, tag);
            return true;
        }
        if (name == "mark") {
            SPVSTATE s = state;
            s.eAction = SPVA_Bookmark;
            src_.Action(s, tag, Utf8ToUtf16(n.attribute("name").value()));
            return true;
        }
        if (name == "prosody") {
            if (auto r = Scale(n.attribute("rate").value(), state.RateAdj, true))
                state.RateAdj = *r;
            if (auto p = Scale(n.attribute("pitch").value(), state.PitchAdj.MiddleAdj, false))
                state.PitchAdj.MiddleAdj = *p;
            if (auto v = Volume(n.attribute("volume").value(), state.Volume)) state.Volume = *v;
        } else if (name == "emphasis") {
            const std::string_view level = n.attribute("level").value();
            state.EmphAdj = level == "none" || level == "reduced" ? 0 : 1;
        } else if (name == "say-as") {
            SayAs(n, state);
        } else if (name == "phoneme") {
            state.eAction = SPVA_Pronounce;
            state.pPhoneIds = src_.Out().Keep(PhoneIdsFromNames(n.attribute("ph").value()));
            return Pronounce(n, state, tag);
        } else if (name == "sub") {
            SPVSTATE s = state;
            const size_t at =
                n.first_child() ? size_t(n.first_child().offset_debug()) : src_.StartTagEnd(tag);
            src_.Action(s, at, Utf8ToUtf16(n.attribute("alias").value()));
            return true;
        }
        return Children(n, state, depth + 1, error);
    }

    // Numbers, dates, times and telephone numbers are read by the lexical
    // component: the context says which; characters are spelled out.
    void SayAs(const pugi::xml_node& n, SPVSTATE& state) {
        const std::string_view as = n.attribute("interpret-as").value();
        if (as == "characters" || as == "spell-out") {
            state.eAction = SPVA_SpellOut;
            return;
        }
        static const char* const kContexts[] = {"cardinal", "ordinal", "date", "time", "telephone"};
        for (const char* context : kContexts)
            if (as == context) state.Context.pCategory = src_.Out().Keep(Utf8ToUtf16(context));
    }

    bool Pronounce(const pugi::xml_node& n, const SPVSTATE& state, size_t tag) {
        const pugi::xml_node text = n.first_child();
        if (text && text.type() == pugi::node_pcdata) {
            const size_t begin = static_cast<size_t>(text.offset_debug());
            const size_t end = src_.TextEnd(text);
            src_.Out().Add(state, src_.Utf16(begin), src_.Utf16(end) - src_.Utf16(begin));
        } else {
            src_.Action(state, src_.StartTagEnd(tag));
        }
        return true;
    }

    XmlSource& src_;
};

}  // namespace

bool FragmentsFromSsml(std::string_view utf8, const SPVSTATE& state, FragmentList& out,
                       std::string& error) {
    out = FragmentList();
    XmlSource src(utf8, out);
    pugi::xml_document doc;
    if (!src.Parse(doc, error)) return false;
    const pugi::xml_node root = doc.document_element();
    if (Local(root) != "speak") {
        error = src.Position(root) + ": an SSML document is one <speak> element";
        return false;
    }
    SsmlWalker walker(src);
    return walker.Children(root, state, 0, error);
}

}  // namespace vox::speech
