// The reading rules the voice's prosody files share: whole file in memory,
// lines split at LF (CR LF too), trimmed of blanks, tabs, CR and LF, a
// length limit per line, numbers read in the C locale's rules whatever the
// process locale, and loader messages that name the file and line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vox {

// A voice file larger than this is not a prosody file; reading stops there.
inline constexpr size_t kMaxConfigFileBytes = 16u << 20;

struct ConfigLine {
    std::string_view text;  // trimmed
    int number = 0;         // zero-based physical line
};

struct ConfigLines {
    std::vector<ConfigLine> lines;
    // The first line longer than the limit ends the reading; its number, or -1.
    int tooLongAt = -1;
};

// Splits `text` into trimmed lines. Lines longer than `maxLength` (before
// trimming) end the reading. With `dropEmpty`, empty lines are left out; with
// `dropComments`, lines starting with ";" too.
ConfigLines SplitConfigLines(std::string_view text, size_t maxLength, bool dropEmpty,
                             bool dropComments);

// The file's bytes; nullopt when it cannot be read or exceeds kMaxConfigFileBytes.
std::optional<std::string> ReadConfigFile(const std::string& path);

// C "atoi": leading blanks, a sign, digits; the rest ignored; no number
// reads as 0. Clamped to the 32-bit range.
int32_t LeadingInteger(std::string_view text);

// A decimal number with "." as separator at the start of `text` (leading
// blanks allowed); no number, infinities and NaN read as 0.
double LeadingDouble(std::string_view text);

// "path:line: text" (line counted from 1) through the message sink, with
// the caption given.
void ReportAtLine(const std::string& caption, const std::string& path, int zeroBasedLine,
                  const std::string& text);

// The lines after the header of a text whose lines may be 9999 characters
// long, empty and ";" comment lines left out: a longer line ends the
// reading with a message; an empty text gives nullopt, and so does another
// first line than `header`, with "not a KIND: the first line must be …".
std::optional<std::vector<ConfigLine>> LinesAfterHeader(std::string_view text,
                                                        const std::string& path,
                                                        std::string_view header,
                                                        std::string_view kind);

// The caption of messages that name none of their own.
inline constexpr const char* kDefaultCaption = "Error";

}  // namespace vox
