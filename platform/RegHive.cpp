#include "RegHive.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace vox::reg {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";

char FoldChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = FoldChar(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Reads a quoted string starting at s[0] == '"'; returns the characters
// consumed (0 on error). "\\" and "\"" are escapes; any other backslash is
// kept as written, so hand-written Windows paths survive.
size_t ReadQuoted(std::string_view s, std::string& out) {
    out.clear();
    if (s.empty() || s[0] != '"') return 0;
    for (size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') return i + 1;
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            out += s[++i];
            continue;
        }
        out += c;
    }
    return 0;
}

bool ParseHexBytes(std::string_view s, std::vector<uint8_t>& out) {
    out.clear();
    s = TrimBlanks(s);
    if (s.empty()) return true;
    size_t i = 0;
    while (true) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        if (i + 2 > s.size()) return false;
        int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<uint8_t>(hi * 16 + lo));
        i += 2;
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        if (i == s.size()) return true;
        if (s[i] != ',') return false;
        ++i;
    }
}

std::string EscapeQuoted(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

// A string value can be written in quotes when it is one terminated text
// with no zero inside and no line break.
bool IsPlainText(const std::vector<uint8_t>& data) {
    if (data.empty() || data.back() != 0) return false;
    for (size_t i = 0; i + 1 < data.size(); ++i)
        if (data[i] == 0 || data[i] == '\n' || data[i] == '\r') return false;
    return true;
}

std::string FormatValue(const Value& v) {
    std::string line = v.name.empty() ? std::string("@") : EscapeQuoted(v.name);
    line += '=';
    if (v.type == ValueType::String && IsPlainText(v.data)) {
        line += EscapeQuoted(
            std::string_view(reinterpret_cast<const char*>(v.data.data()), v.data.size() - 1));
        return line;
    }
    if (v.type == ValueType::Dword && v.data.size() == 4) {
        char buf[16];
        uint32_t n = uint32_t(v.data[0]) | uint32_t(v.data[1]) << 8 | uint32_t(v.data[2]) << 16 |
                     uint32_t(v.data[3]) << 24;
        std::snprintf(buf, sizeof buf, "dword:%08x", n);
        return line + buf;
    }
    char prefix[24];
    if (v.type == ValueType::Binary)
        std::snprintf(prefix, sizeof prefix, "hex:");
    else
        std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(v.type));
    line += prefix;
    // Long binary data is folded with "\" continuations like regedit does.
    size_t column = line.size();
    for (size_t i = 0; i < v.data.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", v.data[i]);
        line += hex;
        column += 2;
        if (i + 1 < v.data.size()) {
            line += ',';
            ++column;
            if (column > 76) {
                line += "\\\n  ";
                column = 2;
            }
        }
    }
    return line;
}

class Parser {
  public:
    Parser(std::string_view rootName, Hive& hive, bool allowDeletions)
        : rootName_(rootName),
          root_(FoldCase(rootName)),
          hive_(hive),
          allowDeletions_(allowDeletions) {}

