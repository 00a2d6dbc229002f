// voxamen desktop: installs the two desktop programs for the engine's user
// interface: their paths under HKLM "Software\Vostrelin\TTS Engine\3.0"
// ("Settings", "Accentor"), and the user's stress vocabulary file
// ("AccentorBase" under "Software\Vostrelin\Glossor Module\419") in the
// user's data folder when none is set yet.
#include <unistd.h>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "engine/EngineUI.h"
#include "platform/Registry.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"

namespace vox::cli {

namespace {

constexpr const char* kGlossorKey = "Software\\Vostrelin\\Glossor Module\\419";

// The folder of the running program (build/bin for a build).
std::string OwnFolder() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    return std::filesystem::path(std::string(path, static_cast<size_t>(n))).parent_path().string();
}

std::string UserDataFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/')
        return std::string(data) + "/voxamen";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.local/share/voxamen";
}

}  // namespace

int RunDesktop(const Invocation& inv) {
    Options opts({"bin", "vocabulary"});
    std::string error;
    if (!opts.Parse(inv.args, error) || !opts.Positional().empty()) {
        inv.err << "voxamen desktop: " << (error.empty() ? "no arguments expected" : error) << "\n";
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out << "usage: voxamen desktop [--bin DIR] [--vocabulary FILE]\n"
                << "  Registers the settings program (DIR/setvane) and the stress editor\n"
                << "  (DIR/accentor) for the engine's user interface; DIR defaults to the\n"
                << "  folder of this program. Sets the user's stress vocabulary file to FILE,\n"
                << "  or, when none is set yet, to accentor.txt in the user's data folder.\n";
        return kExitOk;
    }
    const std::string bin =
        std::filesystem::absolute(opts.Get("bin").value_or(OwnFolder())).string();
    for (const char* program : {"setvane", "accentor"})
        if (::access((bin + "/" + program).c_str(), X_OK) != 0)
            inv.err << "voxamen desktop: warning: " << bin << "/" << program
                    << " is not there (yet)\n";
    reg::Key paths;
    reg::Status st = reg::Key::Create(reg::Root::LocalMachine, kProgramPathsKey, paths);
    if (st == reg::Status::Ok) st = paths.SetText("Settings", bin + "/setvane");
    if (st == reg::Status::Ok) st = paths.SetText("Accentor", bin + "/accentor");

    reg::Key glossor;
    if (st == reg::Status::Ok) st = reg::Key::Create(reg::Root::LocalMachine, kGlossorKey, glossor);
    std::string vocabulary;
    if (st == reg::Status::Ok) {
        if (auto given = opts.Get("vocabulary")) {
            vocabulary = std::filesystem::absolute(*given).string();
        } else if (glossor.QueryText("AccentorBase", vocabulary) != reg::Status::Ok ||
                   vocabulary.empty()) {
            vocabulary = UserDataFolder() + "/accentor.txt";
        }
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(vocabulary).parent_path(), ec);
        st = glossor.SetText("AccentorBase", vocabulary);
    }
    if (st != reg::Status::Ok) {
        inv.err << "voxamen desktop: the registry cannot be written: " << reg::StatusText(st)
                << "\n";
        return kExitFailure;
    }
    inv.out << "Settings program: " << bin << "/setvane\n"
            << "Stress editor:    " << bin << "/accentor\n"
            << "Stress vocabulary: " << vocabulary << "\n";
    return kExitOk;
}

}  // namespace vox::cli
