// A synthetic voice database for tests, generated on the fly (never
// committed): vowels are pulse trains through one resonator with a fixed
// period and a pitch mark at every period start; voiceless consonants are
// shaped noise without marks. Nothing is padded with silence, so sizes and
// periods are known exactly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/voice/AudioBase.h"

namespace vox::test {

class TempRegistry;

inline constexpr int kSyntheticPeriod = 147;  // 150 Hz at 22050 Hz

class SyntheticVoice {
  public:
    // `periods` identical periods of `period` samples, marks 0, period, …;
    // the resonance lies at `formantHz`.
    Unit AddVowel(const std::string& name, int periods, int period = kSyntheticPeriod,
                  double formantHz = 700.0);
    // `length` samples of noise under a raised-cosine envelope; no marks.
    Unit AddNoise(const std::string& name, int length);
    // Any unit, taken as given. Each Add returns a copy of the unit added.
    Unit AddUnit(Unit unit);

    const std::vector<Unit>& Units() const { return units_; }
    const Unit* Find(const std::string& name) const;

    // The "abs.07" file; both throw std::runtime_error on a unit the writer refuses.
    std::string Bytes() const;
    void Write(const std::string& path) const;

  private:
    std::vector<Unit> units_;
    uint32_t noiseState_ = 12345;  // a fixed seed: the same voice every run
};

// Machine values of a voice under HKLM\SOFTWARE\Vostrelin\Voices\<key> in the
// test's registry: VoiceData, Language, Sublang and Name (= key).
void InstallSyntheticVoice(const TempRegistry& registry, const std::string& key,
                           const std::string& voiceData, const std::string& language = "419",
                           const std::string& sublang = "0");

}  // namespace vox::test
