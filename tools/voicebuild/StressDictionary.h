// The stress dictionary of a festvox Russian corpus (`dict/*_dict.scm`): a
// header line "MNCL", then entries ("word" POS (N)) with an optional fourth
// field fix_yo, several entries allowed on one line. N is the 1-based index
// of the stressed vowel letter, 0 for an unstressed word; fix_yo says that the
// stressed "е" is "ё". Words are kept in Windows-1251.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vox::voicebuild {

struct StressReading {
    int vowel = 0;    // 1-based index of the stressed vowel letter; 0: none
    bool yo = false;  // the stressed "е" is written "ё"
};

class StressDictionary {
  public:
    // nullopt when the file cannot be read; bad entries are skipped and
    // described in `problems` ("file:line: what").
    static std::optional<StressDictionary> Load(const std::string& path,
                                                std::vector<std::string>& problems);
    // `text` in UTF-8.
    static StressDictionary Parse(std::string_view text, const std::string& path,
                                  std::vector<std::string>& problems);

    // The first reading of a lower-case Windows-1251 word, or null. (Readings
    // told apart only by part of speech cannot be chosen from text alone.)
    const StressReading* Find(std::string_view word) const;
    size_t Size() const { return entries_.size(); }
    void Add(std::string word, StressReading reading) {
        entries_.emplace(std::move(word), reading);
    }

  private:
    std::unordered_map<std::string, StressReading> entries_;
};

}  // namespace vox::voicebuild
