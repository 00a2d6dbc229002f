// The settings program's model, free of any window: the installed voices
// with their display names, the settings record of the current voice with
// its pending changes, and the ranges of every editable number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/voice/VoiceProperties.h"

namespace setvane {

struct VoiceEntry {
    std::string key;
    std::string displayName;  // UTF-8
};

// A voice's display name: the value named after the UI language in
// lower-case hexadecimal ("419"), else "Name"; shown as UTF-8.
std::string DisplayName(const std::string& voiceKey, uint16_t uiLanguage);

// Subkeys of HKLM\SOFTWARE\Vostrelin\Voices, sorted by display name.
std::vector<VoiceEntry> ListVoices(uint16_t uiLanguage);

// A closed range of a number setting and how many decimals it shows.
struct Range {
    double min;
    double max;
    int decimals;
    bool Contains(double value) const { return value >= min && value <= max; }
};

inline constexpr Range kPauseFactorRange{0.0, 5.0, 3};
inline constexpr Range kNoiseLevelRange{0, 1000, 0};
inline constexpr Range kDurationUnitRange{0, 1000, 0};
inline constexpr Range kChambrelRange{0.001, 1.0, 3};
inline constexpr Range kReverFrequencyRange{30, 11025, 0};
inline constexpr Range kReverDelayRange{0.001, 0.5, 3};
inline constexpr Range kReverDelaysRange{1, 10, 0};
inline constexpr Range kReverLevelRange{0.0, 1.0, 3};
// Not bounded by the settings record; what the engine can use at 22050 Hz.
inline constexpr Range kFilterFrequencyRange{1, 11025, 0};
inline constexpr Range kIntonationFrequencyRange{30, 1000, 0};

// A pause mark of the "Durations" grid and its help text (an English
// message, translated where shown).
struct PauseMarkItem {
    const char* mark;
    const char* help;  // "" for none
};
const std::vector<PauseMarkItem>& PauseMarkItems();

// The marks shown in the grid: the known ones in their order, then any
// other mark the voice's settings hold.
std::vector<std::string> PauseMarksToShow(const vox::PauseTable& table);

// The pending changes of the current voice.
class VoiceSettings {
  public:
    explicit VoiceSettings(uint16_t uiLanguage);

    const std::vector<VoiceEntry>& Voices() const { return voices_; }
    // Index into Voices(), or -1 with no voices.
    int Current() const { return current_; }
    // Reads the voice's settings; drops pending changes.
    void Select(int index);

    vox::VoiceProperties& Record() { return record_; }
    const vox::VoiceProperties& Record() const { return record_; }
    bool Modified() const { return modified_; }
    void MarkModified() { modified_ = true; }

    // Writes the whole record; an empty text on success, else the reason
    // (the changes stay pending).
    std::string Apply();
    // Puts the default factors back into the marks.
    void DefaultPauses();

  private:
    uint16_t uiLanguage_;
    std::vector<VoiceEntry> voices_;
    int current_ = -1;
    vox::VoiceProperties record_;
    bool modified_ = false;
};

}  // namespace setvane
