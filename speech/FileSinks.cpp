#include "speech/FileSinks.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace vox::speech {

namespace {

void Put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

constexpr uint32_t kMaxWavData = 0xFFFFFFFFu - 36;

}  // namespace

std::string WavHeader(const WAVEFORMATEX& f, uint32_t dataBytes) {
    dataBytes = std::min(dataBytes, kMaxWavData);
    std::string h = "RIFF";
    Put32(h, 36 + dataBytes);
    h += "WAVEfmt ";
    Put32(h, 16);
    Put16(h, WAVE_FORMAT_PCM);
    Put16(h, f.nChannels);
    Put32(h, f.nSamplesPerSec);
    Put32(h, f.nAvgBytesPerSec);
    Put16(h, f.nBlockAlign);
    Put16(h, f.wBitsPerSample);
    h += "data";
    Put32(h, dataBytes);
    return h;
}

WavFileSink::~WavFileSink() {
    if (file_ != nullptr) std::fclose(file_);
}

bool WavFileSink::Open(const WAVEFORMATEX& format, std::string& error) {
    format_ = format;
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr) {
        error = "cannot write \"" + path_ + "\": " + std::strerror(errno);
        return false;
    }
    const std::string header = WavHeader(format_, 0);
    failed_ = std::fwrite(header.data(), 1, header.size(), file_) != header.size();
    return true;
}

bool WavFileSink::Write(const uint8_t* data, size_t size) {
    if (file_ == nullptr || failed_) return false;
    if (std::fwrite(data, 1, size, file_) != size) {
        failed_ = true;
        return false;
    }
    bytes_ += size;
    return true;
}

bool WavFileSink::Close(std::string& error) {
    if (file_ == nullptr) return true;
    // The header, now that the size is known; an odd data size gets its pad byte.
    if (bytes_ % 2 == 1) failed_ |= std::fputc(0, file_) == EOF;
    const std::string header =
        WavHeader(format_, static_cast<uint32_t>(std::min<uint64_t>(bytes_, kMaxWavData)));
    failed_ |= std::fseek(file_, 0, SEEK_SET) != 0;
    failed_ |= std::fwrite(header.data(), 1, header.size(), file_) != header.size();
    failed_ |= std::fclose(file_) != 0;
    file_ = nullptr;
    if (failed_) error = "cannot write \"" + path_ + "\": " + std::strerror(errno);
    return !failed_;
}

void WavFileSink::Remove() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    ::unlink(path_.c_str());
}

bool StdoutSink::WriteAll(const uint8_t* data, size_t size) {
    while (size > 0 && !closed_) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            closed_ = true;  // EPIPE and every other failure end the output quietly
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return !closed_;
}

bool StdoutSink::Open(const WAVEFORMATEX& format, std::string&) {
    format_ = format;
    if (!wav_) return true;
    // Streamed: the sizes say "as long as it goes" until they can be completed.
    std::string header = WavHeader(format_, kMaxWavData);
    WriteAll(reinterpret_cast<const uint8_t*>(header.data()), header.size());
    return true;
}

bool StdoutSink::Write(const uint8_t* data, size_t size) {
    if (!WriteAll(data, size)) return false;
    bytes_ += size;
    return true;
}

bool StdoutSink::Close(std::string&) {
    if (!wav_ || closed_) return true;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return true;
    const std::string header =
        WavHeader(format_, static_cast<uint32_t>(std::min<uint64_t>(bytes_, kMaxWavData)));
    if (::pwrite(fd_, header.data(), header.size(), 0) != static_cast<ssize_t>(header.size()))
        return true;
    return true;
}

}  // namespace vox::speech
