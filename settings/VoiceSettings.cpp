#include "settings/VoiceSettings.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platform/UiLanguage.h"

namespace setvane {

namespace {

// Marks a message for the catalogue; translated where it is shown.
#define N_(text) text

bool IsUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > text.size()) return false;
        for (size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

}  // namespace

std::string DisplayName(const std::string& voiceKey, uint16_t uiLanguage) {
    vox::reg::Key key;
    if (vox::reg::Key::Open(vox::reg::Root::LocalMachine, vox::VoiceRoot() + "\\" + voiceKey,
                            key) != vox::reg::Status::Ok)
        return voiceKey;
    std::string name;
    if (key.QueryText(vox::LanguageValueName(uiLanguage), name, 256) != vox::reg::Status::Ok)
        key.QueryText("Name", name, 256);
    if (name.empty()) return voiceKey;
    // The registry keeps UTF-8; a value written in the engine's code page still reads.
    return IsUtf8(name) ? name : vox::Cp1251ToUtf8(name);
}

std::vector<VoiceEntry> ListVoices(uint16_t uiLanguage) {
    std::vector<VoiceEntry> voices;
    vox::reg::Key root;
    if (vox::reg::Key::Open(vox::reg::Root::LocalMachine, vox::VoiceRoot(), root) !=
        vox::reg::Status::Ok)
        return voices;
    for (const std::string& key : root.SubKeyNames()) {
        if (key.size() > 260) continue;
        voices.push_back({key, DisplayName(key, uiLanguage)});
    }
    std::stable_sort(voices.begin(), voices.end(), [](const VoiceEntry& a, const VoiceEntry& b) {
        return a.displayName < b.displayName;
    });
    return voices;
}

const std::vector<PauseMarkItem>& PauseMarkItems() {
    static const std::vector<PauseMarkItem> items = {
        {"(W)", N_("Between accent units.")},
        {"(W=)", N_("Between words inside accent unit.")},
        {"(.)", N_("Simple completeness.")},
        {"(..)", N_("Full completeness.")},
        {"(;)", N_("Partial completeness.")},
        {"(:)", N_("Full completeness, flatness.")},
        {"(-.)", N_("Short completeness.")},
        {"(,)", N_("Binding incompleteness.")},
        {"(-,)", N_("Balanced incompleteness.")},
        {"(,,)", N_("Autonomized incompleteness.")},
        {"(-)", N_("Contrast incompleteness.")},
        {"(!)", N_("Exclamation.")},
        {"(!.)", N_("Imperative sentence.")},
        {"(?)", N_("General question (no questioning word).")},
        {"(?.)", N_("Special question (with questioning word).")},
        {"(())", N_("Parenthesis.")},
        {"(=)", ""},
        {"(,-,)", ""},
        {"(~)", ""},
    };
    return items;
}

std::vector<std::string> PauseMarksToShow(const vox::PauseTable& table) {
    std::vector<std::string> marks;
    for (const PauseMarkItem& item : PauseMarkItems()) marks.emplace_back(item.mark);
    for (const auto& [mark, factor] : table)
        if (std::find(marks.begin(), marks.end(), mark) == marks.end()) marks.push_back(mark);
    return marks;
}

VoiceSettings::VoiceSettings(uint16_t uiLanguage)
    : uiLanguage_(uiLanguage), voices_(ListVoices(uiLanguage)) {
    if (!voices_.empty()) Select(0);
}

void VoiceSettings::Select(int index) {
    if (index < 0 || index >= static_cast<int>(voices_.size())) return;
    current_ = index;
    record_ = vox::VoiceProperties();
    record_.Read(voices_[static_cast<size_t>(index)].key);
    modified_ = false;
}

std::string VoiceSettings::Apply() {
    if (current_ < 0) return {};
    // The record names the key it was read from; a voice whose machine key
    // vanished meanwhile is written back under its own key.
    record_.voiceKey = voices_[static_cast<size_t>(current_)].key;
    const vox::reg::Status status = vox::WriteVoiceProperties(record_);
    if (status != vox::reg::Status::Ok) return vox::reg::StatusText(status);
    modified_ = false;
    return {};
}

void VoiceSettings::DefaultPauses() {
    vox::ResetPauseTable(record_.pauses);
    modified_ = true;
}

}  // namespace setvane
