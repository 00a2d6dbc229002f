// The real module with the installed default voice (label "slow"): rate,
// pitch and volume from speech-dispatcher's -100 … 100 scale change the
// output's duration, pitch and level in the right direction; characters and
// keys are spoken.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "speechd/ModuleProcess.h"

namespace sdvox::test {
namespace {

const char* kText = "<speak>Мама мыла раму, а папа читал газету.</speak>";

double Rms(const std::vector<int16_t>& s) {
    double sum = 0;
    for (int16_t v : s) sum += double(v) * v;
    return s.empty() ? 0 : std::sqrt(sum / s.size());
}

// Median pitch (Hz) of the loud 40 ms frames, by autocorrelation over 70-400 Hz.
double MedianPitch(const std::vector<int16_t>& s) {
    const int rate = 22050, frame = 882;
    double level = Rms(s);
    std::vector<double> pitches;
    for (size_t at = 0; at + frame * 2 < s.size(); at += frame) {
        std::vector<int16_t> f(s.begin() + at, s.begin() + at + frame);
        if (Rms(f) < level) continue;
        double best = 0;
        int lag_best = 0;
        for (int lag = rate / 400; lag <= rate / 70; ++lag) {
            double c = 0, e = 0;
            for (int i = 0; i < frame; ++i) {
                c += double(s[at + i]) * s[at + i + lag];
                e += double(s[at + i + lag]) * s[at + i + lag];
            }
            double r = e > 0 ? c / std::sqrt(e) : 0;
            if (r > best) best = r, lag_best = lag;
        }
        if (lag_best) pitches.push_back(double(rate) / lag_best);
    }
    if (pitches.empty()) return 0;
    std::nth_element(pitches.begin(), pitches.begin() + pitches.size() / 2, pitches.end());
    return pitches[pitches.size() / 2];
}

class ModuleOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        try {
            module_ = std::make_unique<ModuleProcess>(VOXAMEN_BIN_DIR "/sd_voxamen");
        } catch (const std::exception&) {
            GTEST_SKIP() << "no installed voice (scripts/main.sh)";
        }
    }
    std::vector<int16_t> Say(const std::string& settings) {
        std::vector<int16_t> audio = module_->Speak(settings, kText);
        EXPECT_GT(audio.size(), 22050u / 2) << settings;
        return audio;
    }
    std::unique_ptr<ModuleProcess> module_;
};

TEST_F(ModuleOutputTest, RateShortensTheSpeech) {
    size_t slow = Say("rate=-100\npitch=0\nvolume=100").size();
    size_t normal = Say("rate=0").size();
    size_t fast = Say("rate=100").size();
    EXPECT_GT(slow, normal * 1.3);
    EXPECT_LT(fast * 1.3, normal);
}

TEST_F(ModuleOutputTest, PitchRaisesTheVoice) {
    double low = MedianPitch(Say("rate=0\npitch=-100\nvolume=100"));
    double normal = MedianPitch(Say("pitch=0"));
    double high = MedianPitch(Say("pitch=100"));
    EXPECT_LT(low, normal * 0.95) << low << " " << normal;
    EXPECT_GT(high, normal * 1.05) << high << " " << normal;
}

TEST_F(ModuleOutputTest, VolumeRaisesTheLevel) {
    double quiet = Rms(Say("rate=0\npitch=0\nvolume=-50"));
    double half = Rms(Say("volume=0"));
    double full = Rms(Say("volume=100"));
    EXPECT_LT(quiet, half * 0.7);
    EXPECT_LT(half, full * 0.7);
    EXPECT_EQ(Rms(Say("volume=-100")), 0.0);
}

TEST_F(ModuleOutputTest, CharactersAndKeysAreSpoken) {
    module_->Send("CHAR\nж\n.\n");
    std::string out;
    ASSERT_TRUE(module_->Await("702 END\n", &out));
    EXPECT_GT(ModuleProcess::AudioOf(out).size(), 2000u);
    module_->Send("KEY\ncontrol_alt_delete\n.\n");
    ASSERT_TRUE(module_->Await("702 END\n", &out));
    EXPECT_GT(ModuleProcess::AudioOf(out).size(), 11025u);
}

}  // namespace
}  // namespace sdvox::test
