#include "tools/voicebuild/HeldOut.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "platform/Text.h"

namespace vox::voicebuild {

namespace {

constexpr double kLongestRecording = 3600.0;  // seconds; later times are not believed

std::string Time(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", seconds);
    return text;
}

std::vector<std::string> SplitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

// "START:END" or "-"; false when malformed or absurd.
bool ParseTimes(const std::string& text, double& start, double& end) {
    start = end = 0.0;
    if (text == "-") return true;
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    std::optional<double> a = ParseDouble(text.substr(0, colon));
    std::optional<double> b = ParseDouble(text.substr(colon + 1));
    if (!a || !b || !std::isfinite(*a) || !std::isfinite(*b) || *a < 0.0 || *b <= *a ||
        *b > kLongestRecording)
        return false;
    start = *a, end = *b;
    return true;
}

bool ParseLine(const std::string& line, HeldOutSyntagma& s, std::string& why) {
    const std::vector<std::string> fields = SplitOn(line, '\t');
    if (fields.size() != 5) return why = "expected 5 tab-separated fields", false;
    s.id = fields[0], s.wavPath = fields[1], s.mark = fields[2];
    if (s.id.empty() || s.wavPath.empty()) return why = "empty id or recording", false;
    if (s.mark != "(.)" && s.mark != "(?)" && s.mark != "(!)" && s.mark != "(,)")
        return why = "unknown syntagma mark \"" + s.mark + "\"", false;
    s.phonemes = SplitOn(fields[3], ',');
    const std::vector<std::string> times = SplitOn(fields[4], ' ');
    if (s.phonemes.size() < 3 || s.phonemes.front() != "#" || s.phonemes.back() != "#")
        return why = "the phoneme list is not framed by \"#\"", false;
    if (times.size() != s.phonemes.size())
        return why = std::to_string(times.size()) + " times for " +
                     std::to_string(s.phonemes.size()) + " phonemes",
               false;
    s.starts.resize(times.size());
    s.ends.resize(times.size());
    for (size_t i = 0; i < times.size(); ++i)
        if (!ParseTimes(times[i], s.starts[i], s.ends[i]))
            return why = "bad time \"" + times[i] + "\"", false;
    return true;
}

}  // namespace

bool IsHeldOut(size_t index, size_t every) {
    return every > 0 && (index + 1) % every == 0;
}

std::string HeldOutText(const std::vector<HeldOutSyntagma>& syntagmas) {
    std::string text =
        "# held-out syntagmas: id, recording, mark, phonemes, start:end per phoneme (s)\n";
    for (const HeldOutSyntagma& s : syntagmas) {
        std::string phonemes, times;
        for (size_t i = 0; i < s.phonemes.size(); ++i) {
            phonemes += (i ? "," : "") + s.phonemes[i];
            times += i ? " " : "";
            times += s.HasAudio(i) ? Time(s.starts[i]) + ":" + Time(s.ends[i]) : "-";
        }
        text += s.id + "\t" + s.wavPath + "\t" + s.mark + "\t" + phonemes + "\t" + times + "\n";
    }
    return text;
}

std::vector<HeldOutSyntagma> ParseHeldOut(const std::string& text, const std::string& path,
                                          std::vector<std::string>& problems) {
    std::vector<HeldOutSyntagma> out;
    std::istringstream in(text);
    size_t number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        HeldOutSyntagma s;
        std::string why;
        if (ParseLine(line, s, why))
            out.push_back(std::move(s));
        else
            problems.push_back(path + ":" + std::to_string(number) + ": " + why);
    }
    return out;
}

}  // namespace vox::voicebuild
