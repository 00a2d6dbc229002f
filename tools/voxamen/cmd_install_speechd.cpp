// voxamen install-speechd: makes the voices reachable from speech-dispatcher
// (and so from Orca): puts the output module sd_voxamen where the server's
// module detection finds it, with its configuration file voxamen.conf.
#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <system_error>

#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"

namespace vox::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kDefaultModuleDir = "/usr/lib/speech-dispatcher-modules";
constexpr const char* kDefaultConfigDir = "/etc/speech-dispatcher/modules";

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
            << "  Installs the speech-dispatcher output module sd_voxamen into DIR\n"
            << "  (default " << kDefaultModuleDir << ") and its configuration\n"
            << "  voxamen.conf into the configuration DIR (default " << kDefaultConfigDir << ").\n"
            << "  An existing voxamen.conf is kept unless --force is given.\n"
            << "  Afterwards: spd-say -o voxamen -l ru \"Привет\"\n";
        return opts.Help() ? kExitOk : kExitUsage;
    }
    fs::path module_dir = opts.Get("module-dir").value_or(kDefaultModuleDir);
    fs::path config_dir = opts.Get("config-dir").value_or(kDefaultConfigDir);
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
                << (::geteuid() != 0 ? " (run as root, or give --module-dir)" : "") << "\n";
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
