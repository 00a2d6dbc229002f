// voxamen voices: the installed voices as a table.
#include <sys/stat.h>
#include <ostream>

#include "engine/voice/VoiceProperties.h"
#include "platform/Registry.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"
#include "tools/voxamen/RegistryFiles.h"
#include "tools/voxamen/Table.h"

namespace vox::cli {

int RunVoices(const Invocation& inv) {
    Options opts({});
    std::string error;
    if (!opts.Parse(inv.args, error) || !opts.Positional().empty()) {
        inv.err << "voxamen voices: " << (error.empty() ? "no arguments expected" : error) << "\n";
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out << "usage: voxamen voices\n"
                << "  Lists the installed voices: key, name, language.sublanguage, voice\n"
                << "  database and whether that file exists.\n";
        return kExitOk;
    }
    if (!RegistryReadable({reg::Root::LocalMachine, reg::Root::CurrentUser}, "voices", inv.err))
        return kExitFailure;
    reg::Key root;
    std::vector<std::string> keys;
    if (reg::Key::Open(reg::Root::LocalMachine, VoiceRoot(), root) == reg::Status::Ok)
        keys = root.SubKeyNames();
    if (keys.empty()) {
        inv.out << "No voices are installed (registry: " << reg::RegistryDirectory() << ").\n";
        return kExitOk;
    }
    Table table({"KEY", "NAME", "LANGUAGE", "VOICE DATA", "FILE"});
    for (const std::string& key : keys) {
        VoiceProperties p;
        if (!p.Read(key)) continue;
        struct stat st {};
        bool exists =
            !p.voiceData.empty() && ::stat(p.voiceData.c_str(), &st) == 0 && S_ISREG(st.st_mode);
        table.Add({key, p.name, p.sublang.empty() ? p.language : p.language + "." + p.sublang,
                   p.voiceData, exists ? "present" : "MISSING"});
    }
    table.Print(inv.out);
    return kExitOk;
}

}  // namespace vox::cli
