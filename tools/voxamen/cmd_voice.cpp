// voxamen voice add KEY … / voxamen voice remove KEY
#include <sys/stat.h>
#include <unistd.h>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "interfaces/IGlossor.h"
#include "platform/Guid.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"
#include "tools/voxamen/VoiceInstaller.h"

namespace vox::cli {

namespace {

constexpr const char* kAddUsage =
    "usage: voxamen voice add KEY --data FILE [--language 419] [--sublang N]\n"
    "                         [--name TEXT] [--gender Male|Female|Neutral] [--age TEXT]\n"
    "                         [--lexicon CLSID] [--prosody LOW,HIGH]\n"
    "  Installs a voice: its settings under HKLM\\SOFTWARE\\Vostrelin\\Voices\\KEY and\n"
    "  its platform voice token.\n"
    "  --data FILE      the voice database (\"abs.07\" file)\n"
    "  --language HEX   language identifier in hexadecimal (default 419, Russian)\n"
    "  --sublang N      variant: selects phonetic module LANGUAGE.N\n"
    "  --name TEXT      display name (default: KEY)\n"
    "  --gender TEXT    Male, Female or Neutral (default Male)\n"
    "  --age TEXT       default Adult\n"
    "  --lexicon CLSID  class id of the lexical component (default: this system's\n"
    "                   Glossor, " "{6E0C3B52-8F4D-4A27-9C1E-2B7D5A9E4F13})\n"
    "  --prosody LOW,HIGH  switch on the voice's rhythmics and intonation (its\n"
    "                   Rhytmics.cfg and IntonationNew.cfg) in the user's settings,\n"
    "                   with the intonation range in Hz the voice was built for\n";

constexpr const char* kRemoveUsage =
    "usage: voxamen voice remove KEY\n"
    "  Removes the voice's machine settings and its platform voice token.\n";

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) return path;
    return std::string(cwd) + "/" + path;
}

int Add(const Invocation& inv, const std::vector<std::string>& args) {
    Options opts({"data", "language", "sublang", "name", "gender", "age", "lexicon", "prosody"});
    std::string error;
    if (!opts.Parse(args, error)) {
        inv.err << "voxamen voice add: " << error << "\n" << kAddUsage;
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out << kAddUsage;
        return kExitOk;
    }
    if (opts.Positional().size() != 1 || !opts.Get("data")) {
        inv.err << "voxamen voice add: a KEY and --data FILE are required\n" << kAddUsage;
        return kExitUsage;
    }
    VoiceInstallation v;
    v.key = opts.Positional()[0];
    v.voiceData = AbsolutePath(*opts.Get("data"));
    v.language = opts.Get("language").value_or("419");
    v.sublang = opts.Get("sublang").value_or("");
    v.name = opts.Get("name").value_or("");
    v.gender = opts.Get("gender").value_or("Male");
    v.age = opts.Get("age").value_or("Adult");
    v.lexicon = opts.Get("lexicon").value_or(GuidToString(CLSID_Glossor));
    if (std::optional<std::string> range = opts.Get("prosody")) {
        char comma = 0;
        if (std::sscanf(range->c_str(), "%d%c%d", &v.prosodyLowHz, &comma, &v.prosodyHighHz) != 3 ||
            comma != ',') {
            inv.err << "voxamen voice add: --prosody wants LOW,HIGH in Hz, e.g. 70,260\n";
            return kExitUsage;
        }
    }
    if (std::string problem = ValidateVoiceInstallation(v); !problem.empty()) {
        inv.err << "voxamen voice add: " << problem << "\n";
        return kExitUsage;
    }
    if (std::string problem = ModuleProblem(v); !problem.empty()) {
        inv.err << "voxamen voice add: " << problem << "\n";
        return kExitUsage;
    }
    if (std::string installed = InstalledVoiceKey(v.key); !installed.empty() && installed != v.key)
        inv.err << "voxamen voice add: note: this replaces the installed voice \"" << installed
                << "\": voice keys differ only in case, so \"" << v.key << "\" and \"" << installed
                << "\" are the same voice (its key keeps the spelling \"" << installed << "\")\n";
    struct stat st {};
    if (::stat(v.voiceData.c_str(), &st) != 0)
        inv.err << "voxamen voice add: warning: " << v.voiceData << " does not exist yet\n";
    if (!InstallVoice(v, error)) {
        inv.err << "voxamen voice add: " << error << "\n";
        return kExitFailure;
    }
    inv.out << "installed voice " << v.key << " (" << v.voiceData << ")\n";
    return kExitOk;
}

int Remove(const Invocation& inv, const std::vector<std::string>& args) {
    Options opts({});
    std::string error;
    if (!opts.Parse(args, error)) {
        inv.err << "voxamen voice remove: " << error << "\n" << kRemoveUsage;
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out << kRemoveUsage;
        return kExitOk;
    }
    if (opts.Positional().size() != 1) {
        inv.err << "voxamen voice remove: exactly one KEY is required\n" << kRemoveUsage;
        return kExitUsage;
    }
    if (!RemoveVoice(opts.Positional()[0], error)) {
        inv.err << "voxamen voice remove: " << error << "\n";
        return kExitFailure;
    }
    inv.out << "removed voice " << opts.Positional()[0] << "\n";
    return kExitOk;
}

}  // namespace

int RunVoiceBuild(const Invocation& inv, const std::vector<std::string>& args);
int RunVoiceReport(const Invocation& inv, const std::vector<std::string>& args);

int RunVoice(const Invocation& inv) {
    const auto& a = inv.args;
    std::vector<std::string> rest(a.size() > 1 ? a.begin() + 1 : a.end(), a.end());
    if (!a.empty() && a[0] == "add") return Add(inv, rest);
    if (!a.empty() && a[0] == "remove") return Remove(inv, rest);
    if (!a.empty() && a[0] == "build") return RunVoiceBuild(inv, rest);
    if (!a.empty() && a[0] == "report") return RunVoiceReport(inv, rest);
    bool help = !a.empty() && (a[0] == "--help" || a[0] == "-h");
    (help ? inv.out : inv.err)
        << "usage: voxamen voice add|remove|build|report ...\n\n"
        << kAddUsage << "\n"
        << kRemoveUsage
        << "\n'voxamen voice build --help' and 'voxamen voice report --help' "
           "describe the voice builder.\n";
    return help ? kExitOk : kExitUsage;
}

}  // namespace vox::cli
