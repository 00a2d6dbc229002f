// sd_voxamen: the speech-dispatcher output module of the Voxamen voices.
// Started by the server as `sd_voxamen CONFIGFILE`; speaks the module
// protocol on standard input and output, logs on standard error.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "tools/sd_voxamen/ModuleConfig.h"
#include "tools/sd_voxamen/ModuleSession.h"
#include "tools/sd_voxamen/VoxamenSynthesizer.h"

int main(int argc, char** argv) {
    // A server that goes away closes the pipe: writes fail, the module ends.
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> warnings;
    sdvox::ModuleConfig config =
        argc > 1 ? sdvox::ReadModuleConfig(argv[1], &warnings) : sdvox::ModuleConfig{};
    for (const std::string& w : warnings) std::fprintf(stderr, "sd_voxamen: %s\n", w.c_str());
    if (!config.registry_dir.empty())
        setenv("VOXAMEN_REGISTRY_DIR", config.registry_dir.c_str(), 1);

    sdvox::VoxamenSynthesizer synthesizer(config);
    sdvox::ProtocolChannel channel(STDIN_FILENO, STDOUT_FILENO);
    sdvox::ModuleSession session(synthesizer, channel);
    return session.Run();
}
