#include "speech/VoiceTokens.h"

#include <strings.h>

namespace vox::speech {

std::vector<TokenInfo> InstalledVoices() {
    return EnumerateTokens(SPCAT_VOICES);
}

std::optional<TokenInfo> ChooseVoice(const std::vector<TokenInfo>& voices,
                                     const std::string& wanted) {
    if (wanted.empty()) {
        for (const TokenInfo& v : voices)
            if (MatchesAttributes(v, "Language=419")) return v;
        if (!voices.empty()) return voices.front();
        return std::nullopt;
    }
    for (const TokenInfo& v : voices)
        if (strcasecmp(v.key.c_str(), wanted.c_str()) == 0) return v;
    for (const TokenInfo& v : voices) {
        const auto name = v.attributes.find("name");
        if (strcasecmp(v.name.c_str(), wanted.c_str()) == 0 ||
            (name != v.attributes.end() && strcasecmp(name->second.c_str(), wanted.c_str()) == 0))
            return v;
    }
    if (wanted.find('=') != std::string::npos)
        for (const TokenInfo& v : voices)
            if (MatchesAttributes(v, wanted)) return v;
    return std::nullopt;
}

std::string VoiceList(const std::vector<TokenInfo>& voices) {
    std::string list;
    for (const TokenInfo& v : voices) {
        if (!list.empty()) list += ", ";
        list += v.key;
        if (!v.name.empty() && v.name != v.key) list += " (" + v.name + ")";
    }
    return list.empty() ? "none" : list;
}

}  // namespace vox::speech
