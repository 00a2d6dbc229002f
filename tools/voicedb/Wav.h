// WAV files of the voice database tools: mono 16-bit PCM in, 22050 Hz mono
// 16-bit PCM out. The reader walks the RIFF chunks with bounds checks and
// names what it does not support (channels, sample size, encoding).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vox::voicedb {

struct WavAudio {
    uint32_t sampleRate = 22050;
    std::vector<int16_t> samples;
};

// False with `error` ("offset N: what") for anything but mono 16-bit PCM.
bool ParseWav(std::span<const uint8_t> bytes, WavAudio& audio, std::string& error);
// False with `error` ("PATH: what").
bool ReadWav(const std::string& path, WavAudio& audio, std::string& error);

// At most (2^32 - 36) / 2 samples: WriteWav refuses more.
std::string WavBytes(const WavAudio& audio);
// A mono PCM file around sample bytes as they are: 16-bit little-endian
// signed, or unsigned 8-bit for any other width (as the engine delivers them).
std::string PcmWavBytes(uint32_t sampleRate, uint16_t bitsPerSample, std::span<const uint8_t> data);
bool WriteWav(const std::string& path, const WavAudio& audio, std::string& error);

}  // namespace vox::voicedb
