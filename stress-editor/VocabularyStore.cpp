#include "stress-editor/VocabularyStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/Registry.h"

namespace accentor {

namespace {

// Typed text in Windows-1251, or nullopt when it holds characters the file
// cannot keep.
std::optional<std::string> To1251(std::string_view utf8) {
    std::string text = vox::Utf8ToCp1251(utf8);
    if (vox::Cp1251ToUtf8(text) != utf8) return std::nullopt;
    return text;
}

std::string TrimWhite(std::string_view text) {
    const char* white = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(white);
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(white);
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

uint32_t ReadGeneration() {
    vox::reg::Key key;
    uint32_t generation = 0;
    if (vox::reg::Key::Open(vox::reg::Root::LocalMachine, kGlossorKey, key) == vox::reg::Status::Ok)
        key.QueryDword("AccentorBaseGeneration", generation);
    return generation;
}

void VocabularyStore::Open() {
    vocabulary_.Clear();
    path_.clear();
    vox::reg::Key key;
    if (vox::reg::Key::Open(vox::reg::Root::LocalMachine, kGlossorKey, key) != vox::reg::Status::Ok)
        return;
    std::string path;
    if (key.QueryText("AccentorBase", path, 259) != vox::reg::Status::Ok || path.empty()) return;
    Load(path);
}

void VocabularyStore::Load(const std::string& path) {
    path_ = path;
    std::string error;
    // An unreadable file leaves the vocabulary empty; the editor starts anyway.
    vocabulary_.Load(path, &error);
}

VocabularyStore::AddResult VocabularyStore::Add(std::string_view typed, Entry* added) {
    auto text = To1251(TrimWhite(typed));
    if (!text) return AddResult::Invalid;
    auto entry = ParseTypedWord(*text);
    if (!entry) return AddResult::Invalid;
    if (Find(vocabulary_, entry->text) == entry->stress) return AddResult::Unchanged;
    const std::string token = ToToken(*entry);
    vocabulary_.Apply(token);
    Append(token);
    IncreaseGeneration();
    if (added != nullptr) *added = *entry;
    return AddResult::Added;
}

void VocabularyStore::Remove(std::string_view typed) {
    std::string text;
    for (char c : vox::Utf8ToCp1251(TrimWhite(typed)))
        if (c != '+') text.push_back(c);
    text = vox::ToLower1251(text);
    // A text with white space would become several tokens in the file.
    if (!text.empty() && text.size() <= UserVocabulary::kMaxTokenBytes &&
        text.find_first_of(" \t\r\n\v\f") == std::string::npos) {
        vocabulary_.Apply(text);
        Append(text);
    }
    IncreaseGeneration();
}

void VocabularyStore::RemoveEntries(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        vocabulary_.Apply(text);
        Append(text);
    }
    IncreaseGeneration();
}

bool VocabularyStore::TakeAppendFailureNotice() {
    if (!appendFailed_ || appendNoticeGiven_) return false;
    appendNoticeGiven_ = true;
    return true;
}

void VocabularyStore::Append(const std::string& line) {
    if (path_.empty()) {
        appendFailed_ = true;
        appendError_ = "no vocabulary file is set (\"AccentorBase\")";
        return;
    }
    std::FILE* file = std::fopen(path_.c_str(), "ab");
    bool ok = file != nullptr;
    if (ok) {
        ok = std::fwrite(line.data(), 1, line.size(), file) == line.size() &&
             std::fputc('\n', file) != EOF;
        ok = (std::fclose(file) == 0) && ok;
    }
    if (!ok) {
        appendFailed_ = true;
        appendError_ = path_ + ": " + std::strerror(errno);
    }
}

void VocabularyStore::IncreaseGeneration() {
    vox::reg::Key key;
    if (vox::reg::Key::Create(vox::reg::Root::LocalMachine, kGlossorKey, key) !=
        vox::reg::Status::Ok)
        return;
    uint32_t generation = 0;
    key.QueryDword("AccentorBaseGeneration", generation);
    key.SetDword("AccentorBaseGeneration", generation + 1);
}

}  // namespace accentor
