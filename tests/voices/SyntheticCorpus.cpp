#include "tests/voices/SyntheticCorpus.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <random>

#include "support/TempRegistry.h"
#include "tools/voicedb/Wav.h"

namespace vox::test {

const char* const kTestPhoneMap =
    "pau pause\n"
    "aa stressed A\n"
    "a unstressed A\n"
    "oo stressed O\n"
    "m consonant M\n"
    "n consonant N\n"
    "l consonant L\n"
    "s consonant S\n"
    "t consonant T\n";

namespace {

// A two-pole resonator run sample by sample.
struct Resonator {
    double a1, a2, y1 = 0, y2 = 0;
    Resonator(double hz, double bandwidth, int rate) {
        double r = std::exp(-std::numbers::pi * bandwidth / rate);
        a1 = 2.0 * r * std::cos(2.0 * std::numbers::pi * hz / rate);
        a2 = -r * r;
    }
    double Step(double x) {
        double y = x + a1 * y1 + a2 * y2;
        y2 = y1, y1 = y;
        return y;
    }
};

}  // namespace

RenderedSpeech RenderSpeech(const std::vector<SynthPhone>& phones, double f0, int rate,
                            unsigned seed) {
    RenderedSpeech out;
    out.rate = rate;
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 1.0);
    Resonator f1(700, 90, rate), f2(1200, 110, rate), f3(2500, 160, rate), nasal(300, 80, rate);
    double phase = 0.0, highPrevious = 0.0;
    double t = 0.0;
    for (const SynthPhone& p : phones) {
        const long n = std::lround(p.seconds * rate);
        for (long k = 0; k < n; ++k) {
            const long at = long(out.samples.size());
            const bool voiced = p.kind == SynthKind::Vowel || p.kind == SynthKind::Sonorant;
            double pulse = 0.0;
            double hz = f0 * (1.0 + 0.05 * std::sin(2.0 * std::numbers::pi * 1.3 * at / rate));
            phase += hz / rate;
            if (phase >= 1.0) {
                phase -= 1.0;
                if (voiced) {
                    pulse = 1.0;
                    out.pulses.push_back(at);
                }
            }
            double voice = f3.Step(f2.Step(f1.Step(pulse)));
            double hum = nasal.Step(pulse);
            double white = noise(random);
            double high = white - highPrevious;  // first difference: a high-pass
            highPrevious = white;
            double v = 0.0;
            switch (p.kind) {
                case SynthKind::Vowel:
                    v = 0.004 * voice;
                    break;
                case SynthKind::Sonorant:
                    v = 0.03 * hum;
                    break;
                case SynthKind::Fricative:
                    v = 0.12 * high;
                    break;
                case SynthKind::Stop:
                    v = k > n * 7 / 10 ? 0.15 * white : 0.0005 * white;
                    break;
                case SynthKind::Pause:
                    v = 0.0005 * white;
                    break;
            }
            out.samples.push_back(int16_t(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0)));
        }
        t += double(n) / rate;
        out.ends.push_back(t);
    }
    return out;
}

std::string LabelText(const std::vector<SynthPhone>& phones, const std::vector<double>& ends,
                      double shift) {
    std::string text = "#\n";
    for (size_t i = 0; i < phones.size(); ++i) {
        double end = ends[i];
        if (i + 1 < phones.size() && phones[i].kind == SynthKind::Vowel &&
            phones[i + 1].kind == SynthKind::Fricative)
            end += shift;
        char line[80];
        std::snprintf(line, sizeof line, "%.5f 125 %s\n", end, phones[i].label.c_str());
        text += line;
    }
    return text;
}

SyntheticCorpus::SyntheticCorpus(std::string dir) : dir_(std::move(dir)) {
    for (const char* sub : {"wav", "lab", "etc"})
        std::filesystem::create_directories(dir_ + "/" + sub);
}

RenderedSpeech SyntheticCorpus::Add(const std::string& id, const std::string& prompt,
                                    const std::vector<SynthPhone>& phones, double f0,
                                    double labelShift) {
    RenderedSpeech speech = RenderSpeech(phones, f0, 16000, unsigned(prompts_.size() + 1));
    voicedb::WavAudio audio;
    audio.sampleRate = uint32_t(speech.rate);
    audio.samples = speech.samples;
    std::string error;
    voicedb::WriteWav(dir_ + "/wav/" + id + ".wav", audio, error);
    WriteFile(dir_ + "/lab/" + id + ".lab", LabelText(phones, speech.ends, labelShift));
    prompts_.emplace_back(id, prompt);
    return speech;
}

void SyntheticCorpus::WritePrompts() const {
    std::string text;
    for (const auto& [id, prompt] : prompts_) text += "( " + id + " \"" + prompt + "\" )\n";
    WriteFile(dir_ + "/etc/txt.done.data", text);
}

}  // namespace vox::test
