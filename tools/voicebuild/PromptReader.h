// Prompts of a festvox corpus (`etc/txt.done.data`): one line per utterance,
// ( ID "text" ), the text in UTF-8 with \" and \\ escaped.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vox::voicebuild {

struct Prompt {
    std::string id;
    std::string text;  // UTF-8, as written (stress marks included)
    int line = 0;
};

// The prompts in file order. Malformed lines are skipped and described in
// `problems` ("file:line: what"); nullopt only when the file cannot be read.
std::optional<std::vector<Prompt>> ReadPrompts(const std::string& path,
                                               std::vector<std::string>& problems);
std::vector<Prompt> ParsePrompts(const std::string& text, const std::string& path,
                                 std::vector<std::string>& problems);

}  // namespace vox::voicebuild
