#include "Transcriber.h"

#include "phonetic/LetterToPhoneme.h"
#include "platform/Text.h"

namespace lexicon {

namespace {

constexpr size_t kCacheLimit = 50000;

// "#,M,O0,R',E2,#" -> "M,O0,R',E2"; a word break inside ("_") is dropped.
std::string Inner(const std::string& phrase) {
    std::string out;
    size_t start = 0;
    while (start <= phrase.size()) {
        size_t comma = phrase.find(',', start);
        if (comma == std::string::npos) comma = phrase.size();
        const std::string_view p(phrase.data() + start, comma - start);
        if (!p.empty() && p != "#" && p != "_") {
            if (!out.empty()) out += ',';
            out += p;
        }
        start = comma + 1;
    }
    return out;
}

}  // namespace

Transcriber::Transcriber(vox::ComPtr<IPhonetic> module) : module_(std::move(module)) {}

std::string Transcriber::Convert(const std::string& letters) {
    if (!module_) {
        static constexpr vox::LetterToPhonemeOptions kRules{.zhClusterRule = true,
                                                            .reduceUnstressedJo = false};
        return Inner(vox::LettersToPhonemes(letters, kRules));
    }
    char* block = nullptr;
    if (FAILED(module_->LettersToPhonemes(letters.c_str(), &block)) || block == nullptr) {
        CoTaskMemFree(block);
        return {};
    }
    std::string phrase(block);
    CoTaskMemFree(block);
    return Inner(phrase);
}

std::string Transcriber::Transcribe(const std::string& letters) {
    if (auto it = cache_.find(letters); it != cache_.end()) return it->second;
    std::string result = Convert(letters);
    if (cache_.size() >= kCacheLimit) cache_.clear();
    cache_.emplace(letters, result);
    return result;
}

bool Transcriber::IsPhonemeList(const std::string& phonemes) {
    const std::vector<std::string> items = vox::SplitList(phonemes);
    if (items.empty()) return false;
    for (const std::string& p : items) {
        if (p == "#" || p == "_") return false;
        if (module_) {
            int32_t code = 0;
            if (module_->GetPhonemeCode(p.c_str(), &code) != S_OK || code <= 0) return false;
        } else if (p.size() > 4 ||
                   p.find_first_not_of("ABCDEFGHIJKLMNOPRSTUVXYZ'0125") != std::string::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace lexicon