    ParseError Run(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        std::vector<std::string_view> lines;
        for (size_t pos = 0; pos < text.size();) {
            size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) end = text.size();
            lines.push_back(text.substr(pos, end - pos));
            pos = end + 1;
        }
        bool headerSeen = false;
        for (size_t i = 0; i < lines.size(); ++i) {
            const int lineNo = static_cast<int>(i) + 1;
            std::string logical(TrimBlanks(lines[i]));
            // A line ending in "\" continues on the next (regedit folds hex data so).
            while (!logical.empty() && logical.back() == '\\' && i + 1 < lines.size()) {
                logical.pop_back();
                logical += TrimBlanks(lines[++i]);
            }
            std::string_view line = logical;
            if (line.empty() || line[0] == ';') continue;
            if (!headerSeen) {
                if (line != kHeader && line != kHeader4)
                    return Error(lineNo, "the first line must be \"" + std::string(kHeader) + "\"");
                headerSeen = true;
                continue;
            }
            std::string what;
            try {
                what = line[0] == '[' ? Section(line) : ValueLine(line);
            } catch (const InvalidName& e) {
                what = e.what();
            }
            if (!what.empty()) return Error(lineNo, what);
        }
        return {};
    }

  private:
    static ParseError Error(int line, std::string what) {
        return ParseError{line, std::move(what)};
    }

    std::string Section(std::string_view line) {
        if (line.back() != ']') return "a key line must end with \"]\"";
        std::string_view name = line.substr(1, line.size() - 2);
        bool remove = false;
        if (!name.empty() && name[0] == '-') {
            if (!allowDeletions_)
                return "key deletion \"[-...]\" is only allowed in a file to merge";
            remove = true;
            name.remove_prefix(1);
        }
        std::string folded = FoldCase(name);
        if (folded.rfind(root_, 0) != 0 ||
            (folded.size() > root_.size() && folded[root_.size()] != '\\'))
            return "key \"" + std::string(name) + "\" is not under " + std::string(rootName_);
        std::string path = NormalisePath(name.substr(root_.size()));
        current_.reset();
        if (remove) {
            if (!path.empty()) hive_.DeleteTree(path);
            return {};
        }
        if (path.empty()) return "values cannot be stored at the hive root";
        hive_.Create(path);
        current_ = path;
        return {};
    }

    std::string ValueLine(std::string_view line) {
        if (!current_) return "a value appears before any key";
        std::string name;
        size_t used = 0;
        if (line[0] == '@') {
            used = 1;
        } else if (line[0] == '"') {
            used = ReadQuoted(line, name);
            if (used == 0) return "unterminated value name";
        } else {
            return "a value line must start with \"name\" or @";
        }
        std::string_view rest = TrimBlanks(line.substr(used));
        if (rest.empty() || rest[0] != '=') return "\"=\" expected after the value name";
        rest = TrimBlanks(rest.substr(1));
        if (rest == "-") {
            if (!allowDeletions_) return "value deletion \"=-\" is only allowed in a file to merge";
            hive_.DeleteValue(*current_, name);
            return {};
        }
        Value v;
        v.name = name;
        if (!rest.empty() && rest[0] == '"') {
            std::string text;
            size_t n = ReadQuoted(rest, text);
            if (n == 0) return "unterminated string value";
            if (!TrimBlanks(rest.substr(n)).empty()) return "text after the closing quote";
            v = MakeString(name, text);
        } else if (rest.substr(0, 6) == "dword:") {
            std::string_view digits = rest.substr(6);
            if (digits.empty() || digits.size() > 8)
                return "dword: needs 1 to 8 hexadecimal digits";
            uint32_t n = 0;
            for (char c : digits) {
                int d = HexDigit(c);
                if (d < 0) return "dword: needs 1 to 8 hexadecimal digits";
                n = n * 16 + static_cast<uint32_t>(d);
            }
            v = MakeDword(name, n);
        } else if (rest.substr(0, 4) == "hex:" || rest.substr(0, 4) == "hex(") {
            std::string what = HexValue(rest, v);
            if (!what.empty()) return what;
        } else {
            return "unknown value form (expected \"text\", dword:, hex: or hex(n):)";
        }
        hive_.SetValue(*current_, std::move(v));
        return {};
    }

    static std::string HexValue(std::string_view rest, Value& v) {
        size_t colon = rest.find(':');
        if (rest[3] == ':') {
            v.type = ValueType::Binary;
        } else {
            size_t close = rest.find(')');
            if (close == std::string_view::npos || close + 1 != colon || close == 4)
                return "hex(n): needs a hexadecimal type number";
            uint32_t t = 0;
            for (size_t i = 4; i < close; ++i) {
                int d = HexDigit(rest[i]);
                if (d < 0 || t > 0xFFFFFFF) return "hex(n): needs a hexadecimal type number";
                t = t * 16 + static_cast<uint32_t>(d);
            }
            v.type = static_cast<ValueType>(t);
        }
        if (!ParseHexBytes(rest.substr(colon + 1), v.data))
            return "hex data must be two-digit bytes separated by commas";
        return {};
    }

    std::string_view rootName_;
    std::string root_;
    Hive& hive_;
    bool allowDeletions_;
    std::optional<std::string> current_;
};

}  // namespace

