// The settings speech-dispatcher sends before each message ("SET" block):
// names, accepted values and their meaning for the voice.
#pragma once

#include <string>
#include <string_view>

namespace sdvox {

enum class PunctuationMode { None, Some, Most, All };
enum class CapitalLetters { None, Spell, Icon };

struct SpeechSettings {
    int rate = 0;   // -100 … 100, 0 is the voice's own rate
    int pitch = 0;  // -100 … 100
    int pitch_range = 0;
    int volume = 0;  // -100 … 100, 100 is full scale
    PunctuationMode punctuation = PunctuationMode::None;
    bool spelling = false;
    CapitalLetters capitals = CapitalLetters::None;
    std::string voice_type = "male1";  // male1 … female3, child_male, child_female
    std::string language;              // empty for "NULL"
    std::string synthesis_voice;       // empty for "NULL"
};

enum class SetResult { Ok, BadSyntax, BadValue };

// Applies one "name=value" line. Unknown names and values out of range are
// BadValue and change nothing; a line without "=" or with an empty side is
// BadSyntax.
SetResult ApplySetting(SpeechSettings& settings, std::string_view line);

// The speech platform's scales, reached monotonically from -100 … 100:
// rate -10 … 10 (each step 1.1 times faster), pitch -10 … 10 (each step 3 %
// higher), volume 0 … 100 (-100 silent, 0 half level, 100 full scale).
int PlatformRate(int rate);
int PlatformPitch(int pitch);
int PlatformVolume(int volume);

}  // namespace sdvox
