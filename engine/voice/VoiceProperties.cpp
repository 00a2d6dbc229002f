#include "engine/voice/VoiceProperties.h"

#include <cmath>
#include <variant>

namespace vox {

namespace {

enum class Kind { Text, Number, Switch, Thousandths };
enum class Scope { Machine, User };

using Field = std::variant<std::string VoiceProperties::*, int32_t VoiceProperties::*,
                           bool VoiceProperties::*, double VoiceProperties::*>;

// One registry value of a voice: where it lives, how it is encoded, which
// member of the record holds it, and whether the settings writer stores it.
struct Setting {
    Scope scope;
    const char* subkey;  // "" for the voice key itself
    const char* name;
    Kind kind;
    Field field;
    bool written = true;
};

using P = VoiceProperties;

// In reading order: the machine key, the user key, then each user subkey.
const Setting kSettings[] = {
    {Scope::Machine, "", "CLSID", Kind::Text, &P::clsid},
    {Scope::Machine, "", "UI", Kind::Text, &P::ui, false},
    {Scope::Machine, "", "LingProcessor", Kind::Text, &P::lingProcessor},
    {Scope::Machine, "", "VoiceData", Kind::Text, &P::voiceData},
    {Scope::Machine, "", "Age", Kind::Text, &P::age},
    {Scope::Machine, "", "Gender", Kind::Text, &P::gender},
    {Scope::Machine, "", "Language", Kind::Text, &P::language},
    {Scope::Machine, "", "Sublang", Kind::Text, &P::sublang},
    {Scope::Machine, "", "Name", Kind::Text, &P::name},
    {Scope::Machine, "", "DebugVerbosity", Kind::Number, &P::debugVerbosity},
    {Scope::Machine, "", "MaxCut", Kind::Switch, &P::maxCut, false},

    {Scope::User, "", "RhytmicsEnabled", Kind::Switch, &P::rhytmicsEnabled},
    {Scope::User, "", "IntonationEnabled", Kind::Switch, &P::intonationEnabled},
    {Scope::User, "", "UseAbsoluteIntonation", Kind::Switch, &P::useAbsoluteIntonation},
    {Scope::User, "", "IntonationLowFreq", Kind::Number, &P::intonationLowFreq},
    {Scope::User, "", "IntonationHighFreq", Kind::Number, &P::intonationHighFreq},
    {Scope::User, "", "UseAmpProsody", Kind::Switch, &P::useAmpProsody},
    {Scope::User, "", "UseFreqProsody", Kind::Switch, &P::useFreqProsody},
    {Scope::User, "", "UseAmpContour", Kind::Switch, &P::useAmpContour},
    {Scope::User, "", "UseNewIntonation", Kind::Switch, &P::useNewIntonation},

    {Scope::User, "Volume", "Enabled", Kind::Switch, &P::volumeEnabled},
    {Scope::User, "Volume", "Value", Kind::Thousandths, &P::volumeValue},

    {Scope::User, "Filter", "Enabled", Kind::Switch, &P::filterEnabled},
    {Scope::User, "Filter", "Type", Kind::Number, &P::filterType},
    {Scope::User, "Filter", "LowPassCutoff", Kind::Number, &P::lowPassCutoff},
    {Scope::User, "Filter", "HighPassCutoff", Kind::Number, &P::highPassCutoff},
    {Scope::User, "Filter", "BandPassF1", Kind::Number, &P::bandPassF1},
    {Scope::User, "Filter", "BandPassF2", Kind::Number, &P::bandPassF2},
    {Scope::User, "Filter", "BandStopF1", Kind::Number, &P::bandStopF1},
    {Scope::User, "Filter", "BandStopF2", Kind::Number, &P::bandStopF2},

    {Scope::User, "Rever", "Enabled", Kind::Switch, &P::reverEnabled},
    {Scope::User, "Rever", "UseFilter", Kind::Switch, &P::reverUseFilter},
    {Scope::User, "Rever", "FilterType", Kind::Number, &P::reverFilterType},
    {Scope::User, "Rever", "FilterLow", Kind::Number, &P::reverFilterLow},
    {Scope::User, "Rever", "FilterHigh", Kind::Number, &P::reverFilterHigh},
    {Scope::User, "Rever", "Delay", Kind::Thousandths, &P::reverDelay},
    {Scope::User, "Rever", "Feedback", Kind::Thousandths, &P::reverFeedback},
    {Scope::User, "Rever", "NumDelays", Kind::Number, &P::reverNumDelays},
    {Scope::User, "Rever", "SourceAmount", Kind::Thousandths, &P::reverSourceAmount},
    {Scope::User, "Rever", "DelayAmount", Kind::Thousandths, &P::reverDelayAmount},

    {Scope::User, "Chambrel", "Enabled", Kind::Switch, &P::chambrelEnabled},
    {Scope::User, "Chambrel", "IsMale", Kind::Switch, &P::chambrelIsMale},
    {Scope::User, "Chambrel", "Depth", Kind::Thousandths, &P::chambrelDepth},
    {Scope::User, "Chambrel", "Feedback", Kind::Thousandths, &P::chambrelFeedback},

    {Scope::User, "Pauses", "NoiseFill", Kind::Switch, &P::noiseFill},
    {Scope::User, "Pauses", "NoiseLevel", Kind::Number, &P::noiseLevel},
    {Scope::User, "Pauses", "DurationUnit", Kind::Number, &P::durationUnit},
};

constexpr size_t kTextBuffer = kMaxSettingText + 1;

std::string KeyPath(const std::string& voiceKey, const char* subkey) {
    std::string path = VoiceRoot() + "\\" + voiceKey;
    if (*subkey != 0) path += std::string("\\") + subkey;
    return path;
}

// Reads one value into the record; a missing or unreadable value keeps its default.
void ReadSetting(const reg::Key& key, const Setting& s, VoiceProperties& p) {
    if (s.kind == Kind::Text) {
        std::string text;
        if (key.QueryText(s.name, text, kTextBuffer) == reg::Status::Ok)
            p.*std::get<std::string P::*>(s.field) = text;
        return;
    }
    uint32_t n = 0;
    if (key.QueryDword(s.name, n) != reg::Status::Ok) return;
    switch (s.kind) {
        case Kind::Number:
            p.*std::get<int32_t P::*>(s.field) = static_cast<int32_t>(n);
            break;
        case Kind::Switch:
            p.*std::get<bool P::*>(s.field) = n != 0;
            break;
        case Kind::Thousandths:
            p.*std::get<double P::*>(s.field) = n * 0.001;
            break;
        case Kind::Text:
            break;
    }
}

uint32_t ThousandthsToDword(double value) {
    if (!(value > 0)) return 0;
    double n = std::round(value * 1000.0);
    return n >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(n);
}

reg::Value EncodeSetting(const Setting& s, const VoiceProperties& p) {
    switch (s.kind) {
        case Kind::Text:
            return reg::MakeString(s.name, p.*std::get<std::string P::*>(s.field));
        case Kind::Number:
            return reg::MakeDword(s.name,
                                  static_cast<uint32_t>(p.*std::get<int32_t P::*>(s.field)));
        case Kind::Switch:
            return reg::MakeDword(s.name, p.*std::get<bool P::*>(s.field) ? 1 : 0);
        case Kind::Thousandths:
            return reg::MakeDword(s.name, ThousandthsToDword(p.*std::get<double P::*>(s.field)));
    }
    return {};
}

// "0x" + text parsed as hexadecimal; false for an empty or non-hexadecimal text.
bool ParseLanguageId(const std::string& text, int32_t& id) {
    if (text.empty() || text.size() > 8) return false;
    uint32_t value = 0;
    for (char c : text) {
        int d = (c >= '0' && c <= '9')   ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : -1;
        if (d < 0) return false;
        value = value * 16 + static_cast<uint32_t>(d);
    }
    id = static_cast<int32_t>(value);
    return true;
}

// Pause marks: every value of "\Pauses" whose name begins with "(".
void ReadPauseMarks(const reg::Key& key, PauseTable& table) {
    reg::Value v;
    for (size_t i = 0; key.EnumValue(i, v) == reg::Status::Ok; ++i) {
        if (v.name.empty() || v.name[0] != '(' || v.name.size() > 259 || v.data.size() != 4)
            continue;
        uint32_t n = uint32_t(v.data[0]) | uint32_t(v.data[1]) << 8 | uint32_t(v.data[2]) << 16 |
                     uint32_t(v.data[3]) << 24;
        table[v.name] = n * 0.001;
    }
}

}  // namespace

const std::string& VoiceRoot() {
    static const std::string root = "SOFTWARE\\Vostrelin\\Voices";
    return root;
}

void VoiceProperties::ResetToDefaults() {
    PauseTable kept = std::move(pauses);
    VoiceProperties defaults;  // member initialisers hold the defaults
    *this = std::move(defaults);
    pauses = std::move(kept);
    ResetPauseTable(pauses);
}

bool VoiceProperties::Read(const std::string& key) {
    ResetToDefaults();
    reg::Key machine;
    if (reg::Key::Open(reg::Root::LocalMachine, KeyPath(key, ""), machine) != reg::Status::Ok)
        return false;
    voiceKey = key;
    std::string openSubkey = "-";
    reg::Key current;
    bool currentOpen = false;
    for (const Setting& s : kSettings) {
        if (s.scope == Scope::Machine) {
            ReadSetting(machine, s, *this);
            continue;
        }
        if (openSubkey != s.subkey) {
            openSubkey = s.subkey;
            currentOpen = reg::Key::Open(reg::Root::CurrentUser, KeyPath(key, s.subkey), current) ==
                          reg::Status::Ok;
        }
        if (currentOpen) ReadSetting(current, s, *this);
    }
    ParseLanguageId(language, languageId);
    if (reg::Key pausesKey; reg::Key::Open(reg::Root::CurrentUser, KeyPath(key, "Pauses"),
                                           pausesKey) == reg::Status::Ok)
        ReadPauseMarks(pausesKey, pauses);
    return true;
}

reg::Status WriteVoiceProperties(const VoiceProperties& p) {
    if (p.voiceKey.empty()) return reg::Status::NotFound;
    auto write = [&](Scope scope, reg::Hive& hive) {
        for (const Setting& s : kSettings)
            if (s.scope == scope && s.written)
                hive.SetValue(KeyPath(p.voiceKey, s.subkey), EncodeSetting(s, p));
        return reg::Status::Ok;
    };
    reg::Status st = reg::Edit(reg::Root::LocalMachine,
                               [&](reg::Hive& hive) { return write(Scope::Machine, hive); });
    if (st != reg::Status::Ok) return st;
    return reg::Edit(reg::Root::CurrentUser, [&](reg::Hive& hive) {
        write(Scope::User, hive);
        // The pause marks, each as thousandths of a duration unit.
        for (const auto& [mark, factor] : p.pauses)
            hive.SetValue(KeyPath(p.voiceKey, "Pauses"),
                          reg::MakeDword(mark, ThousandthsToDword(factor)));
        return reg::Status::Ok;
    });
}

}  // namespace vox
