// Sinks that write bytes: a WAV file (header completed at the end) and
// standard output (raw PCM, or WAV streamed with an open-ended header,
// completed when the output is a regular file).
#pragma once

#include <cstdio>
#include <string>

#include "speech/AudioSink.h"

namespace vox::speech {

// The 44-byte header of a PCM WAV file with `dataBytes` of samples.
std::string WavHeader(const WAVEFORMATEX& format, uint32_t dataBytes);

class WavFileSink final : public AudioSink {
  public:
    explicit WavFileSink(std::string path) : path_(std::move(path)) {}
    ~WavFileSink() override;
    // Creates the file (an unwritable path fails here, before any synthesis).
    bool Open(const WAVEFORMATEX& format, std::string& error) override;
    bool Write(const uint8_t* data, size_t size) override;
    bool Close(std::string& error) override;
    // Removes the file (a failed run leaves no partial file).
    void Remove();

  private:
    std::string path_;
    std::FILE* file_ = nullptr;
    WAVEFORMATEX format_{};
    uint64_t bytes_ = 0;
    bool failed_ = false;
};

class StdoutSink final : public AudioSink {
  public:
    explicit StdoutSink(bool wav, int fd = 1) : wav_(wav), fd_(fd) {}
    bool Open(const WAVEFORMATEX& format, std::string& error) override;
    bool Write(const uint8_t* data, size_t size) override;
    bool Close(std::string& error) override;
    bool PipeClosed() const { return closed_; }

  private:
    bool WriteAll(const uint8_t* data, size_t size);
    bool wav_;
    int fd_;
    WAVEFORMATEX format_{};
    uint64_t bytes_ = 0;
    bool closed_ = false;
};

}  // namespace vox::speech
