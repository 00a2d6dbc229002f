// Small text helpers shared by the configuration readers: trimming, list
// splitting and number parsing that never depends on the process locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vox {

// Trims blanks, tabs, CR and LF at both ends.
std::string_view Trim(std::string_view text);

// Splits at every separator; empty items vanish (",,A0," is the one item "A0").
std::vector<std::string> SplitList(std::string_view text, char separator = ',');
std::string JoinList(const std::vector<std::string>& items, char separator = ',');

// Whole-text numbers in the C locale's rules; nullopt unless the whole
// trimmed text is a number.
std::optional<long long> ParseInteger(std::string_view text);
std::optional<double> ParseDouble(std::string_view text);

bool StartsWith(std::string_view text, std::string_view prefix);

}  // namespace vox
