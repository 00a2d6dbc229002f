// What the module needs from a speech engine: its voices, and speaking one
// message while reporting audio and marks as they are made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sd_voxamen/SpeechSettings.h"

namespace sdvox {

struct VoiceEntry {
    std::string name;      // what "synthesis_voice" selects
    std::string language;  // "ru"
    std::string variant;   // "none"
    bool female = false;
};

struct Utterance {
    std::string text;  // UTF-8
    bool ssml = true;  // SSML as the server sends it; otherwise plain text
    SpeechSettings settings;
};

// Receives what the engine makes, on the speaking thread.
class SynthesisOutput {
  public:
    virtual void Audio(const int16_t* samples, size_t count, int sample_rate) = 0;
    virtual void Mark(std::string_view name) = 0;
    // Polled between words: true ends the message early.
    virtual bool StopRequested() const = 0;

  protected:
    ~SynthesisOutput() = default;
};

class Synthesizer {
  public:
    virtual ~Synthesizer() = default;
    // Finds the voices; a false return explains itself in *message.
    virtual bool Init(std::string* message) = 0;
    virtual std::vector<VoiceEntry> Voices() = 0;
    // Speaks one message. Stopping early is not a failure; a failure
    // explains itself in *error.
    virtual bool Speak(const Utterance& utterance, SynthesisOutput& output, std::string* error) = 0;
};

}  // namespace sdvox
