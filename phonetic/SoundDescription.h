// The text form of sound descriptions (bit layout: interfaces/SoundDescription.h).
// Phrase bits are added by the phrase analysis (PhraseAnalysis.h).
#pragma once

#include <cstdint>
#include <string>

#include "interfaces/SoundDescription.h"

namespace vox {

// The text form of an SD: "Error" for 0, else up to three lines (table
// attributes; syllable; word), each a ", "-joined list ended by "\r\n".
// Bits without a text are never written.
std::string SdToString(uint64_t sd);

}  // namespace vox