Value MakeString(std::string_view name, std::string_view text) {
    Value v;
    v.name = name;
    v.type = ValueType::String;
    v.data.assign(text.begin(), text.end());
    v.data.push_back(0);
    return v;
}

Value MakeDword(std::string_view name, uint32_t n) {
    Value v;
    v.name = name;
    v.type = ValueType::Dword;
    v.data = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
    return v;
}

std::string FoldCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = FoldChar(c);
    return out;
}

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldChar(a[i]) != FoldChar(b[i])) return false;
    return true;
}

const Value* KeyNode::FindValue(std::string_view name) const {
    for (const auto& v : values)
        if (NamesEqual(v.name, name)) return &v;
    return nullptr;
}

Value* KeyNode::FindValue(std::string_view name) {
    return const_cast<Value*>(static_cast<const KeyNode*>(this)->FindValue(name));
}

std::string NormalisePath(std::string_view path) {
    std::string out;
    size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && path[i] == '\\') ++i;
        size_t end = path.find('\\', i);
        if (end == std::string_view::npos) end = path.size();
        if (end > i) {
            if (!out.empty()) out += '\\';
            out.append(path.substr(i, end - i));
        }
        i = end;
    }
    return out;
}

namespace {

// The map key of a path: folded case, with the separator below every other
// character so that a key's subkeys sort right after it. Names hold no
// control characters, so no name can contain the separator.
constexpr char kOrderSeparator = '\x01';

std::string MapKey(std::string_view normalPath) {
    std::string key = FoldCase(normalPath);
    for (char& c : key)
        if (c == '\\') c = kOrderSeparator;
    return key;
}

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// A name for messages: long names shortened, control characters as \xNN.
std::string Shown(std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    constexpr size_t kShownBytes = 80;
    std::string out;
    for (size_t i = 0; i < name.size() && i < kShownBytes; ++i) {
        const auto b = static_cast<unsigned char>(name[i]);
        if (IsControl(name[i])) {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += name[i];
        }
    }
    if (name.size() > kShownBytes) out += "...";
    return out;
}

std::string ControlCharacterProblem(std::string_view what, std::string_view name) {
    for (char c : name)
        if (IsControl(c)) {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(c));
            return std::string(what) + " \"" + Shown(name) + "\" contains the control character " +
                   code + "; names cannot hold control characters";
        }
    return {};
}

void Check(const std::string& problem) {
    if (!problem.empty()) throw InvalidName(problem);
}

}  // namespace

std::string KeyPathProblem(std::string_view normalPath) {
    if (std::string problem = ControlCharacterProblem("key name", normalPath); !problem.empty())
        return problem;
    const size_t depth =
        normalPath.empty() ? 0 : 1 + std::count(normalPath.begin(), normalPath.end(), '\\');
    if (depth > kMaxKeyDepth)
        return "key \"" + Shown(normalPath) + "\" is nested " + std::to_string(depth) +
               " levels deep; keys nest at most " + std::to_string(kMaxKeyDepth) + " levels";
    return {};
}

std::string ValueNameProblem(std::string_view name) {
    return ControlCharacterProblem("value name", name);
}

const KeyNode* Hive::Find(std::string_view rawPath) const {
    const std::string path = NormalisePath(rawPath);
    if (!KeyPathProblem(path).empty()) return nullptr;
    auto it = keys_.find(MapKey(path));
    return it == keys_.end() ? nullptr : &it->second;
}

KeyNode* Hive::Find(std::string_view path) {
    return const_cast<KeyNode*>(static_cast<const Hive*>(this)->Find(path));
}

