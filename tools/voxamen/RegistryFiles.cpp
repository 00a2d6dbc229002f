#include "tools/voxamen/RegistryFiles.h"

#include <ostream>

namespace vox::cli {

bool RegistryReadable(std::initializer_list<reg::Root> roots, std::string_view command,
                      std::ostream& err) {
    for (reg::Root root : roots) {
        std::string problem;
        if (reg::CheckHiveFile(root, problem) != reg::Status::Ok) {
            err << "voxamen " << command << ": " << problem << "\n"
                << "  the registry cannot be read; repair or remove that file\n";
            return false;
        }
    }
    return true;
}

}  // namespace vox::cli
