// voxamen modules: the phonetic modules installed under
// HKLM\SOFTWARE\Vostrelin\Phonetic, with their class's "Properties", version
// and server library.
#include <sys/stat.h>
#include <ostream>

#include "phonetic/ModuleFacts.h"
#include "platform/ComBinding.h"
#include "platform/Guid.h"
#include "platform/Registry.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"
#include "tools/voxamen/RegistryFiles.h"
#include "tools/voxamen/Table.h"

namespace vox::cli {

namespace {

std::string Text(const reg::Key& key, const std::string& name) {
    std::string text;
    return key.IsOpen() && key.QueryText(name, text, 1024) == reg::Status::Ok ? text
                                                                              : std::string();
}

bool IsFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// One row: key, the class's "Properties", version, CLSID, library, file state.
std::vector<std::string> ModuleRow(const std::string& languageKey, const reg::Key& key) {
    const std::string clsidText = Text(key, "CLSID");
    std::optional<GUID> clsid = GuidFromString(clsidText);
    if (!clsid)
        return {languageKey,     "-", "-", "-", clsidText.empty() ? "(none)" : clsidText, "-",
                "NOT REGISTERED"};
    reg::Key properties;
    reg::Key::Open(reg::Root::ClassesRoot, "CLSID\\" + GuidToString(*clsid) + "\\Properties",
                   properties);
    const ModuleFacts* facts = FindModuleByClsid(*clsid);
    const std::string library = RegisteredServerPath(*clsid);
    return {languageKey,
            Text(properties, "Name"),
            Text(properties, "Lang"),
            facts != nullptr
                ? std::string(kModuleVersion) + " (" + std::string(facts->productName) + ")"
                : "?",
            GuidToString(*clsid),
            library.empty() ? "-" : library,
            library.empty()   ? "NO CLASS"
            : IsFile(library) ? "present"
                              : "MISSING"};
}

}  // namespace

int RunModules(const Invocation& inv) {
    Options opts({});
    std::string error;
    if (!opts.Parse(inv.args, error) || !opts.Positional().empty()) {
        inv.err << "voxamen modules: " << (error.empty() ? "no arguments expected" : error) << "\n";
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out
            << "usage: voxamen modules\n"
            << "  Lists the phonetic modules under HKLM\\" << kPhoneticModulesKey << ": key, the\n"
            << "  class's Name and Lang, version, CLSID, server library and whether it exists.\n";
        return kExitOk;
    }
    if (!RegistryReadable({reg::Root::LocalMachine}, "modules", inv.err)) return kExitFailure;
    reg::Key root;
    std::vector<std::string> keys;
    if (reg::Key::Open(reg::Root::LocalMachine, kPhoneticModulesKey, root) == reg::Status::Ok)
        keys = root.SubKeyNames();
    if (keys.empty()) {
        inv.out << "No phonetic modules are installed (registry: " << reg::RegistryDirectory()
                << "); run voxamen register build/lib/*.so\n";
        return kExitOk;
    }
    Table table({"MODULE", "NAME", "LANG", "VERSION", "CLSID", "LIBRARY", "FILE"});
    for (const std::string& name : keys) {
        reg::Key key;
        reg::Key::Open(reg::Root::LocalMachine, std::string(kPhoneticModulesKey) + "\\" + name,
                       key);
        table.Add(ModuleRow(name, key));
    }
    table.Print(inv.out);
    return kExitOk;
}

}  // namespace vox::cli
