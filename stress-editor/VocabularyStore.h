// The stress vocabulary as the editor keeps it: the entries in memory, the
// vocabulary file (named by "AccentorBase") that only ever grows by whole
// lines, and the change counter "AccentorBaseGeneration" that tells the
// lexical component to reload. Both values live under
// HKLM\Software\Vostrelin\Glossor Module\419.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "stress-editor/Vocabulary.h"

namespace accentor {

inline constexpr const char* kGlossorKey = "Software\\Vostrelin\\Glossor Module\\419";

class VocabularyStore {
  public:
    // Reads "AccentorBase" and loads its file; a missing value or file
    // leaves the vocabulary empty.
    void Open();
    // Loads the file at `path` (kept for the appends).
    void Load(const std::string& path);

    enum class AddResult { Added, Invalid, Unchanged };
    // A word as typed: "КОРО+ВА", "*ова+ть", "эксклюзи+вн*". UTF-8 text.
    AddResult Add(std::string_view typed, Entry* added = nullptr);
    // Deletes a text ("+" removed and lower-cased first); the counter moves
    // also when the vocabulary did not hold it.
    void Remove(std::string_view typed);
    // Deletes texts as shown in the list (Windows-1251, exact).
    void RemoveEntries(const std::vector<std::string>& texts);

    const UserVocabulary& Entries() const { return vocabulary_; }
    const std::string& Path() const { return path_; }

    // True once an append failed; the message is kept for the user, who is
    // told once.
    bool AppendFailed() const { return appendFailed_; }
    const std::string& AppendError() const { return appendError_; }
    // True the first time it is asked after a failed append.
    bool TakeAppendFailureNotice();

  private:
    void Append(const std::string& line);
    void IncreaseGeneration();

    UserVocabulary vocabulary_;
    std::string path_;
    bool appendFailed_ = false;
    bool appendNoticeGiven_ = false;
    std::string appendError_;
};

// The change counter: 0 when missing.
uint32_t ReadGeneration();

}  // namespace accentor