KeyNode& Hive::Create(std::string_view rawPath) {
    const std::string path = NormalisePath(rawPath);
    Check(KeyPathProblem(path));
    const std::string key = MapKey(path);
    // Walk up to the deepest key that exists, then create the missing ones
    // below it: an existing parent costs one lookup, whatever the depth.
    std::vector<size_t> missing;  // lengths of the missing prefixes, deepest first
    size_t end = key.size();
    while (true) {
        auto it = keys_.find(key.substr(0, end));
        if (it != keys_.end()) {
            if (missing.empty()) return it->second;
            break;
        }
        missing.push_back(end);
        const size_t separator = end == 0 ? std::string::npos : key.rfind(kOrderSeparator, end - 1);
        if (separator == std::string::npos) break;
        end = separator;
    }
    KeyNode* node = nullptr;
    for (auto length = missing.rbegin(); length != missing.rend(); ++length) {
        auto [it, inserted] = keys_.try_emplace(key.substr(0, *length));
        it->second.path = path.substr(0, *length);
        node = &it->second;
    }
    return *node;
}

bool Hive::DeleteTree(std::string_view rawPath) {
    const std::string path = NormalisePath(rawPath);
    Check(KeyPathProblem(path));
    std::string folded = MapKey(path);
    auto it = keys_.find(folded);
    if (it == keys_.end()) return false;
    std::string prefix = folded + kOrderSeparator;
    it = keys_.erase(it);
    while (it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0)
        it = keys_.erase(it);
    return true;
}

std::vector<std::string> Hive::SubKeyNames(std::string_view rawPath) const {
    const std::string path = NormalisePath(rawPath);
    if (!KeyPathProblem(path).empty()) return {};
    std::string folded = MapKey(path);
    std::string prefix = folded.empty() ? std::string() : folded + kOrderSeparator;
    std::vector<std::string> names;
    for (auto it = keys_.lower_bound(prefix); it != keys_.end();) {
        if (it->first.compare(0, prefix.size(), prefix) != 0) break;
        std::string_view rest = std::string_view(it->first).substr(prefix.size());
        const size_t separator = rest.find(kOrderSeparator);
        if (!rest.empty() && separator == std::string_view::npos)
            names.push_back(it->second.path.substr(it->second.path.size() - rest.size()));
        // Skip the child's own subkeys: they sort right after it, below "\x02".
        std::string next(it->first, 0, prefix.size() + std::min(separator, rest.size()));
        next += '\x02';
        it = keys_.lower_bound(next);
    }
    return names;
}

void Hive::SetValue(std::string_view path, Value value) {
    Check(ValueNameProblem(value.name));
    KeyNode& node = Create(path);
    if (Value* existing = node.FindValue(value.name)) {
        std::string keptName = existing->name;  // the first spelling stays
        *existing = std::move(value);
        existing->name = keptName;
    } else {
        node.values.push_back(std::move(value));
    }
}

bool Hive::DeleteValue(std::string_view path, std::string_view name) {
    Check(KeyPathProblem(NormalisePath(path)));
    Check(ValueNameProblem(name));
    KeyNode* node = Find(path);
    if (node == nullptr) return false;
    auto it = std::find_if(node->values.begin(), node->values.end(),
                           [&](const Value& v) { return NamesEqual(v.name, name); });
    if (it == node->values.end()) return false;
    node->values.erase(it);
    return true;
}

bool Hive::operator==(const Hive& other) const {
    if (keys_.size() != other.keys_.size()) return false;
    for (auto a = keys_.begin(), b = other.keys_.begin(); a != keys_.end(); ++a, ++b) {
        if (a->first != b->first || a->second.path != b->second.path) return false;
        const auto& va = a->second.values;
        const auto& vb = b->second.values;
        if (va.size() != vb.size()) return false;
        for (size_t i = 0; i < va.size(); ++i)
            if (va[i].name != vb[i].name || va[i].type != vb[i].type || va[i].data != vb[i].data)
                return false;
    }
    return true;
}

ParseError ParseRegText(std::string_view text, std::string_view rootName, Hive& hive,
                        bool allowDeletions) {
    return Parser(rootName, hive, allowDeletions).Run(text);
}

std::string FormatRegText(const Hive& hive, std::string_view rootName) {
    std::string out(kHeader);
    out += "\n";
    for (const auto& [folded, node] : hive.Keys()) {
        out += "\n[";
        out += rootName;
        out += '\\';
        out += node.path;
        out += "]\n";
        for (const auto& v : node.values) {
            out += FormatValue(v);
            out += '\n';
        }
    }
    return out;
}

}  // namespace vox::reg
