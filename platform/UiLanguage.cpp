#include "platform/UiLanguage.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vox {

namespace {

// "ru_RU.UTF-8@x" → "ru"; "C" and "POSIX" → "en" (no translation).
std::string_view CodeOf(std::string_view locale) {
    const std::string_view code = locale.substr(0, locale.find_first_of("_.@"));
    if (code == "C" || code == "POSIX") return "en";
    return code;
}

}  // namespace

std::string UserUiLanguageCode() {
    // The first variable set decides; LANGUAGE is a priority list whose
    // first entry counts.
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0') continue;
        std::string_view text(value);
        const std::string_view code = CodeOf(text.substr(0, text.find(':')));
        if (!code.empty()) return std::string(code);
    }
    return "en";
}

uint16_t UserDefaultUILanguage() {
    return UserUiLanguageCode() == "ru" ? kLangRussian : kLangEnglishUS;
}

std::string LanguageValueName(uint16_t language) {
    char text[8];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(language));
    return text;
}

}  // namespace vox
