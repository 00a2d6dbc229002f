#include "engine/prosody/ConfigText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <fstream>

#include "platform/Messages.h"
#include "platform/Text.h"

namespace vox {

ConfigLines SplitConfigLines(std::string_view text, size_t maxLength, bool dropEmpty,
                             bool dropComments) {
    ConfigLines out;
    size_t pos = 0;
    for (int number = 0; pos < text.size(); ++number) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        if (raw.size() > maxLength) {
            out.tooLongAt = number;
            break;
        }
        const std::string_view line = Trim(raw);
        if (dropEmpty && line.empty()) continue;
        if (dropComments && !line.empty() && line.front() == ';') continue;
        out.lines.push_back({line, number});
    }
    return out;
}

std::optional<std::string> ReadConfigFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    while (file) {
        file.read(buffer, sizeof buffer);
        bytes.append(buffer, static_cast<size_t>(file.gcount()));
        if (bytes.size() > kMaxConfigFileBytes) return std::nullopt;
    }
    if (file.bad()) return std::nullopt;
    return bytes;
}

int32_t LeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' ||
                               text[i] == '\n' || text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{1} << 40);
    if (negative) value = -value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

double LeadingDouble(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc() || end == text.data() || !std::isfinite(value)) return 0.0;
    return value;
}

void ReportAtLine(const std::string& caption, const std::string& path, int zeroBasedLine,
                  const std::string& text) {
    MessageBox(caption, path + ":" + std::to_string(zeroBasedLine + 1) + ": " + text);
}

std::optional<std::vector<ConfigLine>> LinesAfterHeader(std::string_view text,
                                                        const std::string& path,
                                                        std::string_view header,
                                                        std::string_view kind) {
    constexpr size_t kMaxLength = 9999;
    const ConfigLines read = SplitConfigLines(text, kMaxLength, true, true);
    if (read.tooLongAt >= 0)
        ReportAtLine(kDefaultCaption, path, read.tooLongAt,
                     "line longer than 9999 characters; reading stops here");
    if (read.lines.empty()) return std::nullopt;
    if (read.lines[0].text != header) {
        ReportAtLine(kDefaultCaption, path, read.lines[0].number,
                     "not " + std::string(kind) + ": the first line must be \"" +
                         std::string(header) + "\"");
        return std::nullopt;
    }
    return std::vector<ConfigLine>(read.lines.begin() + 1, read.lines.end());
}

}  // namespace vox
