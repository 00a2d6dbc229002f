#include "tools/voicebuild/PhoneMap.h"

#include <algorithm>
#include <sstream>

#include "platform/FileText.h"
#include "platform/Text.h"

namespace vox::voicebuild {

namespace {

struct KindWord {
    const char* word;
    PhoneKind kind;
};
constexpr KindWord kKinds[] = {
    {"pause", PhoneKind::Pause},
    {"stressed", PhoneKind::StressedVowel},
    {"unstressed", PhoneKind::UnstressedVowel},
    {"consonant", PhoneKind::Consonant},
};

constexpr const char* kVowelLetters[] = {"A", "E", "I", "O", "U", "Y"};

bool IsVowelLetter(const std::string& s) {
    return std::any_of(std::begin(kVowelLetters), std::end(kVowelLetters),
                       [&](const char* v) { return s == v; });
}

bool IsConsonantName(const std::string& s) {
    if (s.empty() || s.size() > 4 || IsVowelLetter(s)) return false;
    size_t letters = s.back() == '\'' ? s.size() - 1 : s.size();
    return letters > 0 && std::all_of(s.begin(), s.begin() + long(letters),
                                      [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Checks one parsed line; returns the problem or "".
std::string Check(const std::vector<std::string>& f, PhoneClass& entry) {
    auto kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                             [&](const KindWord& k) { return f[1] == k.word; });
    if (kind == std::end(kKinds))
        return "unknown kind \"" + f[1] + "\" (pause, stressed, unstressed or consonant)";
    entry.kind = kind->kind;
    entry.phonemes.assign(f.begin() + 2, f.end());
    switch (entry.kind) {
        case PhoneKind::Pause:
            return entry.phonemes.empty() ? "" : "a pause takes no phonemes";
        case PhoneKind::Consonant:
            if (entry.phonemes.size() != 1 || !IsConsonantName(entry.phonemes[0]))
                return "a consonant takes one consonant phoneme (like P or SH')";
            return "";
        default:
            if (entry.phonemes.empty() ||
                !std::all_of(entry.phonemes.begin(), entry.phonemes.end(), IsVowelLetter))
                return "a vowel takes one or more of the letters A E I O U Y";
            return "";
    }
}

}  // namespace

std::optional<PhoneMap> PhoneMap::Parse(const std::string& text, const std::string& path,
                                        std::string& error) {
    PhoneMap map;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        std::string_view content = raw;
        content = Trim(content.substr(0, content.find('#')));
        if (content.empty()) continue;
        std::vector<std::string> fields;
        std::istringstream words{std::string(content)};
        for (std::string w; words >> w;) fields.push_back(w);
        auto fail = [&](const std::string& what) {
            error = path + ":" + std::to_string(line) + ": " + what;
            return std::nullopt;
        };
        if (fields.size() < 2) return fail("expected \"PHONE KIND [PHONEMES…]\"");
        PhoneClass entry;
        entry.line = line;
        if (std::string problem = Check(fields, entry); !problem.empty()) return fail(problem);
        if (!map.phones_.emplace(fields[0], entry).second)
            return fail("phone \"" + fields[0] + "\" mapped twice");
    }
    if (map.phones_.empty()) {
        error = path + ": no phones mapped";
        return std::nullopt;
    }
    return map;
}

std::optional<PhoneMap> PhoneMap::Load(const std::string& path, std::string& error) {
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    return Parse(*text, path, error);
}

const PhoneClass* PhoneMap::Find(const std::string& phone) const {
    auto it = phones_.find(phone);
    return it == phones_.end() ? nullptr : &it->second;
}

}  // namespace vox::voicebuild
