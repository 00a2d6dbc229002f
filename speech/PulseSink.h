// The default sound device through PulseAudio's simple API (PipeWire serves
// it too). Open fails with a clear message when no server is reachable.
#pragma once

#include <string>

#include "speech/AudioSink.h"

struct pa_simple;

namespace vox::speech {

class PulseSink final : public AudioSink {
  public:
    explicit PulseSink(std::string clientName = "voxamen") : client_(std::move(clientName)) {}
    ~PulseSink() override;
    bool Open(const WAVEFORMATEX& format, std::string& error) override;
    bool Write(const uint8_t* data, size_t size) override;
    // Drains what was played; after an abort, drops what is queued instead.
    bool Close(std::string& error) override;
    void Discard() { discard_ = true; }

  private:
    std::string client_;
    pa_simple* stream_ = nullptr;
    bool discard_ = false;
};

}  // namespace vox::speech
