#include "engine/prosody/IntonationProfile.h"

#include <algorithm>

#include "engine/prosody/ConfigText.h"

namespace vox {

namespace {

// Walks the interpreted lines (comments and blanks dropped), reporting a
// file that ends before the counts it announces.
class Reader {
  public:
    Reader(const std::vector<ConfigLine>& lines, const std::string& path)
        : lines_(lines), path_(path) {}

    bool AtEnd() const { return at_ >= lines_.size(); }
    int LastNumber() const { return at_ == 0 ? 0 : lines_[at_ - 1].number; }
    int LineNumber() const {
        return lines_.empty() ? 0 : lines_[std::min(at_, lines_.size() - 1)].number;
    }
    bool Next(std::string_view& text) {
        if (AtEnd()) {
            ReportAtLine(kDefaultCaption, path_, LineNumber(),
                         "the file ends inside a contour; the contour is dropped");
            return false;
        }
        text = lines_[at_++].text;
        return true;
    }
    // A count within [0, max]; a larger or negative one is reported.
    bool Count(int32_t max, int32_t& count, const char* what) {
        std::string_view text;
        if (!Next(text)) return false;
        count = LeadingInteger(text);
        if (count < 0 || count > max) {
            ReportAtLine(kDefaultCaption, path_, lines_[at_ - 1].number,
                         std::string("a count of ") + std::to_string(count) + " " + what +
                             " (at most " + std::to_string(max) + "); the contour is dropped");
            return false;
        }
        return true;
    }
    bool Point(ProfilePoint& point) {
        std::string_view text;
        if (!Next(text)) return false;
        point.x = LeadingInteger(text);
        // "%d %d": the second number follows the first one's digits.
        size_t i = 0;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        point.y = i < text.size() ? LeadingInteger(text.substr(i)) : 0;
        const ProfilePoint raw = point;
        point.x = std::clamp(point.x, -IntonationProfile::kMaxX, IntonationProfile::kMaxX);
        point.y = std::clamp(point.y, 0, IntonationProfile::kMaxY);
        if (raw.x != point.x || raw.y != point.y)
            ReportAtLine(kDefaultCaption, path_, lines_[at_ - 1].number,
                         "point out of range (x within ±100000, y within 0..1000); clamped");
        return true;
    }

  private:
    const std::vector<ConfigLine>& lines_;
    const std::string& path_;
    size_t at_ = 0;
};

bool ReadContour(Reader& in, std::vector<WordShape>& shapes) {
    int32_t count = 0;
    if (!in.Count(IntonationProfile::kMaxWordShapes, count, "of word shapes")) return false;
    shapes.assign(static_cast<size_t>(count), WordShape{});
    for (WordShape& shape : shapes) {
        for (int list = 0; list < 3; ++list) {
            int32_t points = 0;
            if (!in.Count(IntonationProfile::kMaxPoints, points, "of points")) return false;
            shape[list].resize(static_cast<size_t>(points));
            for (ProfilePoint& p : shape[list])
                if (!in.Point(p)) return false;
        }
    }
    return true;
}

}  // namespace

void IntonationProfile::Clear() {
    contours_.clear();
    loaded_ = false;
    path_.clear();
}

bool IntonationProfile::Load(const std::string& path, bool force) {
    if (!force && !path_.empty() && path == path_) return true;
    Clear();
    const std::optional<std::string> text = ReadConfigFile(path);
    if (!text) return false;
    return LoadText(*text, path);
}

bool IntonationProfile::LoadText(std::string_view text, const std::string& path) {
    Clear();
    const std::optional<std::vector<ConfigLine>> lines =
        LinesAfterHeader(text, path, kIntonationProfileHeader, "an intonation profile");
    if (!lines) return false;
    const std::vector<ConfigLine>& body = *lines;
    Reader in(body, path);
    bool ok = true;
    while (!in.AtEnd()) {
        std::string_view name;
        in.Next(name);
        const int nameLine = in.LastNumber();
        std::vector<WordShape> shapes;
        if (!ReadContour(in, shapes)) {
            ok = false;
            break;
        }
        if (shapes.size() < kContourShapes) {
            ReportAtLine(kDefaultCaption, path, nameLine,
                         "contour \"" + std::string(name) + "\" has fewer than 4 word shapes; " +
                             "it is dropped");
            continue;
        }
        contours_.try_emplace(std::string(name), std::move(shapes));  // the first one stays
    }
    if (!ok) return false;
    loaded_ = true;
    path_ = path;
    return true;
}

const std::vector<WordShape>* IntonationProfile::GetContour(std::string_view name) const {
    auto it = contours_.find(name);
    return it == contours_.end() ? nullptr : &it->second;
}

}  // namespace vox
