#include "Registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>

#include "Messages.h"

namespace vox::reg {

namespace {

constexpr const char* kCaption = "Voxamen Registry";
constexpr std::string_view kClassesPrefix = "Software\\Classes";

struct FileSignature {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    int64_t mtimeNs = 0;
    bool operator==(const FileSignature&) const = default;
};

FileSignature Signature(const std::string& path) {
    struct stat st {};
    FileSignature s;
    if (::stat(path.c_str(), &st) != 0) return s;
    s.exists = true;
    s.dev = st.st_dev;
    s.ino = st.st_ino;
    s.size = st.st_size;
    s.mtimeNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

const char* RootName(Root root) {
    return root == Root::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

Root FileRoot(Root root) {
    return root == Root::CurrentUser ? Root::CurrentUser : Root::LocalMachine;
}

std::string HiveFilePath(Root root) {
    return RegistryDirectory() +
           (FileRoot(root) == Root::CurrentUser ? "/user.reg" : "/machine.reg");
}

// The file's text ("" for a missing file); false with `why` set when it
// cannot be read.
bool ReadWholeFile(const std::string& path, std::string& text, std::string& why) {
    text.clear();
    // Without blocking: a FIFO in the file's place must not hang the reader.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = std::strerror(errno);
        return errno == ENOENT;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        why = "not a regular file";
        return false;
    }
    char buf[65536];
    while (true) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            why = std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        text.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

// Reads and parses a hive file; `problem` says what is wrong with it
// ("FILE:LINE: what" for a malformed file). A missing file is an empty hive.
Status LoadHive(const std::string& path, Root root, Hive& hive, std::string& problem) {
    std::string text, why;
    problem.clear();
    if (!ReadWholeFile(path, text, why)) {
        problem = path + ": cannot be read: " + why;
        return Status::IoError;
    }
    ParseError err = ParseRegText(text, RootName(root), hive);
    if (err) {
        hive = Hive();
        problem = path + ":" + std::to_string(err.line) + ": " + err.what;
        return Status::Malformed;
    }
    return Status::Ok;
}

void Report(Status s, const std::string& problem) {
    if (s == Status::Malformed)
        MessageBox(kCaption, problem + " (the file is read as empty and not written)");
    else if (s != Status::Ok)
        MessageBox(kCaption, problem);
}

struct CacheEntry {
    FileSignature signature;
    std::shared_ptr<const Hive> hive;
    Status status = Status::Ok;
    std::string problem;
};

std::mutex gCacheMutex;
std::map<std::string, CacheEntry> gCache;  // keyed by file path

bool MakeDirectories(const std::string& dir) {
    std::string partial;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = dir.find('/', pos + 1);
        partial = dir.substr(0, pos);
        if (partial.empty()) continue;
        if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// A modification time with full clock precision, later than the old file's,
// so that readers comparing signatures always notice the new version (file
// system timestamps otherwise advance only once per clock tick).
bool StampNewVersion(int fd, const FileSignature& old) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    int64_t ns = int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
    if (old.exists && ns <= old.mtimeNs) ns = old.mtimeNs + 1;
    timespec times[2];
    times[0].tv_sec = times[1].tv_sec = ns / 1000000000;
    times[0].tv_nsec = times[1].tv_nsec = ns % 1000000000;
    return ::futimens(fd, times) == 0;
}

// Writes the file next to its final place, flushes it and renames it over.
bool ReplaceFile(const std::string& path, const std::string& text) {
    FileSignature old = Signature(path);
    std::string tmp = path + ".XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0644) == 0 && WriteAll(fd, text) && StampNewVersion(fd, old) &&
              ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    int dirFd = ::open(RegistryDirectory().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

// What `text` reads back as, compared with the hive it was made from; empty
// when they are the same.
std::string ReadBackProblem(const std::string& text, const Hive& hive, Root root) {
    Hive again;
    if (ParseError err = ParseRegText(text, RootName(root), again))
        return "line " + std::to_string(err.line) + " of the new text: " + err.what;
    if (again == hive) return {};
    auto a = hive.Keys().begin(), b = again.Keys().begin();
    while (a != hive.Keys().end() && b != again.Keys().end() && a->first == b->first &&
           a->second.path == b->second.path && a->second.values.size() == b->second.values.size())
        ++a, ++b;
    const std::string key = a != hive.Keys().end() ? a->second.path : std::string("(end)");
    return "key \"" + key + "\" would read back differently";
}

// A temporary file of a writer that died before renaming it: "machine.reg."
// or "user.reg." and the six characters mkstemp put there. Only called
// under the write lock, when no writer can be between mkstemp and rename.
bool IsStaleTemporary(std::string_view name) {
    for (std::string_view base : {"machine.reg.", "user.reg."}) {
        if (name.size() != base.size() + 6 || name.substr(0, base.size()) != base) continue;
        std::string_view tail = name.substr(base.size());
        return std::all_of(tail.begin(), tail.end(),
                           [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
    }
    return false;
}

void RemoveStaleTemporaries(const std::string& dir) {
    DIR* folder = ::opendir(dir.c_str());
    if (folder == nullptr) return;
    while (const dirent* entry = ::readdir(folder))
        if (IsStaleTemporary(entry->d_name)) ::unlinkat(::dirfd(folder), entry->d_name, 0);
    ::closedir(folder);
}

class FileLock {
  public:
    explicit FileLock(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ >= 0) {
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    bool Locked() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace

std::string StatusText(Status s) {
    switch (s) {
        case Status::Ok:
            return "success";
        case Status::NotFound:
            return "not found";
        case Status::MoreData:
            return "value too long";
        case Status::WrongType:
            return "value of the wrong type";
        case Status::Malformed:
            return "registry file is malformed";
        case Status::IoError:
            return "registry file cannot be read or written";
        case Status::InvalidName:
            return "invalid key or value name";
        case Status::Unrepresentable:
            return "the change cannot be stored faithfully in the registry file";
    }
    return "unknown registry status";
}

std::string RegistryDirectory() {
    if (const char* dir = std::getenv("VOXAMEN_REGISTRY_DIR"); dir != nullptr && *dir != 0)
        return dir;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != 0)
        return std::string(xdg) + "/voxamen";
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == 0) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw != nullptr ? pw->pw_dir : "/tmp";
    }
    return std::string(home) + "/.config/voxamen";
}

std::string HivePath(Root root, std::string_view path) {
    std::string normal = NormalisePath(path);
    if (root != Root::ClassesRoot) return normal;
    return normal.empty() ? std::string(kClassesPrefix)
                          : std::string(kClassesPrefix) + "\\" + normal;
}

namespace {

// The cached parse of the hive file, parsed again when the file changed; a
// problem is reported once per version of the file.
CacheEntry CachedHive(Root root) {
    const std::string path = HiveFilePath(root);
    FileSignature sig = Signature(path);
    std::lock_guard<std::mutex> lock(gCacheMutex);
    auto it = gCache.find(path);
    if (it != gCache.end() && it->second.signature == sig) return it->second;
    auto hive = std::make_shared<Hive>();
    CacheEntry entry{sig, hive, Status::Ok, {}};
    if (sig.exists) {
        entry.status = LoadHive(path, FileRoot(root), *hive, entry.problem);
        Report(entry.status, entry.problem);
    }
    gCache[path] = entry;
    return entry;
}

}  // namespace

std::shared_ptr<const Hive> Snapshot(Root root) {
    return CachedHive(root).hive;
}

Status CheckHiveFile(Root root, std::string& problem) {
    CacheEntry entry = CachedHive(root);
    problem = entry.problem;
    return entry.status;
}

Status Edit(Root root, const std::function<Status(Hive&)>& change) {
    const std::string dir = RegistryDirectory();
    if (!MakeDirectories(dir)) {
        MessageBox(kCaption, dir + ": cannot create the registry folder: " + std::strerror(errno));
        return Status::IoError;
    }
    const std::string path = HiveFilePath(root);
    FileLock lock(dir + "/registry.lock");
    if (!lock.Locked()) {
        MessageBox(kCaption, dir + "/registry.lock: cannot be locked: " + std::strerror(errno));
        return Status::IoError;
    }
    RemoveStaleTemporaries(dir);
    Hive hive;
    std::string problem;
    if (Status loaded = LoadHive(path, FileRoot(root), hive, problem); loaded != Status::Ok) {
        Report(loaded, problem);
        return loaded;
    }
    Hive before = hive;
    Status s = Status::Ok;
    try {
        s = change(hive);
    } catch (const InvalidName& e) {
        MessageBox(kCaption, path + ": " + e.what() + " (nothing was written)");
        return Status::InvalidName;
    }
    if (s != Status::Ok) return s;
    if (hive == before) return Status::Ok;
    // The file must read back as exactly this hive, or it is not installed.
    const std::string text = FormatRegText(hive, RootName(root));
    if (std::string why = ReadBackProblem(text, hive, root); !why.empty()) {
        MessageBox(kCaption, path +
                                 ": the change was refused, the file would not read back as "
                                 "written: " +
                                 why + " (nothing was written)");
        return Status::Unrepresentable;
    }
    if (!ReplaceFile(path, text)) {
        MessageBox(kCaption, path + ": cannot be written: " + std::strerror(errno));
        return Status::IoError;
    }
    return Status::Ok;
}

// ---- Key ----

Status Key::Open(Root root, std::string_view path, Key& key) {
    key = Key();
    Key k;
    k.root_ = FileRoot(root);
    k.path_ = HivePath(root, path);
    Status s = k.Reload();
    if (s == Status::Ok) key = std::move(k);
    return s;
}

Status Key::Create(Root root, std::string_view path, Key& key) {
    std::string hivePath = HivePath(root, path);
    if (hivePath.empty()) return Status::NotFound;
    Status s = Edit(root, [&](Hive& hive) {
        hive.Create(hivePath);
        return Status::Ok;
    });
    if (s != Status::Ok) return s;
    return Open(FileRoot(root), hivePath, key);
}

Status Key::Reload() {
    snapshot_ = Snapshot(root_);
    node_ = path_.empty() ? nullptr : snapshot_->Find(path_);
    if (node_ == nullptr) {
        snapshot_.reset();
        return Status::NotFound;
    }
    return Status::Ok;
}

Status Key::QueryValue(std::string_view name, Value& value) const {
    if (node_ == nullptr) return Status::NotFound;
    const Value* v = node_->FindValue(name);
    if (v == nullptr) return Status::NotFound;
    value = *v;
    return Status::Ok;
}

Status Key::QueryText(std::string_view name, std::string& text, size_t maxBytes) const {
    if (node_ == nullptr) return Status::NotFound;
    const Value* v = node_->FindValue(name);
    if (v == nullptr) return Status::NotFound;
    if (v->data.size() > maxBytes) return Status::MoreData;
    size_t n = 0;
    while (n < v->data.size() && v->data[n] != 0) ++n;
    text.assign(reinterpret_cast<const char*>(v->data.data()), n);
    return Status::Ok;
}

Status Key::QueryDword(std::string_view name, uint32_t& number) const {
    if (node_ == nullptr) return Status::NotFound;
    const Value* v = node_->FindValue(name);
    if (v == nullptr) return Status::NotFound;
    if ((v->type != ValueType::Dword && v->type != ValueType::Binary) || v->data.size() != 4)
        return Status::WrongType;
    number = uint32_t(v->data[0]) | uint32_t(v->data[1]) << 8 | uint32_t(v->data[2]) << 16 |
             uint32_t(v->data[3]) << 24;
    return Status::Ok;
}

Status Key::EnumValue(size_t index, Value& value) const {
    if (node_ == nullptr || index >= node_->values.size()) return Status::NotFound;
    value = node_->values[index];
    return Status::Ok;
}

Status Key::EnumKey(size_t index, std::string& name) const {
    std::vector<std::string> names = SubKeyNames();
    if (index >= names.size()) return Status::NotFound;
    name = names[index];
    return Status::Ok;
}

std::vector<std::string> Key::SubKeyNames() const {
    if (snapshot_ == nullptr) return {};
    return snapshot_->SubKeyNames(path_);
}

Status Key::SetValue(const Value& value) {
    if (!IsOpen()) return Status::NotFound;
    Status s = Edit(root_, [&](Hive& hive) {
        if (hive.Find(path_) == nullptr) return Status::NotFound;  // deleted meanwhile
        hive.SetValue(path_, value);
        return Status::Ok;
    });
    Reload();
    return s;
}

Status Key::SetText(std::string_view name, std::string_view text) {
    return SetValue(MakeString(name, text));
}

Status Key::SetDword(std::string_view name, uint32_t number) {
    return SetValue(MakeDword(name, number));
}

Status Key::DeleteValue(std::string_view name) {
    if (!IsOpen()) return Status::NotFound;
    Status s = Edit(root_, [&](Hive& hive) {
        return hive.DeleteValue(path_, name) ? Status::Ok : Status::NotFound;
    });
    Reload();
    return s;
}

Status Key::DeleteSubKeyTree(std::string_view subPath) {
    if (!IsOpen()) return Status::NotFound;
    std::string full = NormalisePath(path_ + "\\" + std::string(subPath));
    Status s = Edit(
        root_, [&](Hive& hive) { return hive.DeleteTree(full) ? Status::Ok : Status::NotFound; });
    Reload();
    return s;
}

}  // namespace vox::reg
