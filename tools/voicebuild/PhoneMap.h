// The phone map of a corpus: what each label phone is in our phoneme terms,
// used to align the labels with our own transcription. Text file, one phone
// per line, "#" starts a comment:
//   PHONE  pause
//   PHONE  stressed    LETTERS…    (vowel with word stress: A E I O U Y)
//   PHONE  unstressed  LETTERS…    (reduced vowel; the letters it may stand for)
//   PHONE  consonant   PHONEME     (one of our consonant phonemes: P, P', SH', …)
// See docs/voice-building.md.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vox::voicebuild {

enum class PhoneKind { Pause, StressedVowel, UnstressedVowel, Consonant };

struct PhoneClass {
    PhoneKind kind = PhoneKind::Pause;
    std::vector<std::string> phonemes;  // vowel letters, or the one consonant phoneme
    int line = 0;
};

class PhoneMap {
  public:
    // nullopt with `error` ("file:line: what") on the first bad line.
    static std::optional<PhoneMap> Load(const std::string& path, std::string& error);
    static std::optional<PhoneMap> Parse(const std::string& text, const std::string& path,
                                         std::string& error);

    const PhoneClass* Find(const std::string& phone) const;
    size_t Size() const { return phones_.size(); }

  private:
    std::map<std::string, PhoneClass> phones_;
};

}  // namespace vox::voicebuild
