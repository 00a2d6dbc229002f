// Installs and removes a voice: the machine values of the voice under
// HKLM\SOFTWARE\Vostrelin\Voices\<key> and the platform voice token under
// HKLM\SOFTWARE\Microsoft\Speech\Voices\Tokens\<key> (CLSID = Orvalink),
// through which front ends find voices.
#pragma once

#include <string>

namespace vox {

inline constexpr const char* kVoiceTokensKey = "SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens";

struct VoiceInstallation {
    std::string key;
    std::string voiceData;  // absolute path of the voice database
    std::string language = "419";
    std::string sublang;
    std::string name;  // defaults to the key
    std::string gender = "Male";
    std::string age = "Adult";
    std::string lexicon;  // CLSID text of the lexical component ("LingProcessor")
    // With a range, the voice's prosody is switched on in the user's settings:
    // rhythmics, and the new intonation model applied absolutely over
    // [lowHz, highHz], the range its "IntonationNew.cfg" was fitted to.
    int prosodyLowHz = 0, prosodyHighHz = 0;
};

// Checks the fields; returns "" when they are usable, else what is wrong.
std::string ValidateVoiceInstallation(const VoiceInstallation& voice);

// Why no installed phonetic module (a key under
// HKLM\SOFTWARE\Vostrelin\Phonetic) serves the voice's language and
// sublanguage, naming the installed ones; empty when one does.
std::string ModuleProblem(const VoiceInstallation& voice);

// The spelling of the installed voice whose key equals `key` but for case;
// empty when none is installed.
std::string InstalledVoiceKey(const std::string& key);

// False with `error` set when the registry cannot be written.
bool InstallVoice(const VoiceInstallation& voice, std::string& error);
// False with `error` set when the voice is not installed or cannot be removed.
bool RemoveVoice(const std::string& key, std::string& error);

}  // namespace vox
