// A voice database from a folder of recorded units: every NAME.wav (mono
// 16-bit PCM; other rates are converted to 22050 Hz) becomes the unit NAME,
// with the pitch marks of NAME.marks beside it when that file exists (sample
// offsets at the WAV's own rate). Units are added in byte order of their
// names. File names are UTF-8; unit names are stored in Windows-1251.
#pragma once

#include <string>
#include <vector>

#include "tools/voicedb/Abs07Writer.h"

namespace vox::voicedb {

// Adds the folder's units to `writer`. False with `error` for an unreadable
// folder, no units, or the first file that cannot be used; `notes` lists
// what was converted or left out.
bool AddUnitsFromFolder(const std::string& folder, Abs07Writer& writer,
                        std::vector<std::string>& notes, std::string& error);

}  // namespace vox::voicedb
