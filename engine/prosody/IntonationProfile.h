// The intonation profile "Intonation.cfg" (docs/formats/intonation-cfg.md):
// per syntagma mark a contour of word shapes (first word, odd and even
// middle words, last word), each three point lists (before the stress, the
// stressed part, after it). IntonationContour renders them over a phrase.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vox {

struct ProfilePoint {
    int32_t x = 0;  // percent of the part's length
    int32_t y = 0;  // pitch on the profile's scale; 0 = no value
};

using PointList = std::vector<ProfilePoint>;

// Lists 0-2 are before the stress, the stressed part, after it; 3 stays empty.
using WordShape = std::array<PointList, 4>;

// The shapes a phrase uses: first word, odd middle, even middle, last word.
inline constexpr size_t kContourShapes = 4;

class IntonationProfile {
  public:
    static constexpr size_t kMaxLineLength = 9999;
    static constexpr int32_t kMaxWordShapes = 64;
    static constexpr int32_t kMaxPoints = 1000;
    static constexpr int32_t kMaxX = 100000;  // percent
    static constexpr int32_t kMaxY = 1000;

    // Reads the file unless `force` is off and it is the one loaded last. A
    // missing or empty file fails silently; a wrong header, a truncated
    // contour, a contour of fewer than four shapes and absurd values are
    // reported with the file and line. Contours read before a fault stay.
    bool Load(const std::string& path, bool force);
    bool LoadText(std::string_view text, const std::string& path);
    void Clear();

    // The contour named so (a syntagma mark), or null. A contour always has
    // at least kContourShapes shapes.
    const std::vector<WordShape>* GetContour(std::string_view name) const;
    bool IsLoaded() const { return loaded_; }
    size_t ContourCount() const { return contours_.size(); }

  private:
    std::map<std::string, std::vector<WordShape>, std::less<>> contours_;
    bool loaded_ = false;
    std::string path_;
};

inline constexpr const char* kIntonationProfileHeader = "Vostrelin Intonation Profile * Version 5";

}  // namespace vox
