#include <ostream>

#include "tools/voxamen/Command.h"

namespace vox::cli {

int RunRegister(const Invocation&);
int RunUnregister(const Invocation&);
int RunVoices(const Invocation&);
int RunVoice(const Invocation&);
int RunModules(const Invocation&);
int RunAnalyse(const Invocation&);
int RunTranscribe(const Invocation&);
int RunDb(const Invocation&);
int RunSpeakPhonemes(const Invocation&);
int RunDesktop(const Invocation&);
int RunLexicon(const Invocation&);
int RunSay(const Invocation&);
int RunInstallSpeechd(const Invocation&);

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"say", "speak text (plain, SSML or SAPI XML) to the sound device, a WAV file or stdout",
         RunSay},
        {"register", "register server libraries (calls DllRegisterServer)", RunRegister},
        {"unregister", "unregister server libraries (calls DllUnregisterServer)", RunUnregister},
        {"voices", "list the installed voices", RunVoices},
        {"voice", "install (add), remove, build or report on a voice", RunVoice},
        {"modules", "list the installed phonetic modules", RunModules},
        {"analyse", "analyse a phoneme phrase with a phonetic module", RunAnalyse},
        {"transcribe", "turn Russian text into phonemes (and a module's allophones)",
         RunTranscribe},
        {"db", "inspect, check, extract and build voice databases", RunDb},
        {"speak-phonemes", "speak a phoneme phrase with the engine into a WAV file",
         RunSpeakPhonemes},
        {"desktop", "install the settings program and the stress editor", RunDesktop},
        {"lexicon", "analyse text, build the stress dictionary, look up the stress of words",
         RunLexicon},
        {"install-speechd", "install the speech-dispatcher output module (for Orca)",
         RunInstallSpeechd},
    };
    return commands;
}

namespace {

void PrintOverview(std::ostream& out) {
    out << "usage: voxamen COMMAND [ARGS...]\n\n"
        << "Russian text-to-speech engine: tools for voices, modules and synthesis.\n\n"
        << "Commands:\n";
    for (const Command& c : Commands()) {
        std::string name = c.name;
        out << "  " << name << std::string(name.size() < 16 ? 16 - name.size() : 1, ' ')
            << c.synopsis << "\n";
    }
    out << "\n'voxamen COMMAND --help' describes a command.\n"
        << "The registry lives in $VOXAMEN_REGISTRY_DIR (default ~/.config/voxamen).\n";
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintOverview(err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintOverview(out);
        return kExitOk;
    }
    for (const Command& c : Commands()) {
        if (args[0] == c.name) {
            Invocation inv{std::vector<std::string>(args.begin() + 1, args.end()), out, err};
            return c.run(inv);
        }
    }
    err << "voxamen: unknown command \"" << args[0] << "\"\n";
    PrintOverview(err);
    return kExitUsage;
}

}  // namespace vox::cli
