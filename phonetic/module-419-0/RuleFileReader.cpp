// Reads the rule file line by line: each line is cut at "//" and trimmed,
// empty lines are skipped, and a top-level line opens a block that ends with
// a line "}". The first malformed line ends the read with its message.
#include "phonetic/module-419-0/RuleFileReader.h"

#include <algorithm>
#include <limits>
#include <set>

#include "platform/Text.h"

namespace vox {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The cleaned, non-empty lines of the text; a block header's tokens may be
// taken one by one, the rest of their line then counting as a line.
class LineCursor {
  public:
    explicit LineCursor(std::string_view text) : text_(text) {}

    int LineNumber() const { return line_; }

    bool NextLine(std::string_view& line) {
        if (!pending_.empty()) {
            line = pending_;
            pending_ = {};
            return true;
        }
        while (pos_ < text_.size()) {
            size_t end = text_.find('\n', pos_);
            if (end == std::string_view::npos) end = text_.size();
            std::string_view raw = text_.substr(pos_, end - pos_);
            pos_ = end + 1;
            ++line_;
            if (size_t comment = raw.find("//"); comment != std::string_view::npos)
                raw = raw.substr(0, comment);
            raw = Trim(raw);
            if (!raw.empty()) {
                line = raw;
                return true;
            }
        }
        return false;
    }

    // The first whitespace-delimited token of the next line.
    bool NextToken(std::string_view& token) {
        std::string_view line;
        if (!NextLine(line)) return false;
        size_t end = 0;
        while (end < line.size() && !IsBlank(line[end])) ++end;
        token = line.substr(0, end);
        pending_ = Trim(line.substr(end));
        return true;
    }

  private:
    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 0;
    std::string_view pending_;  // rest of a line whose first token was taken
};

using Error = std::optional<RuleFileError>;

Error Fail(const LineCursor& cursor, std::string caption, std::string text) {
    return RuleFileError{std::move(caption), std::move(text), cursor.LineNumber()};
}

std::vector<std::string> Tokens(std::string_view line) {
    std::vector<std::string> tokens;
    size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && IsBlank(line[pos])) ++pos;
        size_t end = pos;
        while (end < line.size() && !IsBlank(line[end])) ++end;
        if (end > pos) tokens.emplace_back(line.substr(pos, end - pos));
        pos = end;
    }
    return tokens;
}

// Items of a ","-list, trimmed, empty ones dropped.
std::vector<std::string> Items(std::string_view list) {
    std::vector<std::string> items;
    for (const std::string& item : SplitList(list)) {
        std::string_view trimmed = Trim(item);
        if (!trimmed.empty()) items.emplace_back(trimmed);
    }
    return items;
}

