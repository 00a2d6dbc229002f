// The decoded settings of one voice, read from the registry: identity and
// installation values under HKEY_LOCAL_MACHINE\SOFTWARE\Vostrelin\Voices\<key>,
// synthesis settings under the same path in HKEY_CURRENT_USER and its
// subkeys "\Volume", "\Filter", "\Rever", "\Chambrel" and "\Pauses".
// One reader and one writer serve the engine, the adapter and the settings
// program. The engine never writes.
#pragma once

#include <cstdint>
#include <string>

#include "engine/voice/PauseMarks.h"
#include "platform/Registry.h"

namespace vox {

// "SOFTWARE\Vostrelin\Voices": built once when the library loads.
const std::string& VoiceRoot();

struct VoiceProperties {
    std::string voiceKey;    // the key of the last read
    int32_t languageId = 0;  // "0x" + Language parsed as hexadecimal ("419" → 1049)

    // Machine key.
    std::string clsid, ui, lingProcessor, voiceData, age, gender, language, sublang, name;
    int32_t debugVerbosity = 0;
    bool maxCut = false;

    // User key.
    bool rhytmicsEnabled = false;
    bool intonationEnabled = false;
    bool useAbsoluteIntonation = false;
    int32_t intonationLowFreq = 100;
    int32_t intonationHighFreq = 200;
    bool useAmpProsody = false;
    bool useFreqProsody = false;
    bool useAmpContour = false;
    bool useNewIntonation = false;

    // "\Volume" (read, not applied by the phrase pipeline).
    bool volumeEnabled = false;
    double volumeValue = 1.0;

    // "\Filter".
    bool filterEnabled = false;
    int32_t filterType = 1;
    int32_t lowPassCutoff = 4000;
    int32_t highPassCutoff = 4000;
    int32_t bandPassF1 = 100;
    int32_t bandPassF2 = 2000;
    int32_t bandStopF1 = 100;
    int32_t bandStopF2 = 2000;

    // "\Rever".
    bool reverEnabled = false;
    bool reverUseFilter = true;
    int32_t reverFilterType = 3;
    int32_t reverFilterLow = 300;
    int32_t reverFilterHigh = 800;
    double reverDelay = 0.2;
    double reverFeedback = 0.5;
    int32_t reverNumDelays = 3;
    double reverSourceAmount = 1.0;
    double reverDelayAmount = 1.0;

    // "\Chambrel".
    bool chambrelEnabled = false;
    bool chambrelIsMale = true;
    double chambrelDepth = 0.5;
    double chambrelFeedback = 0.5;

    // "\Pauses".
    bool noiseFill = false;
    int32_t noiseLevel = 20;
    int32_t durationUnit = 150;
    PauseTable pauses = DefaultPauseTable();  // mark → pause factor

    // Every setting back to its default; marks added by an earlier read stay.
    void ResetToDefaults();
    // Reads the voice's settings; false when its machine key cannot be opened.
    bool Read(const std::string& key);
};

// Writes the whole record back in the same encodings (the settings program's
// Apply): the machine values "CLSID", "LingProcessor", "VoiceData", "Age",
// "Gender", "Language", "Sublang", "Name", "DebugVerbosity", and every user
// value and subkey. Keys are created when missing.
reg::Status WriteVoiceProperties(const VoiceProperties& props);

// Longest text a setting can hold (the readers use a 256-byte buffer that
// includes the terminating zero).
inline constexpr size_t kMaxSettingText = 255;

}  // namespace vox
