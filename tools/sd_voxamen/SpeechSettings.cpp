#include "tools/sd_voxamen/SpeechSettings.h"

#include <charconv>

namespace sdvox {

namespace {

bool ParseScale(std::string_view text, int* out) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    if (value < -100 || value > 100) return false;
    *out = value;
    return true;
}

bool IsVoiceType(std::string_view v) {
    static constexpr std::string_view kTypes[] = {
        "male1", "male2", "male3", "female1", "female2", "female3", "child_male", "child_female"};
    for (std::string_view t : kTypes)
        if (v == t) return true;
    return false;
}

}  // namespace

SetResult ApplySetting(SpeechSettings& s, std::string_view line) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq == 0 || eq + 1 == line.size())
        return SetResult::BadSyntax;
    std::string_view name = line.substr(0, eq);
    std::string_view value = line.substr(eq + 1);

    if (name == "rate") return ParseScale(value, &s.rate) ? SetResult::Ok : SetResult::BadValue;
    if (name == "pitch") return ParseScale(value, &s.pitch) ? SetResult::Ok : SetResult::BadValue;
    if (name == "pitch_range")
        return ParseScale(value, &s.pitch_range) ? SetResult::Ok : SetResult::BadValue;
    if (name == "volume") return ParseScale(value, &s.volume) ? SetResult::Ok : SetResult::BadValue;
    if (name == "punctuation_mode") {
        if (value == "none")
            s.punctuation = PunctuationMode::None;
        else if (value == "some")
            s.punctuation = PunctuationMode::Some;
        else if (value == "most")
            s.punctuation = PunctuationMode::Most;
        else if (value == "all")
            s.punctuation = PunctuationMode::All;
        else
            return SetResult::BadValue;
        return SetResult::Ok;
    }
    if (name == "spelling_mode") {
        if (value == "on")
            s.spelling = true;
        else if (value == "off")
            s.spelling = false;
        else
            return SetResult::BadValue;
        return SetResult::Ok;
    }
    if (name == "cap_let_recogn") {
        if (value == "none")
            s.capitals = CapitalLetters::None;
        else if (value == "spell")
            s.capitals = CapitalLetters::Spell;
        else if (value == "icon")
            s.capitals = CapitalLetters::Icon;
        else
            return SetResult::BadValue;
        return SetResult::Ok;
    }
    if (name == "voice") {
        if (!IsVoiceType(value)) return SetResult::BadValue;
        s.voice_type = std::string(value);
        return SetResult::Ok;
    }
    if (name == "language") {
        s.language = value == "NULL" ? std::string() : std::string(value);
        return SetResult::Ok;
    }
    if (name == "synthesis_voice") {
        s.synthesis_voice = value == "NULL" ? std::string() : std::string(value);
        return SetResult::Ok;
    }
    return SetResult::BadValue;
}

namespace {
int DivideRounded(int value, int by) {
    return value >= 0 ? (value + by / 2) / by : -((-value + by / 2) / by);
}
}  // namespace

int PlatformRate(int rate) {
    return DivideRounded(rate, 10);
}
int PlatformPitch(int pitch) {
    return DivideRounded(pitch, 10);
}
int PlatformVolume(int volume) {
    return (volume + 100) / 2;
}

}  // namespace sdvox
