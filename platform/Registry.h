// The registry: HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT (= HKLM\Software\Classes)
// and HKEY_CURRENT_USER, kept as `.reg` text files in one folder
// (VOXAMEN_REGISTRY_DIR, else ${XDG_CONFIG_HOME:-$HOME/.config}/voxamen):
// machine.reg and user.reg. Names are case-insensitive and case-preserving.
//
// Reads work on a snapshot of the parsed file taken when the key is opened;
// the parsed file is cached and parsed again only when the file changed.
// Every write is one transaction: exclusive lock, reread, change, write a
// temporary file, fsync, rename. A malformed file is reported through the
// message sink, reads as empty and is never overwritten.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "RegHive.h"

namespace vox::reg {

enum class Root { LocalMachine, CurrentUser, ClassesRoot };

enum class Status {
    Ok,
    NotFound,         // missing key or value, or no more items in an enumeration
    MoreData,         // the value is larger than the caller's buffer
    WrongType,        // the value cannot be read in the asked form
    Malformed,        // the hive file is malformed; it is not written
    IoError,          // the hive file or its folder could not be read or written
    InvalidName,      // a key or value name that cannot be stored; nothing written
    Unrepresentable,  // the new file would not read back as written; nothing written
};

std::string StatusText(Status status);

// The folder holding machine.reg and user.reg.
std::string RegistryDirectory();

class Key {
  public:
    Key() = default;

    // Opens an existing key for reading; NotFound when it does not exist.
    static Status Open(Root root, std::string_view path, Key& key);
    // Opens the key, creating it and its ancestors when missing.
    static Status Create(Root root, std::string_view path, Key& key);

    bool IsOpen() const { return snapshot_ != nullptr; }
    const std::string& Path() const { return path_; }

    Status QueryValue(std::string_view name, Value& value) const;
    // The value's bytes up to the first zero byte, whatever its type; MoreData
    // when the value is longer than maxBytes (the text is then left empty).
    Status QueryText(std::string_view name, std::string& text, size_t maxBytes = SIZE_MAX) const;
    // A DWORD value (type Dword, or 4 bytes of Binary); WrongType otherwise.
    Status QueryDword(std::string_view name, uint32_t& number) const;

    // Enumeration by index, as the Win32 calls do; NotFound past the end.
    Status EnumValue(size_t index, Value& value) const;
    Status EnumKey(size_t index, std::string& name) const;
    std::vector<std::string> SubKeyNames() const;

    // Writes; each is one transaction, after which the key sees the new state.
    Status SetValue(const Value& value);
    Status SetText(std::string_view name, std::string_view text);
    Status SetDword(std::string_view name, uint32_t number);
    Status DeleteValue(std::string_view name);
    Status DeleteSubKeyTree(std::string_view subPath);

  private:
    Status Reload();

    Root root_ = Root::LocalMachine;  // LocalMachine or CurrentUser: the hive file
    std::string path_;                // inside that hive (ClassesRoot already mapped)
    std::shared_ptr<const Hive> snapshot_;
    const KeyNode* node_ = nullptr;
};

// Several changes in one transaction: `change` edits a copy of the hive,
// which is written once when it returns Status::Ok. Paths in the hive are
// relative to the hive file's root (ClassesRoot keys are under
// "Software\Classes"). Use HivePath to build them.
Status Edit(Root root, const std::function<Status(Hive&)>& change);
std::string HivePath(Root root, std::string_view path);

// A read-only snapshot of a whole hive (empty when the file is missing or
// malformed).
std::shared_ptr<const Hive> Snapshot(Root root);

// Whether the hive file reads: Ok (a missing file included), else Malformed
// or IoError with `problem` saying "FILE:LINE: what" or why it cannot be read.
Status CheckHiveFile(Root root, std::string& problem);

}  // namespace vox::reg
