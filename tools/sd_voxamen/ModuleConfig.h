// The module's configuration file (voxamen.conf), named by the server on the
// command line: lines of `Name value`, values optionally in double quotes,
// "#" starting a comment.
//
//   VoxamenDefaultVoice "ru-nsh"   voice used when the client names none
//   VoxamenRateOffset 20           added to every rate the server sends (-100 … 100)
//   VoxamenRegistryDir "/path"     registry folder (default ~/.config/voxamen)
#pragma once

#include <string>
#include <vector>

namespace sdvox {

struct ModuleConfig {
    std::string default_voice;
    int rate_offset = 0;
    std::string registry_dir;
};

// Reads the file; a missing file gives the defaults. Lines that cannot be
// used are listed in *warnings ("voxamen.conf:3: …") and skipped.
ModuleConfig ReadModuleConfig(const std::string& path, std::vector<std::string>* warnings);

}  // namespace sdvox