std::optional<int32_t> Int32(std::string_view text) {
    std::optional<long long> value = ParseInteger(text);
    if (!value || *value < std::numeric_limits<int32_t>::min() ||
        *value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(*value);
}

// "name type number viseme" per line; type "V" or "C", viseme 0 to 21.
Error ReadAttributes(LineCursor& cursor, RuleSet& set) {
    constexpr const char* kCaption = "Error - Attribute";
    std::string_view line;
    while (cursor.NextLine(line) && line != "}") {
        const std::vector<std::string> t = Tokens(line);
        if (t.size() != 4) return Fail(cursor, kCaption, "Wrong phoneme type:");
        if (set.attributes.count(t[0]) != 0)
            return Fail(cursor, kCaption, "Token " + t[0] + " already defined");
        if (t[1] != "V" && t[1] != "C") return Fail(cursor, kCaption, "Wrong phoneme type:" + t[1]);
        std::optional<int32_t> number = Int32(t[2]);
        if (!number) return Fail(cursor, kCaption, "Wrong phoneme number:" + t[2]);
        std::optional<int32_t> viseme = Int32(t[3]);
        if (!viseme) return Fail(cursor, kCaption, "Wrong viseme code:" + t[3]);
        if (*viseme < 0 || *viseme > 21)
            return Fail(cursor, kCaption, "Wrong viseme code:" + std::to_string(*viseme));
        set.attributes[t[0]] = {t[1] == "V", *number, *viseme};
    }
    return std::nullopt;
}

// "[*]Name: member,member…"; the header is followed by one unused token.
Error ReadGroups(LineCursor& cursor, RuleSet& set) {
    std::string_view line;
    if (!cursor.NextToken(line) || line == "}") return std::nullopt;  // an empty block
    while (cursor.NextLine(line) && line != "}") {
        const size_t colon = line.find(": ");
        if (colon == std::string_view::npos)
            return Fail(cursor, "Error", "Syntax error in group definition:\n" + std::string(line));
        std::string_view name = Trim(line.substr(0, colon));
        const bool chained = !name.empty() && name.front() == '*';
        if (chained) name.remove_prefix(1);
        const std::string key(name);
        set.groups[key] = Items(line.substr(colon + 2));
        set.chained[key] = chained;
    }
    return std::nullopt;
}

// A group name's side ("L…" left) and distance (its second character).
size_t DistanceOf(std::string_view group) {
    return group.size() > 1 && group[1] >= '0' && group[1] <= '9'
               ? static_cast<size_t>(group[1] - '0')
               : 0;
}

// Classes of the record from the groups its lines use, in byte order of the
// group names (a later name wins a member it shares with an earlier one).
void FillClasses(const RuleSet& set, const std::set<std::string>& used, RuleRecord& record) {
    for (const std::string& group : used) {
        auto members = set.groups.find(group);
        if (members == set.groups.end()) continue;
        auto& side = group.front() == 'L' ? record.left : record.right;
        for (const std::string& member : members->second) side[DistanceOf(group)][member] = group;
    }
}

// Header "PHONEME,PHONEME… DEFAULT", then "left groups-right groups>suffix" lines.
Error ReadRules(LineCursor& cursor, RuleSet& set) {
    constexpr const char* kCaption = "Error";
    std::string_view phonemes, suffix;
    if (!cursor.NextToken(phonemes) || phonemes == "}" || !cursor.NextToken(suffix) ||
        suffix == "}")
        return Fail(cursor, kCaption, "Syntax error in rule definition:\n" + std::string(phonemes));

    auto record = std::make_shared<RuleRecord>();
    record->defaultSuffix = std::string(suffix);
    std::vector<std::pair<std::string, int>> lines;
    std::string_view line;
    while (cursor.NextLine(line) && line != "}") lines.emplace_back(line, cursor.LineNumber());

    std::set<std::string> used;
    for (const auto& [text, number] : lines) {
        const size_t dash = text.find('-');
        const size_t arrow = text.find('>');
        if (dash == std::string::npos || arrow == std::string::npos)
            return RuleFileError{kCaption, "Syntax error in rule definition:\n" + text, number};
        record->keys[text.substr(0, arrow)] = text.substr(arrow + 1);
        const std::string_view view(text);
        const std::string_view left = view.substr(0, std::min(dash, arrow));
        const std::string_view right = dash < arrow ? view.substr(dash + 1, arrow - dash - 1) : "";
        for (std::string& g : Items(left)) used.insert(std::move(g));
        for (std::string& g : Items(right)) used.insert(std::move(g));
    }
    FillClasses(set, used, *record);
    for (const std::string& phoneme : SplitList(phonemes)) set.rules[phoneme] = record;
    return std::nullopt;
}

Error ReadOther(LineCursor& cursor, std::string_view header, RuleSet& set) {
    std::vector<std::string>& lines = set.otherBlocks[std::string(header)];
    std::string_view line;
    while (cursor.NextLine(line) && line != "}") lines.emplace_back(line);
    return std::nullopt;
}

}  // namespace

std::optional<RuleFileError> ParseRuleFile(std::string_view text, RuleSet& rules) {
    RuleSet set;
    LineCursor cursor(text);
    std::string_view header;
    while (cursor.NextLine(header)) {
        Error error;
        if (header == "{PhonemeAttributes")
            error = ReadAttributes(cursor, set);
        else if (header == "{Groups")
            error = ReadGroups(cursor, set);
        else if (header == "{Rules")
            error = ReadRules(cursor, set);
        else
            error = ReadOther(cursor, header, set);
        if (error) return error;
    }
    rules = std::move(set);
    return std::nullopt;
}

}  // namespace vox
