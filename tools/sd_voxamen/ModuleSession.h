// One conversation with the speech-dispatcher server: reads its commands,
// answers them, and hands messages to the speaking thread.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tools/sd_voxamen/ProtocolChannel.h"
#include "tools/sd_voxamen/SpeechSettings.h"
#include "tools/sd_voxamen/SpeechWorker.h"
#include "tools/sd_voxamen/Synthesizer.h"

namespace sdvox {

class ModuleSession {
  public:
    ModuleSession(Synthesizer& synthesizer, ProtocolChannel& channel);
    ~ModuleSession();

    // Serves commands until "QUIT" or the end of input; returns the exit
    // status of the module.
    int Run();

  private:
    enum class MessageKind { Text, Char, Key, SoundIcon };

    void Init();
    void Audio();
    void LogLevel();
    void ListVoices(const std::string& line);
    void Set();
    void Speak(MessageKind kind);
    void Debug(const std::string& line);
    // Reads a "name=value" block; answers 203/207 first, then the error of
    // the block if any. Returns whether every line was accepted.
    template <typename Apply>
    bool ReadParameters(const char* acknowledgement, Apply apply);

    Synthesizer& synthesizer_;
    ProtocolChannel& channel_;
    SpeechWorker worker_;
    SpeechSettings settings_;
    int log_level_ = 0;
    std::FILE* debug_file_ = nullptr;
    bool ended_ = false;
};

}  // namespace sdvox
