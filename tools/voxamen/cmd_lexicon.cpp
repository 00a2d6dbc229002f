// voxamen lexicon SUBCOMMAND …: the lexical component's tools.
#include <ostream>

#include "tools/voxamen/Command.h"

namespace vox::cli {

int RunLexiconBuild(const Invocation& inv, const std::vector<std::string>& args);
int RunLexiconLookup(const Invocation& inv, const std::vector<std::string>& args);
int RunLexiconAnalyse(const Invocation& inv, const std::vector<std::string>& args);

namespace {

struct Subcommand {
    const char* name;
    const char* synopsis;
    int (*run)(const Invocation&, const std::vector<std::string>&);
};

// One line per subcommand; each describes itself with --help.
const Subcommand kSubcommands[] = {
    {"analyse", "split text into syntagmas of stressed words (and their transcriptions)",
     RunLexiconAnalyse},
    {"build", "compile the stress dictionary and its model from festvox-ru's lexicon",
     RunLexiconBuild},
    {"lookup", "show the stress of words and where it comes from", RunLexiconLookup},
};

}  // namespace

int RunLexicon(const Invocation& inv) {
    const auto& a = inv.args;
    if (!a.empty())
        for (const Subcommand& s : kSubcommands)
            if (a[0] == s.name) return s.run(inv, std::vector<std::string>(a.begin() + 1, a.end()));
    const bool help = !a.empty() && (a[0] == "--help" || a[0] == "-h");
    std::ostream& out = help ? inv.out : inv.err;
    if (!a.empty() && !help) out << "voxamen lexicon: unknown subcommand \"" << a[0] << "\"\n";
    out << "usage: voxamen lexicon SUBCOMMAND [ARGS...]\n\n";
    for (const Subcommand& s : kSubcommands) {
        std::string name = s.name;
        out << "  " << name << std::string(name.size() < 10 ? 10 - name.size() : 1, ' ')
            << s.synopsis << "\n";
    }
    out << "\n'voxamen lexicon SUBCOMMAND --help' describes a subcommand.\n";
    return help ? kExitOk : kExitUsage;
}

}  // namespace vox::cli
