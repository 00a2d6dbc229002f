// Phone labels in the xlabel layout of festvox corpora (`lab/*.lab`): header
// lines up to a line "#", then one line per phone, "END_TIME COLOUR PHONE".
// Times are the phones' END times; the first phone starts at 0.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vox::voicebuild {

struct LabelSegment {
    std::string phone;
    double start = 0.0;  // seconds
    double end = 0.0;
    int line = 0;  // in the label file, for messages
};

// The segments, or nullopt with `error` as "file:line: what".
std::optional<std::vector<LabelSegment>> ReadLabels(const std::string& path, std::string& error);
std::optional<std::vector<LabelSegment>> ParseLabels(const std::string& text,
                                                     const std::string& path, std::string& error);

}  // namespace vox::voicebuild
