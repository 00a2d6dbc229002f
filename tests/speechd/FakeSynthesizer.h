// A synthesizer for protocol tests: each word of the text becomes 100
// samples of its length in bytes, each <mark name="…"/> a mark; a word
// "slow" takes 20 ms, so a STOP can arrive in the middle.
#pragma once

#include <chrono>
#include <mutex>
#include <thread>

#include "tools/sd_voxamen/Synthesizer.h"

namespace sdvox::test {

class FakeSynthesizer : public Synthesizer {
  public:
    bool Init(std::string* message) override {
        *message = "fake engine";
        return init_ok;
    }
    std::vector<VoiceEntry> Voices() override {
        return {{"ru-nsh", "ru", "none", false}, {"ru-anna", "ru", "none", true}};
    }
    bool Speak(const Utterance& u, SynthesisOutput& out, std::string* error) override {
        {
            std::lock_guard<std::mutex> lock(mutex);
            spoken.push_back(u);
        }
        if (u.text == "fail") {
            *error = "cannot speak";
            return false;
        }
        // Words, <mark name="…"/> marks, other markup skipped.
        const std::string& t = u.text;
        for (size_t at = 0; at < t.size();) {
            if (out.StopRequested()) return true;
            if (t[at] == ' ' || t[at] == '\n') {
                ++at;
                continue;
            }
            if (t[at] == '<') {
                size_t close = t.find('>', at);
                if (close == std::string::npos) close = t.size() - 1;
                std::string tag = t.substr(at, close + 1 - at);
                if (tag.rfind("<mark name=\"", 0) == 0)
                    out.Mark(tag.substr(12, tag.find('"', 12) - 12));
                at = close + 1;
                continue;
            }
            size_t end = t.find_first_of(" \n<", at);
            if (end == std::string::npos) end = t.size();
            if (t.compare(at, end - at, "slow") == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::vector<int16_t> samples(100, static_cast<int16_t>(end - at));
            out.Audio(samples.data(), samples.size(), 22050);
            at = end;
        }
        return true;
    }

    bool init_ok = true;
    std::mutex mutex;
    std::vector<Utterance> spoken;
};

}  // namespace sdvox::test
