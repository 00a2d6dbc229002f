// Registry writes with arbitrary key and value names, through the Key API
// into a real registry folder. Every write either happens exactly (the file
// parses, reads back the written value and equals the same change made in
// memory) or is refused with an error and leaves the file as it was. A name
// the registry says it accepts is never refused as unstorable.
//
// Input: a list of operations, each an opcode byte followed by its names,
// each name a length byte and that many bytes.
#include <unistd.h>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace {

using namespace vox::reg;

constexpr std::string_view kRoot = "HKEY_LOCAL_MACHINE";
constexpr const char* kBase = "Fuzz";

// One registry folder for the whole run, on a memory file system when there
// is one (every write syncs its file), removed at exit.
struct RunFolder {
    std::string path;
    RunFolder() {
        path = (std::filesystem::exists("/dev/shm")
                    ? std::string("/dev/shm")
                    : std::filesystem::temp_directory_path().string()) +
               "/voxamen-regfuzz-XXXXXX";
        if (::mkdtemp(path.data()) == nullptr) std::abort();
        ::setenv("VOXAMEN_REGISTRY_DIR", path.c_str(), 1);
    }
    ~RunFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::string& Folder() {
    static const RunFolder folder;
    return folder.path;
}

std::string FileText() {
    std::ifstream in(Folder() + "/machine.reg", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Hive ParsedFile() {
    Hive hive;
    if (ParseRegText(FileText(), kRoot, hive)) std::abort();  // a write corrupted the file
    return hive;
}

void Require(bool condition) {
    if (!condition) std::abort();
}

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    uint8_t Byte() { return Empty() ? 0 : data_[at_++]; }
    std::string Name() {
        size_t n = Byte() % 48;
        std::string out;
        while (n-- > 0 && !Empty()) out += static_cast<char>(Byte());
        return out;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Runs one operation on the registry and the same change on the hive read
// before it; the file must then hold exactly that hive.
void Step(Input& in) {
    const uint8_t op = in.Byte() % 5;
    const std::string sub = in.Name();
    const std::string path = std::string(kBase) + "\\" + sub;
    const std::string name = in.Name();
    const bool pathAccepted = KeyPathProblem(NormalisePath(path)).empty();
    const bool nameAccepted = ValueNameProblem(name).empty();
    Key base, key;
    Require(Key::Create(Root::LocalMachine, kBase, base) == Status::Ok);
    if (op == 1 || op == 2 || op == 4) {  // the operation's key first
        const std::string fileBefore = FileText();
        Status s = op == 4 ? Key::Open(Root::LocalMachine, path, key)
                           : Key::Create(Root::LocalMachine, path, key);
        if (!pathAccepted) {
            Require(s == (op == 4 ? Status::NotFound : Status::InvalidName));
            Require(FileText() == fileBefore);
            return;
        }
        Require(s == Status::Ok || (op == 4 && s == Status::NotFound));
        if (s != Status::Ok) return;
    }

    const std::string fileBefore = FileText();
    Hive expected = ParsedFile();
    Value written = MakeString(name, sub);
    if (op == 2) written = Value{name, ValueType::Binary, {name.begin(), name.end()}};
    bool changes = true;
    try {
        if (op == 0) expected.Create(path);
        if (op == 1 || op == 2) expected.SetValue(path, written);
        if (op == 3) changes = expected.DeleteTree(path);
        if (op == 4) changes = expected.DeleteValue(path, name);
    } catch (const InvalidName&) {
        changes = false;
    }

    Status s = Status::Ok;
    if (op == 0) s = Key::Create(Root::LocalMachine, path, key);
    if (op == 1 || op == 2) s = key.SetValue(written);
    if (op == 3) s = base.DeleteSubKeyTree(sub);
    if (op == 4) s = key.DeleteValue(name);

    // A refused name is refused with its own error; nothing else may fail
    // but deleting what is not there.
    const bool accepted = pathAccepted && (op == 0 || op == 3 || nameAccepted);
    Require((s == Status::InvalidName) == !accepted);
    Require(s == Status::Ok || s == Status::InvalidName || (s == Status::NotFound && !changes));
    if (s != Status::Ok) {
        Require(FileText() == fileBefore);
        return;
    }
    Require(ParsedFile() == expected);
    if (op == 1 || op == 2) {
        Value back;
        Require(Key::Open(Root::LocalMachine, path, key) == Status::Ok);
        Require(key.QueryValue(name, back) == Status::Ok);
        Require(back.type == written.type && back.data == written.data);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Folder();
    Input in(data, size);
    for (int step = 0; step < 8 && !in.Empty(); ++step) Step(in);
    Edit(Root::LocalMachine, [](Hive& hive) {
        hive.DeleteTree(kBase);
        return Status::Ok;
    });
    return 0;
}
