// The new intonation model `CIntonationNewBase`, "IntonationNew.cfg"
// (docs/formats/intonation-new-cfg.md): per syntagma mark and number of
// words (1 to 6) plain pitch and tempo values per word part, spread evenly
// over the intonable sounds of each word part.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vox {

inline constexpr const char* kIntonationNewCaption = "CIntonationNewBase";
inline constexpr const char* kIntonationNewHeader = "* Vostrelin IntonationNew Profile - Version 1";

// Values before the stress, on the stressed part, after it.
using WordPattern = std::array<std::vector<int32_t>, 3>;

class IntonationNewBase {
  public:
    static constexpr size_t kMaxLineLength = 1023;
    static constexpr int kMaxWords = 6;
    static constexpr int32_t kMaxValue = 1000;  // percent
    static constexpr size_t kMaxEntries = 10000;

    // Reads the file again on every call, replacing what an earlier load
    // held. Faults are reported with the file and line; entries stored
    // before them stay. LoadText adds to or replaces entries by key.
    bool Load(const std::string& path);
    bool LoadText(std::string_view text, const std::string& path);
    void Clear();

    bool IsLoaded() const { return !pitch_.empty(); }
    // Empty when the key ("(.),2") is absent.
    const std::vector<WordPattern>* PitchPatterns(std::string_view key) const;
    const std::vector<WordPattern>* TempoPatterns(std::string_view key) const;
    int32_t FinalStressScale(std::string_view key) const;
    size_t EntryCount() const { return pitch_.size(); }

    // Pitch and tempo curves over every phoneme's samples (`lengths`); both
    // stay empty when the model has no entry for the phrase.
    void Prepare(std::string_view mark, std::span<const uint64_t> sds,
                 std::span<const int32_t> lengths, std::vector<float>& pitch,
                 std::vector<float>& tempo) const;

  private:
    std::map<std::string, std::vector<WordPattern>, std::less<>> pitch_, tempo_;
    std::map<std::string, int32_t, std::less<>> scale_;
    std::string path_;
};

// K values spread over `n` samples from `out[0]` on (linear between
// evenly spaced values; one value fills them all; none leaves them).
void SpreadValues(std::span<const int32_t> values, std::span<float> out);

}  // namespace vox
