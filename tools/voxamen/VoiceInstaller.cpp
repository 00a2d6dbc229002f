#include "tools/voxamen/VoiceInstaller.h"

#include "engine/PhoneticModuleLoader.h"
#include "engine/voice/VoiceProperties.h"
#include "interfaces/AdapterIds.h"
#include "phonetic/ModuleFacts.h"
#include "platform/Guid.h"
#include "platform/Registry.h"

namespace vox {

namespace {

bool IsHex(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace

std::string ValidateVoiceInstallation(const VoiceInstallation& v) {
    if (v.key.empty()) return "the voice key is empty";
    if (v.key.find('\\') != std::string::npos) return "the voice key must not contain \"\\\"";
    if (std::string problem = reg::KeyPathProblem(v.key); !problem.empty())
        return "the voice key is refused: " + problem;
    if (v.voiceData.empty()) return "the voice database path is empty";
    if (v.voiceData.front() != '/') return "the voice database path must be absolute";
    for (const std::string* text : {&v.voiceData, &v.name, &v.lexicon, &v.gender, &v.age})
        if (text->size() > kMaxSettingText)
            return "\"" + *text + "\" is longer than " + std::to_string(kMaxSettingText) +
                   " bytes, which the engine cannot read";
    if (!IsHex(v.language)) return "the language must be hexadecimal digits, e.g. 419";
    if (!v.sublang.empty() && v.sublang.find_first_not_of("0123456789") != std::string::npos)
        return "the sublanguage must be decimal digits, e.g. 1";
    if (v.prosodyLowHz != 0 || v.prosodyHighHz != 0)
        if (v.prosodyLowHz < 30 || v.prosodyHighHz > 1000 || v.prosodyLowHz >= v.prosodyHighHz)
            return "the intonation range must be LOW,HIGH in Hz with 30 <= LOW < HIGH <= 1000";
    if (!v.lexicon.empty() && !GuidFromString(v.lexicon))
        return "the lexical component must be a class id like "
               "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
    return {};
}

std::string ModuleProblem(const VoiceInstallation& v) {
    const std::string wanted = PhoneticModuleName(v.language, v.sublang);
    reg::Key modules;
    std::vector<std::string> installed;
    if (reg::Key::Open(reg::Root::LocalMachine, kPhoneticModulesKey, modules) == reg::Status::Ok)
        installed = modules.SubKeyNames();
    for (const std::string& name : installed)
        if (reg::NamesEqual(name, wanted)) return {};
    std::string problem = "no installed phonetic module serves language " + v.language +
                          (v.sublang.empty() ? std::string() : ", sublanguage " + v.sublang) +
                          " (module " + wanted + ")";
    if (installed.empty()) return problem + "; no module is installed: run voxamen register";
    problem += "; installed modules:";
    for (const std::string& name : installed) problem += " " + name;
    return problem + " (see voxamen modules)";
}

std::string InstalledVoiceKey(const std::string& key) {
    reg::Key voices;
    if (reg::Key::Open(reg::Root::LocalMachine, VoiceRoot(), voices) != reg::Status::Ok) return {};
    for (const std::string& name : voices.SubKeyNames())
        if (reg::NamesEqual(name, key)) return name;
    return {};
}

bool InstallVoice(const VoiceInstallation& v, std::string& error) {
    error = ValidateVoiceInstallation(v);
    if (!error.empty()) return false;
    const std::string name = v.name.empty() ? v.key : v.name;
    const std::string voiceKey = VoiceRoot() + "\\" + v.key;
    const std::string tokenKey = std::string(kVoiceTokensKey) + "\\" + v.key;
    reg::Status s = reg::Edit(reg::Root::LocalMachine, [&](reg::Hive& hive) {
        auto text = [&](const std::string& key, const char* valueName, const std::string& value) {
            hive.SetValue(key, reg::MakeString(valueName, value));
        };
        text(voiceKey, "CLSID", GuidToString(CLSID_Orvalink));
        text(voiceKey, "UI", GuidToString(CLSID_VoxamenUI));
        text(voiceKey, "LingProcessor", v.lexicon);
        text(voiceKey, "VoiceData", v.voiceData);
        text(voiceKey, "Age", v.age);
        text(voiceKey, "Gender", v.gender);
        text(voiceKey, "Language", v.language);
        text(voiceKey, "Sublang", v.sublang);
        text(voiceKey, "Name", name);

        text(tokenKey, "", name);
        text(tokenKey, "CLSID", GuidToString(CLSID_Orvalink));
        const std::string attributes = tokenKey + "\\Attributes";
        text(attributes, "Name", name);
        text(attributes, "Gender", v.gender);
        text(attributes, "Age", v.age);
        text(attributes, "Language", v.language);
        text(attributes, "Vendor", "Vostrelin");
        return reg::Status::Ok;
    });
    if (s == reg::Status::Ok && v.prosodyLowHz > 0)
        s = reg::Edit(reg::Root::CurrentUser, [&](reg::Hive& hive) {
            auto dword = [&](const char* valueName, uint32_t value) {
                hive.SetValue(voiceKey, reg::MakeDword(valueName, value));
            };
            dword("RhytmicsEnabled", 1);
            dword("IntonationEnabled", 1);
            dword("UseNewIntonation", 1);
            dword("UseAbsoluteIntonation", 1);
            dword("IntonationLowFreq", static_cast<uint32_t>(v.prosodyLowHz));
            dword("IntonationHighFreq", static_cast<uint32_t>(v.prosodyHighHz));
            return reg::Status::Ok;
        });
    if (s != reg::Status::Ok) error = "the registry cannot be written: " + reg::StatusText(s);
    return s == reg::Status::Ok;
}

bool RemoveVoice(const std::string& key, std::string& error) {
    if (key.empty() || key.find('\\') != std::string::npos || !reg::KeyPathProblem(key).empty()) {
        error = "invalid voice key \"" + key + "\"";
        return false;
    }
    bool found = false;
    reg::Status s = reg::Edit(reg::Root::LocalMachine, [&](reg::Hive& hive) {
        found = hive.DeleteTree(VoiceRoot() + "\\" + key);
        found = hive.DeleteTree(std::string(kVoiceTokensKey) + "\\" + key) || found;
        return reg::Status::Ok;
    });
    if (s != reg::Status::Ok) {
        error = "the registry cannot be written: " + reg::StatusText(s);
        return false;
    }
    if (!found) {
        error = "no voice \"" + key + "\" is installed";
        return false;
    }
    return true;
}

}  // namespace vox
