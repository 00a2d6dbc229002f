// The configuration file of module 419.3 (docs/formats/allomod-419-3-cfg.md):
// the header "* Vostrelin Allomod 419.3 Configuration", then "{Groups"
// blocks of lines "Name: member, member" closed by "}". Only the last block
// counts; lines outside blocks are ignored.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "phonetic/PhoneticModule.h"

namespace vox {

inline constexpr std::string_view kGroupsFileHeader = "* Vostrelin Allomod 419.3 Configuration";

struct GroupsFileError {
    size_t line = 0;  // 1-based, counting every line of the file
    std::string text;
};

// Reads the groups of the file's text into `groups` (replaced by each
// "{Groups" block). A malformed line is skipped; the first fault is
// returned. A text without the header leaves `groups` untouched.
std::optional<GroupsFileError> ParseGroupsFile(std::string_view text, GroupTable& groups);

// Reads the file at `path` into `groups`. A missing file is no fault (the
// table stays empty); a malformed one is shown once through the message
// sink as "path:line: what" and its good lines are kept.
void LoadGroupsFile(const std::string& path, GroupTable& groups);

}  // namespace vox
