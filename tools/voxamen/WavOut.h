// A WAV file around PCM bytes as the engine delivers them (any rate, 8-bit
// unsigned or 16-bit little-endian mono). The voice database tools' reader
// and writer (tools/voicedb/Wav.h) handle 16-bit only.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "interfaces/WaveFormat.h"

namespace vox::cli {

// The 44-byte RIFF header for `format` (mono PCM) followed by `data`.
std::string PcmWavFile(const WAVEFORMATEX& format, std::span<const uint8_t> data);

}  // namespace vox::cli
