#include "phonetic/ClusterRules.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vox::letters {
namespace {

struct Rewrite {
    std::string_view from;
    std::string_view to;
};

// Applied one after the other, each to the whole text, so a later rewrite
// sees the result of the earlier ones.
constexpr Rewrite kClusterRewrites[] = {
    {"S,J'", "S',J'"},     {"S,N'", "S',N'"},     {"F,S'", "F',S'"},  {"D,D'", "D',D'"},
    {"S,S'", "S',S'"},     {"T,T'", "T',T'"},     {"Z,Z'", "Z',Z'"},  {"N,N'", "N',N'"},
    {"P,P'", "P',P'"},     {"R,R'", "R',R'"},     {"G,G'", "G',G'"},  {"K,K'", "K',K'"},
    {"SH,SH'", "SH',SH'"}, {"ZH,ZH'", "ZH',ZH'"}, {"V,V'", "V',V'"},  {"B,B'", "B',B'"},
    {"F,F'", "F',F'"},     {"M,M'", "M',M'"},     {"X,X'", "X',X'"},  {"Z,N'", "Z',N'"},
    {"N,Z'", "N',Z'"},     {"B,L'", "B',L'"},     {"T',C", "C,C"},    {"S,CH'", "SH'"},
    {"S,SH", "SH,SH"},     {"Z,ZH", "ZH,ZH"},     {"S,T,CH'", "SH'"}, {"N,CH'", "N',CH'"},
    {"N,SH'", "N',SH'"},   {"Z,CH'", "SH',SH'"},  {"T',S'", "T,C"},
};

constexpr Rewrite kSoftLL = {"L,L'", "L',L'"};
constexpr std::string_view kHardLBeforeL = "\xEB\xFA\xEB";  // лъл

// The phonemes with the Voiceless attribute (the same in every module).
constexpr std::array<std::string_view, 16> kVoicelessPhonemes = {
    "C", "CH'", "F", "F'", "K", "K'", "P", "P'", "S", "S'", "SH", "SH'", "T", "T'", "X", "X'",
};

bool IsVoiceless(std::string_view phoneme) {
    return std::find(kVoicelessPhonemes.begin(), kVoicelessPhonemes.end(), phoneme) !=
           kVoicelessPhonemes.end();
}

void ReplaceAll(std::string& text, const Rewrite& rewrite, std::string& scratch) {
    std::size_t found = text.find(rewrite.from);
    if (found == std::string::npos) return;
    scratch.clear();
    std::size_t copied = 0;
    while (found != std::string::npos) {
        scratch.append(text, copied, found - copied);
        scratch += rewrite.to;
        copied = found + rewrite.from.size();
        found = text.find(rewrite.from, copied);
    }
    scratch.append(text, copied);
    text.swap(scratch);
}

// The phoneme that starts at `start` (up to the next ",").
std::string_view PhonemeAt(std::string_view text, std::size_t start) {
    const std::size_t end = std::min(text.find(',', start), text.size());
    return text.substr(start, end - start);
}

// A voiced fricative before a voiceless consonant loses its voice ("Z,T" of
// "подъе+зд" becomes "S,T"). Voiced and voiceless names have the same length.
// Scanned from the right so that the loss spreads through a run of them:
// "ZH,ZH,K" becomes "SH,SH,K", not "ZH,SH,K".
void DevoiceBeforeVoiceless(std::string& text, std::string_view voiced,
                            std::string_view voiceless) {
    const std::string pattern = "," + std::string(voiced) + ",";
    for (std::size_t found = text.rfind(pattern); found != std::string::npos;
         found = found == 0 ? std::string::npos : text.rfind(pattern, found - 1)) {
        if (IsVoiceless(PhonemeAt(text, found + pattern.size()))) {
            text.replace(found + 1, voiced.size(), voiceless);
        }
    }
}

}  // namespace

void RewriteClusters(std::string& phonemes, std::string_view letters,
                     const ClusterOptions& options) {
    std::string scratch;
    scratch.reserve(phonemes.size());
    for (const Rewrite& rewrite : kClusterRewrites) ReplaceAll(phonemes, rewrite, scratch);
    if (letters.find(kHardLBeforeL) == std::string_view::npos) {
        ReplaceAll(phonemes, kSoftLL, scratch);
    }
    DevoiceBeforeVoiceless(phonemes, "Z", "S");
    if (options.zhClusterRule) DevoiceBeforeVoiceless(phonemes, "ZH", "SH");
}

void ClosePhrase(std::string& phonemes) {
    // Compacts in place: an item is never written past the place it is read from.
    std::size_t written = 0;
    const auto write = [&](std::string_view item) {
        std::memmove(phonemes.data() + written, item.data(), item.size());
        written += item.size();
        phonemes[written++] = ',';
    };
    const std::string_view text = phonemes;
    std::size_t next = text.find(',');  // the opening "#" stays where it is
    if (next == std::string_view::npos) {
        phonemes.clear();
        return;
    }
    written = ++next;
    bool breakPending = false;
    bool hasSound = false;
    while (next < text.size()) {
        const std::string_view item = PhonemeAt(text, next);
        next += item.size() + 1;
        if (item.empty()) continue;
        if (item == "_") {
            breakPending = hasSound;  // a break before the first sound is dropped
            continue;
        }
        if (breakPending) write("_");
        breakPending = false;
        write(item);
        hasSound = true;
    }
    if (!hasSound) {
        phonemes.clear();  // "#,#" is no phrase
        return;
    }
    phonemes.resize(written);
    phonemes += '#';
}

}  // namespace vox::letters
