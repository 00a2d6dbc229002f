#include "tools/voxamen/WavOut.h"

namespace vox::cli {

namespace {

void PutU16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void PutU32(std::string& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

}  // namespace

std::string PcmWavFile(const WAVEFORMATEX& format, std::span<const uint8_t> data) {
    const auto dataBytes = static_cast<uint32_t>(data.size());
    const uint16_t blockAlign = format.wBitsPerSample == 16 ? 2 : 1;
    std::string out;
    out.reserve(44 + data.size());
    out += "RIFF";
    PutU32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    PutU32(out, 16);
    PutU16(out, WAVE_FORMAT_PCM);
    PutU16(out, 1);
    PutU32(out, format.nSamplesPerSec);
    PutU32(out, format.nSamplesPerSec * blockAlign);
    PutU16(out, blockAlign);
    PutU16(out, blockAlign * 8u);
    out += "data";
    PutU32(out, dataBytes);
    out.append(reinterpret_cast<const char*>(data.data()), data.size());
    return out;
}

}  // namespace vox::cli
