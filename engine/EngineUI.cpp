#include "engine/EngineUI.h"

#include <cstring>
#include <string>
#include <vector>

#include "engine/voice/VoiceProperties.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/Registry.h"

namespace vox {

bool IsUISupported(const char* voiceKey, const char* typeOfUI) {
    if (typeOfUI == nullptr) return false;
    if (std::strcmp(typeOfUI, kEnginePropertiesUI) == 0) return true;
    if (std::strcmp(typeOfUI, kAccentorVocabularyUI) == 0 && voiceKey != nullptr) {
        VoiceProperties props;
        return props.Read(voiceKey) && props.language == "419";
    }
    return false;
}

void DisplayUI(const char* voiceKey, const char* typeOfUI) {
    if (!IsUISupported(voiceKey, typeOfUI)) return;
    reg::Key key;
    if (reg::Key::Open(reg::Root::LocalMachine, kProgramPathsKey, key) != reg::Status::Ok) return;
    const bool settings = std::strcmp(typeOfUI, kEnginePropertiesUI) == 0;
    std::string program;
    if (key.QueryText(settings ? "Settings" : "Accentor", program) != reg::Status::Ok ||
        program.empty())
        return;
    std::vector<std::string> args = {"."};
    if (settings) args.emplace_back(voiceKey != nullptr ? voiceKey : "");
    std::string error;
    if (!StartProgram(program, args, &error)) MessageBox("Vostrelin TTS Engine 3.0", error);
}

}  // namespace vox
