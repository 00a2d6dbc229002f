// Module 419.3's tables: the same inventory as module 419.1's.
#pragma once

#include "phonetic/module-419-1/Tables4191.h"

namespace vox::m4193 {

inline constexpr ModuleTables kTables = m4191::kTables;

}  // namespace vox::m4193
