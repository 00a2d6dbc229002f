// voxamen install-speechd: makes the voices reachable from speech-dispatcher
// (and so from Orca): puts the output module sd_voxamen where the server's
// module detection finds it, with its configuration file voxamen.conf.
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <system_error>

#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"

namespace vox::cli {

namespace {

namespace fs = std::filesystem;

// The server detects modules in its system folder and, for each user, in
// $XDG_DATA_HOME/../libexec/speech-dispatcher-modules (by default
// ~/.local/libexec/speech-dispatcher-modules); it reads module settings from
// /etc/speech-dispatcher/modules or ~/.config/speech-dispatcher/modules.
constexpr const char* kSystemModuleDir = "/usr/lib/speech-dispatcher-modules";
constexpr const char* kSystemConfigDir = "/etc/speech-dispatcher/modules";

fs::path HomeFolder(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != 0) return value;
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : ".") / fallback;
}

fs::path DefaultModuleDir() {
    if (::geteuid() == 0) return kSystemModuleDir;
    return HomeFolder("XDG_DATA_HOME", ".local/share") / ".." / "libexec" /
           "speech-dispatcher-modules";
}

fs::path DefaultConfigDir() {
    if (::geteuid() == 0) return kSystemConfigDir;
    return HomeFolder("XDG_CONFIG_HOME", ".config") / "speech-dispatcher/modules";
}

// The module is built next to this program.
fs::path ModuleNextToThisProgram() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path("sd_voxamen") : self.parent_path() / "sd_voxamen";
}

std::string ConfigText(const std::string& voice, const std::string& rate) {
    return "# Configuration of the Voxamen output module of speech-dispatcher.\n"
           "# Written by `voxamen install-speechd`; edit and restart the server\n"
           "# (`killall speech-dispatcher`, it starts again on demand).\n"
           "#\n"
           "# The voice spoken when the client names none (a key from `voxamen voices`).\n"
           "VoxamenDefaultVoice \"" +
           voice +
           "\"\n"
           "# Added to every rate the client asks for, from -100 to 100.\n"
           "VoxamenRateOffset " +
           rate +
           "\n"
           "# The registry folder holding the voices; empty for the user's own\n"
           "# (~/.config/voxamen, or $VOXAMEN_REGISTRY_DIR).\n"
           "VoxamenRegistryDir \"\"\n";
}

}  // namespace

int RunInstallSpeechd(const Invocation& inv) {
    Options opts({"module-dir", "config-dir", "voice", "rate"}, {"force"});
    std::string error;
    if (!opts.Parse(inv.args, error)) {
        inv.err << "voxamen install-speechd: " << error << "\n";
        return kExitUsage;
    }
    if (opts.Help() || !opts.Positional().empty()) {
        (opts.Help() ? inv.out : inv.err)
            << "usage: voxamen install-speechd [--module-dir DIR] [--config-dir DIR]\n"
            << "                               [--voice KEY] [--rate N] [--force]\n"
            << "  Installs the speech-dispatcher output module sd_voxamen where the\n"
            << "  server finds it, and its configuration voxamen.conf. As root: "
            << kSystemModuleDir << "\n  and " << kSystemConfigDir << "; otherwise the user's "
            << "~/.local/libexec/speech-dispatcher-modules\n  and "
            << "~/.config/speech-dispatcher/modules.\n"
            << "  An existing voxamen.conf is kept unless --force is given.\n"
            << "  Afterwards: spd-say -o voxamen -l ru \"Привет\"\n";
        return opts.Help() ? kExitOk : kExitUsage;
    }
    fs::path module_dir =
        opts.Has("module-dir") ? fs::path(*opts.Get("module-dir")) : DefaultModuleDir();
    fs::path config_dir =
        opts.Has("config-dir") ? fs::path(*opts.Get("config-dir")) : DefaultConfigDir();
    std::string rate = opts.Get("rate").value_or("0");
    int value = 0;
    auto [end, parsed] = std::from_chars(rate.data(), rate.data() + rate.size(), value);
    if (parsed != std::errc() || end != rate.data() + rate.size() || value < -100 || value > 100) {
        inv.err << "voxamen install-speechd: --rate takes a whole number from -100 to 100\n";
        return kExitUsage;
    }

    fs::path module = ModuleNextToThisProgram();
    std::error_code ec;
    if (!fs::is_regular_file(module, ec)) {
        inv.err << "voxamen install-speechd: the module " << module
                << " is not built (cmake --build build)\n";
        return kExitFailure;
    }
    fs::create_directories(module_dir, ec);
    fs::create_directories(config_dir, ec);
    // Copy to a temporary name, then rename: a running server never sees a
    // half-written module.
    fs::path target = module_dir / "sd_voxamen";
    fs::path temporary = module_dir / ".sd_voxamen.new";
    fs::copy_file(module, temporary, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary);
        inv.err << "voxamen install-speechd: cannot write " << target << ": " << ec.message()
                << "\n";
        return kExitFailure;
    }
    inv.out << "installed " << target.string() << "\n";

    fs::path config = config_dir / "voxamen.conf";
    if (fs::exists(config, ec) && !opts.Has("force")) {
        inv.out << "kept " << config.string() << "\n";
        return kExitOk;
    }
    std::ofstream out(config);
    out << ConfigText(opts.Get("voice").value_or(""), rate);
    out.close();
    if (!out) {
        inv.err << "voxamen install-speechd: cannot write " << config << "\n";
        return kExitFailure;
    }
    inv.out << "wrote " << config.string() << "\n";
    return kExitOk;
}

}  // namespace vox::cli
