// The engine's two user interfaces: the settings program ("MS-SAPI5:
// EngineProperties") and the stress editor ("Vostrelin:AccentorVocabulary"),
// started by the paths under HKLM\Software\Vostrelin\TTS Engine\3.0.
#pragma once

namespace vox {

inline constexpr const char* kEnginePropertiesUI = "MS-SAPI5:EngineProperties";
inline constexpr const char* kAccentorVocabularyUI = "Vostrelin:AccentorVocabulary";
inline constexpr const char* kProgramPathsKey = "Software\\Vostrelin\\TTS Engine\\3.0";

bool IsUISupported(const char* voiceKey, const char* typeOfUI);
// Starts the program of a supported type without waiting.
void DisplayUI(const char* voiceKey, const char* typeOfUI);

}  // namespace vox
