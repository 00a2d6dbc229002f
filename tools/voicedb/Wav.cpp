#include "tools/voicedb/Wav.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>

#include "engine/voice/ByteReader.h"

namespace vox::voicedb {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

bool ReadU16(ByteReader& in, uint16_t& value) {
    uint8_t lo = 0, hi = 0;
    if (!in.ReadU8(lo) || !in.ReadU8(hi)) return false;
    value = static_cast<uint16_t>(lo | (hi << 8));
    return true;
}

bool ReadU32(ByteReader& in, uint32_t& value) {
    int32_t v = 0;
    if (!in.ReadI32(v)) return false;
    value = static_cast<uint32_t>(v);
    return true;
}

std::string At(size_t offset, const std::string& what) {
    return "offset " + std::to_string(offset) + ": " + what;
}

// The "fmt " chunk: only mono 16-bit PCM is accepted.
std::optional<std::string> ReadFormat(std::span<const uint8_t> chunk, size_t at, uint32_t& rate) {
    ByteReader in(chunk);
    uint16_t tag = 0, channels = 0, blockAlign = 0, bits = 0;
    uint32_t byteRate = 0;
    if (!ReadU16(in, tag) || !ReadU16(in, channels) || !ReadU32(in, rate) ||
        !ReadU32(in, byteRate) || !ReadU16(in, blockAlign) || !ReadU16(in, bits))
        return At(at, "the \"fmt \" chunk is shorter than 16 bytes");
    if (tag == kFormatExtensible) {
        uint16_t extraSize = 0, validBits = 0, subFormat = 0;
        uint32_t channelMask = 0;
        if (!ReadU16(in, extraSize) || !ReadU16(in, validBits) || !ReadU32(in, channelMask) ||
            !ReadU16(in, subFormat))
            return At(at, "the extensible \"fmt \" chunk is too short");
        tag = subFormat;
    }
    if (tag != kFormatPcm)
        return At(at, "unsupported encoding " + std::to_string(tag) + " (only PCM)");
    if (channels != 1)
        return At(at, "unsupported channel count " + std::to_string(channels) + " (only mono)");
    if (bits != 16)
        return At(at, "unsupported sample size of " + std::to_string(bits) + " bits (only 16-bit)");
    if (rate == 0) return At(at, "sample rate 0");
    return std::nullopt;
}

void PutU16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void PutU32(std::string& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((v >> shift) & 0xFF);
}

}  // namespace

bool ParseWav(std::span<const uint8_t> bytes, WavAudio& audio, std::string& error) {
    ByteReader in(bytes);
    std::string riff, wave;
    uint32_t riffSize = 0;
    if (!in.ReadText(4, riff) || riff != "RIFF" || !ReadU32(in, riffSize) ||
        !in.ReadText(4, wave) || wave != "WAVE") {
        error = At(0, "not a WAV file (no RIFF/WAVE header)");
        return false;
    }
    std::optional<uint32_t> rate;
    while (in.Left() > 0) {
        const size_t at = in.Offset();
        std::string id;
        uint32_t size = 0;
        if (!in.ReadText(4, id) || !ReadU32(in, size)) {
            error = At(at, "truncated chunk header");
            return false;
        }
        const size_t start = in.Offset();
        if (size > in.Left()) {
            error = At(at, "chunk \"" + id + "\" declares " + std::to_string(size) +
                               " bytes, only " + std::to_string(in.Left()) + " follow");
            return false;
        }
        std::span<const uint8_t> chunk = bytes.subspan(start, size);
        if (id == "fmt ") {
            uint32_t r = 0;
            if (auto problem = ReadFormat(chunk, at, r)) {
                error = *problem;
                return false;
            }
            rate = r;
        } else if (id == "data") {
            if (!rate) {
                error = At(at, "the \"data\" chunk comes before any \"fmt \" chunk");
                return false;
            }
            audio.sampleRate = *rate;
            audio.samples.resize(size / 2);
            for (size_t i = 0; i < audio.samples.size(); ++i)
                audio.samples[i] = static_cast<int16_t>(
                    static_cast<uint16_t>(chunk[2 * i] | (chunk[2 * i + 1] << 8)));
            return true;
        }
        ByteReader skip(bytes, start + size + (size & 1));  // chunks are padded to even sizes
        in = skip;
    }
    error = At(bytes.size(), "no \"data\" chunk");
    return false;
}

bool ReadWav(const std::string& path, WavAudio& audio, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be opened";
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    if (file.bad()) {
        error = path + ": cannot be read";
        return false;
    }
    if (!ParseWav(bytes, audio, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

std::string PcmWavBytes(uint32_t sampleRate, uint16_t bitsPerSample,
                        std::span<const uint8_t> data) {
    const auto dataBytes = static_cast<uint32_t>(data.size());
    const uint16_t blockAlign = bitsPerSample == 16 ? 2 : 1;
    std::string out;
    out.reserve(44 + data.size());
    out += "RIFF";
    PutU32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    PutU32(out, 16);
    PutU16(out, kFormatPcm);
    PutU16(out, 1);
    PutU32(out, sampleRate);
    PutU32(out, sampleRate * blockAlign);
    PutU16(out, blockAlign);
    PutU16(out, static_cast<uint16_t>(blockAlign * 8));
    out += "data";
    PutU32(out, dataBytes);
    out.append(reinterpret_cast<const char*>(data.data()), data.size());
    return out;
}

std::string WavBytes(const WavAudio& audio) {
    std::vector<uint8_t> data;
    data.reserve(audio.samples.size() * 2);
    for (int16_t s : audio.samples) {
        const auto u = static_cast<uint16_t>(s);
        data.push_back(static_cast<uint8_t>(u & 0xFF));
        data.push_back(static_cast<uint8_t>(u >> 8));
    }
    return PcmWavBytes(audio.sampleRate, 16, data);
}

bool WriteWav(const std::string& path, const WavAudio& audio, std::string& error) {
    if (audio.samples.size() > (UINT32_MAX - 36) / 2) {
        error = path + ": too many samples for a WAV file";
        return false;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::string bytes = WavBytes(audio);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        error = path + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace vox::voicedb
