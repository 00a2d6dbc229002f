// Where an output site's audio goes: a WAV file, standard output, the sound
// device, or a callback. A sink is opened with the negotiated format, takes
// PCM blocks in order and is closed at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "interfaces/WaveFormat.h"

namespace vox::speech {

class AudioSink {
  public:
    virtual ~AudioSink() = default;
    // False with `error` when the sink cannot take this format.
    virtual bool Open(const WAVEFORMATEX& format, std::string& error) = 0;
    // False when the sink can take no more (closed pipe, stopped device):
    // the speaker then stops.
    virtual bool Write(const uint8_t* data, size_t size) = 0;
    // Completes the output (a WAV header, draining the device).
    virtual bool Close(std::string& error) = 0;
};

// Delivers every block to a function (a module that sends PCM elsewhere);
// the function returns false to stop.
class CallbackSink final : public AudioSink {
  public:
    using Block = std::function<bool(const uint8_t* data, size_t size)>;
    explicit CallbackSink(Block block) : block_(std::move(block)) {}
    bool Open(const WAVEFORMATEX&, std::string&) override { return true; }
    bool Write(const uint8_t* data, size_t size) override { return block_(data, size); }
    bool Close(std::string&) override { return true; }

  private:
    Block block_;
};

}  // namespace vox::speech
