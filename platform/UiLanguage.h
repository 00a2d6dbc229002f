// The user-interface language of the desktop programs (the user default UI
// language of Windows), from the environment in gettext's order: LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG. Only reads the environment; never touches the
// process locale.
#pragma once

#include <cstdint>
#include <string>

namespace vox {

inline constexpr uint16_t kLangEnglishUS = 0x409;
inline constexpr uint16_t kLangRussian = 0x419;

// The language identifier (0x419 Russian, 0x409 otherwise).
uint16_t UserDefaultUILanguage();

// The code of the language named by the first of those variables that is
// set ("ru", "en"; "en" for "C", "POSIX" or none set).
std::string UserUiLanguageCode();

// Lower-case hexadecimal without leading zeros ("419"): the name of the
// value holding a voice's display name in that language.
std::string LanguageValueName(uint16_t language);

}  // namespace vox
