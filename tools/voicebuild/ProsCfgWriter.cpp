#include "tools/voicebuild/ProsCfgWriter.h"

namespace vox::voicebuild {

std::string ProsCfgText(const std::vector<ProsEntry>& entries) {
    std::string text = std::string(kProsCfgHeader) + "\r\n";
    for (const ProsEntry& e : entries) {
        text += e.name + " " + std::to_string(e.f0) + " " + std::to_string(e.peak) + " " +
                std::to_string(e.length) + "\r\n";
    }
    return text;
}

}  // namespace vox::voicebuild
