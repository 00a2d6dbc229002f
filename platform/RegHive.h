// The in-memory tree of one registry hive and its text form, the `.reg`
// format of Windows. The file format is described in docs/formats/registry.md.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vox::reg {

// Registry value types, numbered as on Windows.
enum class ValueType : uint32_t {
    None = 0,
    String = 1,
    ExpandString = 2,
    Binary = 3,
    Dword = 4,
    MultiString = 7,
    Qword = 11,
};

struct Value {
    std::string name;  // "" is the key's default value ("@" in the file)
    ValueType type = ValueType::None;
    std::vector<uint8_t> data;  // strings include their terminating zero, as on Windows
};

Value MakeString(std::string_view name, std::string_view text);
Value MakeDword(std::string_view name, uint32_t number);

struct KeyNode {
    std::string path;  // as first written (case preserved), relative to the hive root
    std::vector<Value> values;

    const Value* FindValue(std::string_view name) const;
    Value* FindValue(std::string_view name);
};

// ASCII lower case: key and value names compare case-insensitively.
std::string FoldCase(std::string_view text);
bool NamesEqual(std::string_view a, std::string_view b);

// Windows' own limit on how deep keys nest.
inline constexpr size_t kMaxKeyDepth = 512;

// Why a key path (normalised) or a value name cannot be stored; empty when it
// can. Control characters are refused: a line break would break the file's
// line structure, and 0x01 separates the tree's own path components.
std::string KeyPathProblem(std::string_view normalPath);
std::string ValueNameProblem(std::string_view name);

// Thrown by the hive's writing operations for a name they refuse; what()
// says why. Registry writes and the parser turn it into an error.
class InvalidName : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// Key paths are backslash-separated, relative to the hive root, without
// leading or trailing separators ("Software\Vostrelin\Voices"). A path
// that KeyPathProblem refuses names no key: Find gives nullptr, and Create,
// DeleteTree, SetValue and DeleteValue throw InvalidName (as they do for a
// refused value name).
class Hive {
  public:
    const KeyNode* Find(std::string_view path) const;
    KeyNode* Find(std::string_view path);
    // Creates the key and every missing ancestor; returns the key.
    KeyNode& Create(std::string_view path);
    // Removes the key with all its subkeys; false when it did not exist.
    bool DeleteTree(std::string_view path);
    // Names (case preserved) of the immediate subkeys, in name order.
    std::vector<std::string> SubKeyNames(std::string_view path) const;

    void SetValue(std::string_view path, Value value);  // creates the key when missing
    bool DeleteValue(std::string_view path, std::string_view name);

    const std::map<std::string, KeyNode>& Keys() const { return keys_; }
    bool operator==(const Hive& other) const;

  private:
    std::map<std::string, KeyNode> keys_;  // keyed by folded path, subkeys right after their key
};

// Removes separators at both ends and collapses doubled ones; false for an
// empty component name of a key written like "A\\\\B" is not an error here.
std::string NormalisePath(std::string_view path);

struct ParseError {
    int line = 0;  // 1-based; 0 when there is no error
    std::string what;
    explicit operator bool() const { return line != 0; }
};

// Parses the text of a `.reg` file whose sections all lie under `rootName`
// (e.g. "HKEY_LOCAL_MACHINE"). With `allowDeletions`, "[-KEY]" and
// "\"Name\"=-" lines remove keys and values (a file to merge); otherwise they
// are errors. On error `hive` holds whatever was parsed before that line.
ParseError ParseRegText(std::string_view text, std::string_view rootName, Hive& hive,
                        bool allowDeletions = false);

// The text form: header line, then each key as a section in path order.
std::string FormatRegText(const Hive& hive, std::string_view rootName);

}  // namespace vox::reg
