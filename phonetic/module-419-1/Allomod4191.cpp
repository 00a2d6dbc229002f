#include "phonetic/module-419-1/Allomod4191.h"

#include "phonetic/module-419-1/Tables4191.h"

namespace vox {

Allomod_419_1::Allomod_419_1() : NeighbourModule(m4191::kTables) {}

}  // namespace vox
