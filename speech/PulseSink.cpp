#include "speech/PulseSink.h"

#include <pulse/error.h>
#include <pulse/simple.h>

namespace vox::speech {

PulseSink::~PulseSink() {
    if (stream_ != nullptr) pa_simple_free(stream_);
}

bool PulseSink::Open(const WAVEFORMATEX& format, std::string& error) {
    pa_sample_spec spec{};
    spec.format = format.wBitsPerSample == 16 ? PA_SAMPLE_S16LE : PA_SAMPLE_U8;
    spec.rate = format.nSamplesPerSec;
    spec.channels = 1;
    int code = 0;
    stream_ = pa_simple_new(nullptr, client_.c_str(), PA_STREAM_PLAYBACK, nullptr, "speech", &spec,
                            nullptr, nullptr, &code);
    if (stream_ == nullptr) {
        error = std::string("no sound device is reachable (PulseAudio: ") + pa_strerror(code) +
                "); write a WAV file with -w OUT.wav or use --stdout";
        return false;
    }
    return true;
}

bool PulseSink::Write(const uint8_t* data, size_t size) {
    int code = 0;
    return stream_ != nullptr && pa_simple_write(stream_, data, size, &code) == 0;
}

bool PulseSink::Close(std::string& error) {
    if (stream_ == nullptr) return true;
    int code = 0;
    const bool ok =
        discard_ ? pa_simple_flush(stream_, &code) == 0 : pa_simple_drain(stream_, &code) == 0;
    if (!ok) error = std::string("the sound device failed: ") + pa_strerror(code);
    pa_simple_free(stream_);
    stream_ = nullptr;
    return ok;
}

}  // namespace vox::speech
